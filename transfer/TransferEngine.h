#pragma once
// The transfer: the walk over the selection, the file step with its name
// conflicts, the folder-tree copy and move, and the byte copy that drives
// the progress bar. Questions and messages go through IPrompts, what the
// main window shows through ITransferDisplay; ending the program is
// returned as an outcome for the window to carry out.
//
// The rules that keep the user's files whole on their way are those of one
// file's placement (transfer/Placement.h); here they are applied to the
// selection and to folder trees, and what a Move removes waits until its
// copy is on the destination's device.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "search/CFiles.h"
#include "transfer/Conflicts.h"
#include "transfer/Placement.h"
#include "transfer/TransferMode.h"

namespace farsend {

enum class StepOutcome {
    Continue,    // go on with the next entry
    StopWalk,    // a file was given a new name: transfer nothing more
    EndProgram,  // the user cancelled: end the program at once
};

// What the main window shows while a transfer runs. setBusy (from
// IBusyPointer) shows or clears the hourglass.
class ITransferDisplay : public IBusyPointer {
public:
    // The selection display and the status line.
    virtual void setSelectionText(const std::string& text) = 0;
    virtual void setStatusText(const std::string& text) = 0;
    // The progress bar's value.
    virtual void setProgress(std::int32_t value) = 0;
    // Lets the window handle what is pending: repaints, and input that the
    // window refuses while a transfer runs.
    virtual void processEvents() = 0;
    // Brings what the window shows up to date at once (the texts and the
    // value may wait for the next pass otherwise): before every question.
    virtual void showNow() = 0;
};

// The prompts of a transfer: each comes with the window up to date behind
// it, so that it shows the file asked about.
class PromptsOverDisplay final : public IPrompts {
public:
    PromptsOverDisplay(IPrompts& prompts, ITransferDisplay& display) : prompts_(prompts), display_(display) {}
    void message(const std::string& text, const std::string& title, MsgIcon icon = MsgIcon::None) override;
    MsgAnswer askYesNoCancel(const std::string& text, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) override;
    int askReplace() override;

private:
    IPrompts& prompts_;
    ITransferDisplay& display_;
};

// How the byte copy paces itself: it moves the file in pieces whose size
// adapts so that one piece takes about targetPiece, and lets the window
// process events whenever eventInterval has passed since the last time.
struct CopyPacing {
    std::chrono::microseconds eventInterval{16000};  // a repaint a frame, at 60 a second
    std::chrono::microseconds targetPiece{2000};
    std::int64_t firstPiece = 64 * 1024;
    std::int64_t minPiece = 4 * 1024;
    std::int64_t maxPiece = 64 * 1024 * 1024;
};

// The run's one transfer: one mode, one destination folder, and the
// all-at-once answers of the Replace File? dialog, which hold for every
// later folder of the transfer.
class Transfer {
public:
    static constexpr std::int64_t kChunk = 25000;

    // destination is the folder the destination chooser shows; it is held
    // open from here on.
    Transfer(IFileSystem& fs, IPrompts& prompts, ITransferDisplay& display, TransferMode mode,
             const std::string& destination);
    ~Transfer();
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    // Walks the selection in order: folders to CopyFolder / MoveFolder,
    // plain files to the file step. Before it returns, everything written
    // is on the destination's device.
    StepOutcome walk(const std::vector<std::string>& entries);
    // Transfers one plain file of the selection into the destination.
    StepOutcome fileStep(const std::string& entry, const FileInfo& info);
    // Transfers one folder of the selection with everything below it.
    StepOutcome CopyFolder(const std::string& folder);
    StepOutcome MoveFolder(const std::string& folder);

    CopyPacing pacing;

private:
    // How one file's placement ended.
    enum class Placed {
        Done,     // in place (and, moving, its source removed or waiting to be)
        Renamed,  // in place under a new name the user gave
        Skipped,  // gone, or the user said No: nothing to say
        Failed,   // told
        End,      // the user cancelled: end the program
    };
    struct Tree;

    // The folder steps, in their order. sourcesGo: a Move of the tree (a
    // Move of a link to a folder copies what it points to).
    StepOutcome folderStep(const std::string& selected, bool sourcesGo, bool* complete = nullptr);
    bool movedWhole(Tree& tree);
    bool listTree(Tree& tree);
    StepOutcome copyFiles(Tree& tree);
    StepOutcome copyEachFile(Tree& tree);
    bool makeFolders(Tree& tree, const std::string& relative);
    bool makeEmptyFolders(Tree& tree);
    void setFolderModes(const Tree& tree);
    bool removeSources(const Tree& tree);

    // One file into target under name, what stands there settled by policy:
    // the conflict loop of the file step and the folder step alike.
    // sourceFolder: the source's folder held open, when it is.
    Placed place(const std::string& source, const std::shared_ptr<TargetFolder>& target, const std::string& name,
                 ConflictPolicy& policy, bool sourceGoes, FolderHandle sourceFolder = -1);
    // The byte copy: every whole 25000-byte chunk of length sets the
    // progress value; the file is read to its end. Returns the bytes copied.
    Result<std::int64_t> CopyFileData(FileHandle in, FileHandle out, std::int64_t length, CopyHints& hints);

    // The destination folders held open, with their file systems' rules.
    std::shared_ptr<TargetFolder> target(FolderHandle handle, bool fresh);
    // Moving: a copied source waits until its copy is on the device.
    void removeLater(CopiedSource copied);
    // Flushes the waiting copies' file systems, then removes their sources;
    // false when one in a tree could not be removed (the tree's Move stops).
    bool removeWaitingSources();
    // Writes everything written so far to the destinations' devices.
    void flushAll();
    Status flushServed(FolderHandle folder);

    // Tells the user why an entry is left where it is; returns whether the
    // entry can be copied at all (a regular file).
    bool copyable(const std::string& path, const FileInfo& info);
    void tell(const std::string& text);
    void showAction(const std::string& name);
    // Lets the window process events when eventInterval has passed since
    // the last pass.
    void keepWindowAlive();

    IFileSystem& fs_;
    ITransferDisplay& display_;
    PromptsOverDisplay prompts_;
    const TransferMode mode_;
    const std::string destinationPath_;
    // What each destination file system offers, by device.
    std::map<std::uint64_t, VolumeRules> volumes_;
    Result<std::shared_ptr<TargetFolder>> destination_;
    // Pairs of devices (source, destination) between which the kernel
    // refused to copy, or to rename.
    std::set<std::pair<std::uint64_t, std::uint64_t>> noKernelCopy_, noRename_;
    // A folder of every destination file system written to, for the last
    // flush.
    std::map<std::uint64_t, std::shared_ptr<TargetFolder>> written_;
    struct Waiting {
        CopiedSource copied;
        bool inTree = false;
    };
    std::vector<Waiting> waiting_;
    std::int64_t waitingBytes_ = 0;
    int waitingFolders_ = 0;
    // The device of the entry being transferred (a tree's top folder).
    std::uint64_t sourceDevice_ = 0;
    bool inTree_ = false;
    bool removalRefused_ = false;
    AskEachFile askEachFile_;
    AskReplaceFile askReplaceFile_;
    // The program's directory search object, created on first use.
    std::unique_ptr<CFiles> search_;
    std::vector<char> buffer_;
    std::chrono::steady_clock::time_point lastPass_;
    std::int64_t piece_ = 0;
};

// Returns the percentage shown after whole chunk k of a file of length
// bytes: 25000·k ÷ length × 100 in double precision, halves to even.
std::int32_t chunkPercent(std::int64_t k, std::int64_t length);

}  // namespace farsend
