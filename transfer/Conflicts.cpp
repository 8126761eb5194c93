#include "transfer/Conflicts.h"

#include "platform/Paths.h"

namespace farsend {

Decision AskEachFile::decide(const std::string& name, FolderHandle folder) {
    // "No to rename" is how users have always been asked; keep it.
    switch (
        prompts_.askYesNoCancel(name + " already exists... replace?\r\nNo to rename, Cancel to abort.", kPromptTitle)) {
        case MsgAnswer::Yes:
            return {Decision::Replace, {}};
        case MsgAnswer::Cancel:
            return {Decision::Skip, {}};
        case MsgAnswer::No:
            break;
    }
    std::string newName = newNameFor(folder, name);
    if (newName.empty()) return {Decision::End, {}};
    return {Decision::Rename, std::move(newName)};
}

std::string AskEachFile::newNameFor(FolderHandle folder, const std::string& name) {
    const std::string prompt = "Rename the file " + name + " to:";
    const std::string proposed = "Copy Of " + name;
    for (;;) {
        std::string answer = prompts_.inputBox(prompt, "Rename", proposed);
        if (answer.empty()) return answer;
        if (answer == name) continue;
        // A new name names a file in the destination folder, never a path,
        // and never replaces another file unasked.
        if (answer.find(kSep) != std::string::npos || answer == "." || answer == "..") continue;
        if (fs_.statAt(folder, answer)) continue;
        return answer;
    }
}

Decision AskReplaceFile::decide(const std::string&, FolderHandle) {
    if (YesToAll) return {Decision::Replace, {}};
    if (NoToAll) return {Decision::Skip, {}};
    switch (AskReplace()) {
        case 1:
            return {Decision::Replace, {}};
        case 2:
            YesToAll = true;
            return {Decision::Replace, {}};
        case 3:
            return {Decision::Skip, {}};
        case 4:
            NoToAll = true;
            return {Decision::Skip, {}};
        default:
            return {Decision::End, {}};
    }
}

std::int16_t AskReplaceFile::AskReplace() { return static_cast<std::int16_t>(prompts_.askReplace()); }

}  // namespace farsend
