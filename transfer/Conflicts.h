#pragma once
// What happens when a name is taken in the destination: a file of the
// selection is asked about in a message box (and may get a new name); the
// files of a folder tree in the Replace File? dialog, whose all-at-once
// answers hold for the rest of the transfer.

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"

namespace farsend {

struct Decision {
    enum Kind { Replace, Skip, Rename, End } kind = Skip;
    std::string newName;  // with Rename
};

class ConflictPolicy {
public:
    virtual ~ConflictPolicy() = default;
    // Whether the action is shown before the question (a folder tree) or
    // once it is answered (a file of the selection).
    virtual bool showsFirst() const = 0;
    // Settles the entry found at name in folder.
    virtual Decision decide(const std::string& name, FolderHandle folder) = 0;
};

// A file of the selection: replace, a new name, or skip.
class AskEachFile final : public ConflictPolicy {
public:
    AskEachFile(IFileSystem& fs, IPrompts& prompts) : fs_(fs), prompts_(prompts) {}
    bool showsFirst() const override { return false; }
    Decision decide(const std::string& name, FolderHandle folder) override;

private:
    // Asks for a new name until one is usable; empty when the user cancelled.
    std::string newNameFor(FolderHandle folder, const std::string& name);

    IFileSystem& fs_;
    IPrompts& prompts_;
};

// The files of a folder tree: the Replace File? dialog.
class AskReplaceFile final : public ConflictPolicy {
public:
    explicit AskReplaceFile(IPrompts& prompts) : prompts_(prompts) {}
    bool showsFirst() const override { return true; }
    Decision decide(const std::string& name, FolderHandle folder) override;
    std::int16_t AskReplace();

    bool YesToAll = false;
    bool NoToAll = false;

private:
    IPrompts& prompts_;
};

}  // namespace farsend
