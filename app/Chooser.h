#pragma once
// Rules of the destination chooser that need no window: the word check run
// on every folder the list moves to, which failures make a drive unreadable,
// the folder texts the list and the new-folder dialog work with.

#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/Result.h"

namespace farsend {

// The patterns of the folder word check, in the order they are tried.
const std::vector<std::string>& checkedWordPatterns();

// Returns the patterns that path matches, in checking order (each matching
// pattern once; the comparison is case-sensitive).
std::vector<std::string> matchedWordPatterns(const std::string& path);

// The three kinds of drive failure that end the program.
enum class DriveFailure {
    None = 0,
    DeviceUnavailable = 68,
    DiskNotReady = 71,
    AccessError = 75,
};

// Returns which kind of drive failure error is, or None for any other.
DriveFailure driveFailureOf(const Error& error);

// Returns path as the folder list keeps it: absolute (a relative path is
// taken from base), without empty or "." components, with ".." applied to
// the text, and without a trailing separator except for the root "/".
std::string normalizedFolder(const std::string& path, const std::string& base);

// Returns the folders from root down to path, both included; just root when
// path is not below it.
std::vector<std::string> folderChain(const std::string& root, const std::string& path);

// The parent-folder text of the new-folder dialog: path with a separator
// appended unless it already ends in one.
std::string upperPathOf(const std::string& folderPath);

// Returns whether name may be tried as a new folder's name inside the
// parent folder. A name never reaches outside the parent: it holds no
// separator and is neither "." nor "..". Anything else is left to the file
// system to accept or refuse.
bool newFolderNameAllowed(const std::string& name);

// What the user is told when the name is left empty.
inline constexpr const char* kFolderNameEmpty = "The new folder needs a name: type at least one character.";

// What the user is told when a name is not allowed.
inline constexpr const char* kFolderNameRefusal =
    "A new folder's name cannot contain \"/\", and cannot be \".\" or \"..\".";

// OK in the Create New Directory dialog: makes the folder name inside
// upperPath (taken as typed) and moves the destination into it through
// enter. An empty name, a name that is not allowed or a folder that cannot
// be made is told the user and returns false: the dialog stays open. A
// folder made but not entered is told too, and the dialog closes.
bool makeNewFolder(IFileSystem& fs, IPrompts& prompts, const std::string& upperPath, const std::string& name,
                   const std::function<Status(const std::string& folder)>& enter);

}  // namespace farsend
