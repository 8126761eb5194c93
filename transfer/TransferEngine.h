#pragma once
// The transfer: the walk over the selection, the file step with its name
// conflicts, the folder-tree copy and move, and the byte copy that drives
// the progress bar. Questions and messages go through IPrompts, what the
// main window shows through ITransferDisplay; ending the program is
// returned as an outcome for the window to carry out.
//
// The file system may change while the transfer runs. Every write goes into
// the destination folder held open since the transfer began (and folders
// opened from it, never through a link); a copy is written where nobody
// sees it and gets its name only when it is whole, and only where nothing
// is, unless the user said to replace what is there; Move deletes a source
// only when it is still the file that was copied, unchanged and read to its
// end, and its copy stands at its name.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "search/CFiles.h"
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
};

// How the byte copy paces itself: it moves the file in pieces whose size
// adapts so that one piece takes about targetPiece, and lets the window
// process events whenever eventInterval has passed since the last time.
struct CopyPacing {
    std::chrono::microseconds eventInterval{8000};
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
    // plain files to the file step.
    StepOutcome walk(const std::vector<std::string>& entries);
    // Transfers one plain file of the selection into the destination.
    StepOutcome fileStep(const std::string& entry, const FileInfo& info);
    // Transfers one folder of the selection with everything below it.
    StepOutcome CopyFolder(const std::string& folder);
    StepOutcome MoveFolder(const std::string& folder);

    CopyPacing pacing;

private:
    // Done; Skipped (gone, or the user said No); Failed (told); NameTaken
    // (something appeared at the name); SourceKept (moving, the source stays).
    enum class Copied { Done, Skipped, Failed, NameTaken, SourceKept };
    struct Tree;

    // The folder steps, in their order.
    StepOutcome folderStep(const std::string& selected, bool move, bool* complete = nullptr);
    bool listTree(const std::string& source, Tree& tree);
    StepOutcome copyFiles(Tree& tree, bool move);
    bool makeFolders(Tree& tree, const std::string& relative);
    bool makeEmptyFolders(Tree& tree, bool move);
    bool removeSources(const Tree& tree);

    // Decides about an entry found at the target name in a folder: by the
    // all-at-once answers, else by asking.
    enum class Decision { Replace, Skip, Fail, End };
    Decision settleConflict(const std::string& source, const FileInfo& info, const FileInfo& existing);
    std::int16_t AskReplace();
    // Asks for a new name until one is usable; empty when the user cancelled.
    std::string newNameFor(FolderHandle folder, const std::string& name);

    // Copies source into name in folder and, moving, deletes the source.
    Copied transferFile(const std::string& source, FolderHandle folder, const std::string& name, bool replace,
                        bool move);
    // The byte copy: every whole 25000-byte chunk of length sets the
    // progress value; the file is read to its end. Returns the bytes copied.
    Result<std::int64_t> CopyFileData(FileHandle in, FileHandle out, std::int64_t length);
    Copied deleteSource(const std::string& source, const FileInfo& copied, FileHandle in, std::int64_t bytes,
                        FolderHandle folder, const std::string& name, const FileInfo& written);
    // Tells the user why an entry is left where it is; returns whether the
    // entry can be copied at all (a regular file).
    bool copyable(const std::string& path, const FileInfo& info);
    void tell(const std::string& text);
    void showAction(const std::string& name);
    // Lets the window process events when eventInterval has passed since
    // the last pass.
    void keepWindowAlive();

    IFileSystem& fs_;
    IPrompts& prompts_;
    ITransferDisplay& display_;
    const TransferMode mode_;
    Result<FolderHandle> destination_;
    bool YesToAll = false;
    bool NoToAll = false;
    // The program's directory search object, created on first use.
    std::unique_ptr<CFiles> search_;
    std::vector<char> buffer_;
    std::chrono::steady_clock::time_point lastPass_;
    std::int64_t piece_ = 0;
};

// Returns the percentage shown after whole chunk k of a file of length
// bytes: 25000·k ÷ length × 100 in double precision, halves to even.
std::int32_t chunkPercent(std::int64_t k, std::int64_t length);

// Returns whether two facts describe the same file (device and inode).
bool sameFile(const FileInfo& a, const FileInfo& b);

}  // namespace farsend
