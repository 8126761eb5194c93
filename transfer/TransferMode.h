#pragma once
// The transfer mode lives in one place, the caption of the Copy/Move button:
// "&Copy" exactly means Copy, any other text Move.

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace farsend {

enum class TransferMode { Copy, Move };

inline constexpr const char* kCopyCaption = "&Copy";
inline constexpr const char* kMoveCaption = "&Move";

// Returns the mode a caption stands for.
TransferMode modeOfCaption(const std::string& caption);

// Returns the caption a right press switches to: "&Move" from "&Copy",
// "&Copy" from anything else.
std::string switchedCaption(const std::string& caption);

// Returns "Copying" or "Moving".
std::string actionWord(TransferMode mode);

// The selection display as a mouse press on the button pair rewrites it.
struct SelectionDisplay {
    std::string text;
    bool threeLine = false;  // the scroll buttons are hidden with this form
};

// Builds the display for entry when fileCount entries are selected: with
// one entry the three-line form of the selection display, else one line,
// the mode word, a blank and the entry's full path.
SelectionDisplay pressDisplay(const std::string& caption, int fileCount, const std::string& entry, IFileSystem& fs);

}  // namespace farsend
