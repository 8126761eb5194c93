#include "transfer/TransferMode.h"

#include "app/Selection.h"

namespace farsend {

TransferMode modeOfCaption(const std::string& caption) {
    return caption == kCopyCaption ? TransferMode::Copy : TransferMode::Move;
}

std::string switchedCaption(const std::string& caption) {
    return caption == kCopyCaption ? kMoveCaption : kCopyCaption;
}

std::string actionWord(TransferMode mode) { return mode == TransferMode::Copy ? "Copying" : "Moving"; }

SelectionDisplay pressDisplay(const std::string& caption, int fileCount, const std::string& entry, IFileSystem& fs) {
    if (fileCount == 1) return {selectionDisplay(fs, caption, entry), true};
    return {modeWord(caption) + " " + entry, false};
}

}  // namespace farsend
