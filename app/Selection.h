#pragma once
// The selection list: the items a file manager handed over, turned into the
// entries the window shows and the transfer walks, and the three-line text
// of the selection display.

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace farsend {

inline constexpr int kSelectionCapacity = 21;
using SelectionArray = std::array<std::string, kSelectionCapacity>;

// Attribute mask of every directory search of the selection: folders,
// hidden and system items are found as well as plain files.
inline constexpr std::uint8_t kSelectionSearchMask =
    attr::ReadOnly | attr::Hidden | attr::System | attr::Directory | attr::Archive;

enum class ParseFailureKind {
    NotFound,    // a piece names nothing that exists (the empty piece included)
    OutOfRange,  // more pieces than the list holds
    Other,       // any other failure of the file system
};

struct ParseFailure {
    ParseFailureKind kind = ParseFailureKind::Other;
    Error error;
};

// How a failed ParseCommand reaches the start-up sequence.
class ParseCommandError : public std::exception {
public:
    explicit ParseCommandError(ParseFailure failure) : failure_(std::move(failure)) {}
    const ParseFailure& failure() const { return failure_; }
    const char* what() const noexcept override { return "command line rejected"; }

private:
    ParseFailure failure_;
};

// Returns whether a failed attribute read means "nothing there".
bool isNotFound(const Error& error);

// Returns the name a directory search for path finds (itself, as the file
// system stores it), or empty text when the search finds nothing. A name
// holding "*" or "?" is its own answer: as a search pattern it could find a
// different item.
Result<std::string> searchedName(IFileSystem& fs, const std::string& path);

// Returns the entry that the piece becomes: its folder part followed by the
// searched name, or the piece unchanged when its attribute value is 0.
// Fails as the attribute read or the search fails.
Result<std::string> entryOf(IFileSystem& fs, const std::string& piece);

// Stores the pieces into files from index fileCount on, in order, and
// advances fileCount; with no pieces at all the command line counts as one
// empty piece. A piece's attributes are read before the capacity is looked
// at. Stops at the first failure, keeping what was stored before it.
std::optional<ParseFailure> parseCommand(IFileSystem& fs, const std::vector<std::string>& pieces, SelectionArray& files,
                                         std::int16_t& fileCount);

// The mode word of the display: the last four characters of the Copy/Move
// caption (all of it when shorter).
std::string modeWord(const std::string& caption);

// Line 2 of the display for entry: "/", its searched name, and "/" again
// for a folder. An entry that can no longer be read shows its last path
// component without the folder mark.
std::string displayName(IFileSystem& fs, const std::string& entry);

// The three lines of the selection display, joined by CR LF.
std::string selectionDisplay(IFileSystem& fs, const std::string& modeCaption, const std::string& entry);

}  // namespace farsend
