#include "transfer/TransferMode.h"

#include "platform/Paths.h"

namespace farsend {

TransferMode modeOfCaption(const std::string& caption) {
    return caption == kCopyCaption ? TransferMode::Copy : TransferMode::Move;
}

std::string switchedCaption(const std::string& caption) {
    return caption == kCopyCaption ? kMoveCaption : kCopyCaption;
}

std::string modeWord(const std::string& caption) {
    return caption.size() <= 4 ? caption : caption.substr(caption.size() - 4);
}

std::string actionWord(const std::string& caption) { return actionWord(modeOfCaption(caption)); }

std::string actionWord(TransferMode mode) { return mode == TransferMode::Copy ? "Copying" : "Moving"; }

SelectionDisplay selectionDisplay(const std::string& caption, int fileCount, const std::string& entry,
                                  IFileSystem& fs) {
    const std::string word = modeWord(caption);
    if (fileCount != 1) return {word + " " + entry, false};
    // A folder given with a trailing separator still shows its own name.
    std::string path = entry;
    while (path.size() > 1 && path.back() == kSep) path.pop_back();
    std::string text = word;
    text += "\r\n";
    text += kSep;
    text += GetFileName(path);
    const auto info = fs.stat(path);
    if (info && (info->attributes & attr::Directory) != 0) text += kSep;
    text += "\r\nTo:";
    return {text, true};
}

}  // namespace farsend
