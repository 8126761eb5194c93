#include "search/CFiles.h"

#include <cerrno>
#include <limits>
#include <optional>
#include <utility>

#include "platform/Attributes.h"
#include "platform/LocalTime.h"
#include "platform/NumberFormat.h"
#include "platform/Paths.h"
#include "search/ListingLine.h"

namespace farsend {

namespace {

// Listing masks: every entry but folders and labels for a file search; plain
// and hidden folders (never system ones, so links to folders stay out) for
// the subfolders; anything for the check that a folder can be listed.
constexpr std::uint8_t kFileMask = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;  // 39
constexpr std::uint8_t kSubDirMask = attr::ReadOnly | attr::Hidden | attr::Directory;             // 19
constexpr std::uint8_t kValidMask = kFileMask | attr::Directory;                                  // 55

// A folder holds its subfolders' count in 16 bits.
constexpr std::size_t kMaxSubDirs = std::numeric_limits<std::int16_t>::max();

// The local time of an entry; the day-number origin when the platform has
// none for it.
CivilTime localStamp(std::int64_t mtime) { return localTimeOf(mtime).value_or(CivilTime{1899, 12, 30, 0, 0, 0}); }

}  // namespace

// ---- entry list ----

void CFiles::EntryList::clear() {
    blocks_.clear();
    size_ = 0;
    blocks_.emplace_back().reserve(kStep);
}

void CFiles::EntryList::push_back(FileEntry entry) {
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) blocks_.emplace_back().reserve(kStep);
    blocks_.back().push_back(std::move(entry));
    ++size_;
}

void CFiles::EntryList::cutToSize() {
    if (size_ == 0) return;  // an empty result keeps its room
    while (!blocks_.empty() && blocks_.back().empty()) blocks_.pop_back();
    blocks_.back().shrink_to_fit();
}

// ---- the object ----

// Every absolute path here starts at the one root "/", which is therefore the
// root of the volume that holds the current directory as far as a path can say.
CFiles::CFiles(IFileSystem& fs, IBusyPointer* busy) : fs_(fs), busy_(busy) {}

const CFiles::FileEntry* CFiles::entry(std::int32_t Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(Index)];
}

std::uint8_t CFiles::Attr(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? e->attributes : 0;
}

std::int32_t CFiles::Count() const { return static_cast<std::int32_t>(entries_.size()); }

std::string CFiles::DirEntry(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    if (e == nullptr || !factsRead_) return {};
    return listingLine(e->name, e->length, localStamp(e->mtime), e->attributes, userNumberSeparators());
}

std::string CFiles::File(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? e->name : std::string();
}

std::int64_t CFiles::length(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? e->length : 0;
}

std::string CFiles::Path(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? folders_[e->folder] : std::string();
}

std::string CFiles::PathFile(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? folders_[e->folder] + e->name : std::string();
}

double CFiles::Stamp(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    if (e == nullptr || !factsRead_) return 0;
    const auto local = localTimeOf(e->mtime);
    return local ? dayNumber(*local) : 0;
}

bool CFiles::Recurse() const { return recurse_; }
void CFiles::setRecurse(bool NewVal) { recurse_ = NewVal; }

std::uint8_t CFiles::SearchAttr() const { return searchAttr_; }
void CFiles::setSearchAttr(std::uint8_t NewVal) { searchAttr_ = NewVal; }

std::string CFiles::searchdir() const { return searchdir_; }
void CFiles::setSearchdir(const std::string& NewVal) { searchdir_ = withTrailingSep(NewVal); }

std::string CFiles::SearchSpec() const { return searchSpec_; }
void CFiles::setSearchSpec(const std::string& NewVal) {
    const auto first = NewVal.find_first_not_of(' ');
    std::string pattern =
        first == std::string::npos ? std::string() : NewVal.substr(first, NewVal.find_last_not_of(' ') - first + 1);
    for (char& c : pattern)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    searchSpec_ = std::move(pattern);
}

std::int16_t CFiles::SearchType() const { return searchType_; }
void CFiles::setSearchType(std::int16_t NewVal) {
    if (NewVal == 0 || NewVal == 1) searchType_ = NewVal;
}

// ---- the walk ----

void CFiles::fail(Error error) { throw SearchError{std::move(error)}; }

void CFiles::refresh() {
    entries_.clear();
    folders_.clear();
    walked_.clear();
    unread_.clear();
    factsRead_ = !(namesOnly_ && searchType_ == 0 && searchAttr_ == 0 && hasWildcards(searchSpec_));
    // The names-only walk reads the search folder once, and that reading is
    // also the check that the folder can be listed.
    std::optional<Listing> top;
    if (!factsRead_) top = fs_.listKinds(searchdir_);
    if (top ? !top->ok() : !IsValidDir(searchdir_)) return;
    if (busy_ != nullptr) busy_->setBusy(true);
    // A failure thrown below leaves the entries found so far, and the busy
    // pointer, for the caller to deal with.
    if (searchType_ == 0)
        FindFiles(searchdir_, top ? &*top : nullptr);
    else
        FindDirs(searchdir_);
    entries_.cutToSize();
    if (busy_ != nullptr) busy_->setBusy(false);
}

bool CFiles::IsValidDir(const std::string& folder) {
    return fs_.list(withTrailingSep(folder) + "*.*", kValidMask).ok();
}

std::uint32_t CFiles::addFolder(const std::string& folder) {
    folders_.push_back(folder);
    return static_cast<std::uint32_t>(folders_.size() - 1);
}

// Appends a file found in folder, which is kept once, at its first file.
void CFiles::addFile(const std::string& folder, bool& folderKept, FileEntry entry) {
    if (!folderKept) {
        addFolder(folder);
        folderKept = true;
    }
    if (entries_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        fail(Error::fromErrno(EOVERFLOW));
    entry.folder = static_cast<std::uint32_t>(folders_.size() - 1);
    entries_.push_back(std::move(entry));
}

// A file search goes on past what it cannot read, so that one unreadable
// folder does not hide the rest of the tree, and keeps the folder's name for
// the caller to tell; a folder search stops there. An entry that is gone
// since the listing was never there to be read.
void CFiles::passOver(const std::string& folder, const Error& error, bool entryOnly) {
    if (searchType_ != 0) fail(error);
    if (entryOnly && (error.number == ENOENT || error.number == ENOTDIR)) return;
    if (unread_.empty() || unread_.back() != folder) unread_.push_back(folder);
}

// listed: the folder's listing, where the names-only walk has read it.
void CFiles::FindFiles(std::string folder, Listing* listed) {
    folder = withTrailingSep(std::move(folder));
    walked_.push_back(folder);
    const std::vector<SubDir> subDirs =
        factsRead_ ? filesOf(folder) : namesOf(folder, listed != nullptr ? std::move(*listed) : fs_.listKinds(folder));
    if (recurse_)
        for (const SubDir& sub : subDirs) FindFiles(folder + sub.name);
}

// The matching files of one folder, then (when recursing) its subfolders;
// the listings are let go before the walk goes deeper.
std::vector<CFiles::SubDir> CFiles::filesOf(const std::string& folder) {
    auto listing = fs_.list(folder + searchSpec_, kFileMask);
    if (!listing) {
        passOver(folder, listing.error(), false);
        return {};
    }
    const std::vector<std::string>& names = *listing;

    // The facts of each name come from one stat; GetSubDirs reuses what it
    // told about names that are not folders instead of asking again.
    std::vector<KnownFile> known;
    known.reserve(names.size());
    bool folderKept = false;
    std::string fullPath;
    for (const std::string& name : names) {
        fullPath.assign(folder).append(name);
        auto info = fs_.stat(fullPath);
        if (!info) {
            passOver(folder, info.error(), true);
            continue;
        }
        const std::uint8_t attributes = info->attributes;
        if ((attributes & attr::Directory) == 0) known.push_back({&name, attributes});
        if ((searchAttr_ & attributes) != searchAttr_) continue;
        addFile(folder, folderKept, FileEntry{name, info->length, info->mtimeSec, 0, attributes});
    }
    if (!recurse_) return {};
    return GetSubDirs(folder, known);
}

// The names-only reading of one folder: the same files and subfolders that
// the two listings of filesOf and GetSubDirs give, from their kinds alone.
std::vector<CFiles::SubDir> CFiles::namesOf(const std::string& folder, Listing listing) {
    if (!listing) {
        passOver(folder, listing.error(), false);
        return {};
    }
    std::vector<SubDir> subDirs;
    bool folderKept = false;
    for (IFileSystem::KindedName& e : listing.value()) {
        switch (e.kind) {
            case EntryKind::Directory:
                if (!recurse_ || e.name[0] == '.') break;
                if (subDirs.size() >= kMaxSubDirs) fail(Error::fromErrno(EOVERFLOW));
                subDirs.push_back(SubDir{std::move(e.name), 0, 0});
                break;
            case EntryKind::DirectoryLink:  // never entered, and no file either
                break;
            default:
                if (wildcardMatch(searchSpec_, e.name)) addFile(folder, folderKept, FileEntry{std::move(e.name)});
                break;
        }
    }
    return subDirs;
}

std::vector<CFiles::SubDir> CFiles::GetSubDirs(const std::string& folder, const std::vector<KnownFile>& known) {
    std::vector<SubDir> subDirs;
    auto listing = fs_.list(folder + "*.*", kSubDirMask);
    if (!listing) {
        passOver(folder, listing.error(), false);
        return subDirs;
    }

    // Both listings come in the file system's order, so the names already
    // known are met in the same order: walk them alongside. Entries of the
    // file listing that this one leaves out (system files) are passed over;
    // a name met out of step is simply asked about again.
    std::size_t k = 0;
    std::string fullPath;
    for (const std::string& name : *listing) {
        while (k < known.size() && (known[k].attributes & attr::System) != 0 && *known[k].name != name) ++k;
        const bool isKnownFile = k < known.size() && *known[k].name == name;
        if (isKnownFile) ++k;
        if (name.empty() || name[0] == '.') continue;
        if (isKnownFile) continue;
        fullPath.assign(folder).append(name);
        auto info = fs_.stat(fullPath);
        if (!info) {
            passOver(folder, info.error(), true);
            continue;
        }
        if ((info->attributes & attr::Directory) == 0) continue;
        if (subDirs.size() >= kMaxSubDirs) fail(Error::fromErrno(EOVERFLOW));
        subDirs.push_back(SubDir{name, info->mtimeSec, info->attributes});
    }
    return subDirs;
}

void CFiles::FindDirs(std::string folder) {
    folder = withTrailingSep(std::move(folder));
    const std::vector<SubDir> subDirs = GetSubDirs(folder, {});
    if (subDirs.empty()) return;
    const std::uint32_t folderIndex = addFolder(folder);
    for (const SubDir& sub : subDirs) {
        if (entries_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            fail(Error::fromErrno(EOVERFLOW));
        entries_.push_back(FileEntry{sub.name, 0, sub.mtime, folderIndex, sub.attributes});
    }
    if (!recurse_) return;
    for (const SubDir& sub : subDirs) FindDirs(folder + sub.name);
}

}  // namespace farsend
