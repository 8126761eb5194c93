#include "app/Selection.h"

#include <cerrno>

#include "platform/Paths.h"

namespace farsend {

bool isNotFound(const Error& error) { return error.number == ENOENT || error.number == ENOTDIR; }

Result<std::string> searchedName(IFileSystem& fs, const std::string& path) {
    const std::string name = GetFileName(path);
    if (hasWildcards(name)) return name;
    auto found = fs.list(path, kSelectionSearchMask);
    if (!found) return found.error();
    return found->empty() ? std::string() : found->front();
}

namespace {

// "." and ".." name a folder by its relation to another one, and their own
// folder part would name a different item; "/" has no name at all (taken
// as a folder it would send the whole file system). Such a piece selects
// nothing.
bool hasNoNameOfItsOwn(const std::string& piece) {
    const std::string name = GetFileName(piece);
    return name.empty() || name == "." || name == "..";
}

Result<std::string> entryFromAttributes(IFileSystem& fs, const std::string& piece, std::uint8_t attributes) {
    if (attributes == 0) return piece;
    auto name = searchedName(fs, piece);
    if (!name) return name.error();
    return GetDirPath(piece) + *name;
}

// Reads the piece's facts and gives the piece as the entry rule sees it.
Result<FileInfo> readPiece(IFileSystem& fs, std::string& piece) {
    auto info = fs.stat(piece);
    if (!info) return info.error();
    // A folder given with a trailing separator ("Pictures/") would otherwise
    // become an entry with an empty name.
    if ((info->attributes & attr::Directory) != 0) piece = withoutTrailingSep(piece);
    if (hasNoNameOfItsOwn(piece)) return Error::fromErrno(ENOENT);
    return info;
}

ParseFailure failureOf(const Error& error) {
    return {isNotFound(error) ? ParseFailureKind::NotFound : ParseFailureKind::Other, error};
}

}  // namespace

Result<std::string> entryOf(IFileSystem& fs, const std::string& piece) {
    std::string p = piece;
    auto info = readPiece(fs, p);
    if (!info) return info.error();
    return entryFromAttributes(fs, p, info->attributes);
}

std::optional<ParseFailure> parseCommand(IFileSystem& fs, const std::vector<std::string>& pieces, SelectionArray& files,
                                         std::int16_t& fileCount) {
    // Started without arguments, the command line is one empty piece.
    static const std::vector<std::string> emptyLine{std::string()};
    for (const std::string& original : pieces.empty() ? emptyLine : pieces) {
        std::string piece = original;
        auto info = readPiece(fs, piece);
        if (!info) return failureOf(info.error());
        if (fileCount < 0 || fileCount >= kSelectionCapacity)
            return ParseFailure{ParseFailureKind::OutOfRange, Error::fromErrno(ERANGE)};
        auto entry = entryFromAttributes(fs, piece, info->attributes);
        if (!entry) return failureOf(entry.error());
        files[static_cast<std::size_t>(fileCount)] = std::move(entry).value();
        ++fileCount;
    }
    return std::nullopt;
}

std::string modeWord(const std::string& caption) {
    return caption.size() <= 4 ? caption : caption.substr(caption.size() - 4);
}

std::string displayName(IFileSystem& fs, const std::string& entry) {
    auto info = fs.stat(entry);
    auto name = info ? searchedName(fs, entry) : Result<std::string>(info.error());
    std::string line(1, kSep);
    if (!info || !name) return line += GetFileName(withoutTrailingSep(entry));
    line += *name;
    if ((info->attributes & attr::Directory) != 0) line += kSep;
    return line;
}

std::string selectionDisplay(IFileSystem& fs, const std::string& modeCaption, const std::string& entry) {
    return modeWord(modeCaption) + "\r\n" + displayName(fs, entry) + "\r\nTo:";
}

}  // namespace farsend
