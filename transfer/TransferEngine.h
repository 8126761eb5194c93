#pragma once
// The transfer: the walk over the selection, the file step with its name
// conflicts, the folder-tree copy and move, and the byte copy that drives
// the progress bar. Everything it shows or asks goes through ITransferUi;
// ending the program is returned as an outcome for the window to carry out.

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "search/CFiles.h"
#include "transfer/TransferMode.h"
#include "transfer/TransferUi.h"

namespace farsend {

enum class StepOutcome {
    Continue,    // go on with the next entry
    StopWalk,    // a file was given a new name: transfer nothing more
    EndProgram,  // the user cancelled: end the program at once
};

// The all-at-once answers of the Replace File? dialog, held by the window.
// Nothing clears them: they hold for every later folder of the run's one
// transfer.
struct ReplaceAll {
    bool& YesToAll;
    bool& NoToAll;
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

class TransferEngine {
public:
    static constexpr std::int64_t kChunk = 25000;

    // search supplies the program-wide search object when a folder needs it.
    TransferEngine(IFileSystem& fs, ITransferUi& ui, IProgressValue& progress, ReplaceAll replaceAll,
                   std::function<CFiles&()> search);

    // Hands a folder of the selection (by index) to the folder-tree transfer.
    using FolderStep = std::function<StepOutcome(std::size_t index)>;

    // Walks the selection in order: folders to folderStep (or, when none is
    // given, to copyFolder / moveFolder), plain files to the file step.
    StepOutcome walk(const std::vector<std::string>& entries, TransferMode mode, const FolderStep& folderStep = {});

    // Transfers one plain file of the selection into the destination folder.
    StepOutcome fileStep(const std::string& entry, TransferMode mode);

    StepOutcome copyFolder(const std::string& folder);
    StepOutcome moveFolder(const std::string& folder);

    // Copies source's bytes into target, setting the progress value after
    // every whole 25000-byte chunk. A failure is shown with the platform's
    // description and reported as false; both files are always closed.
    bool CopyFileData(const std::string& source, const std::string& target);

    // Lets the window process events when eventInterval has passed since
    // the last pass.
    void keepWindowAlive();

    CopyPacing pacing;

private:
    StepOutcome folderTransfer(const std::string& folder, bool move);
    // Copies (and, moving, deletes) one file; returns
    // whether the copy completed and, when moving, the source is gone.
    bool transferOne(const std::string& source, const FileInfo& info, const std::string& target, bool replacing,
                     bool move);
    // CopyFileData for a source whose facts are known; replacing tells
    // whether the target existed, so that it must be cut to length.
    bool copyData(const std::string& source, const FileInfo& info, const std::string& target, bool replacing);
    // The copy between two open files; closes both, shows a failure.
    bool finishCopy(FileHandle in, const FileInfo& info, FileHandle out, bool replacing);
    Status pump(FileHandle in, FileHandle out, std::int64_t length);
    // Tells the user why an entry is left where it is; returns whether the
    // entry can be copied at all (a regular file).
    bool copyable(const std::string& path, const FileInfo& info);
    // Creates the folders of relative below base that do not exist yet.
    Status ensureFolders(const std::string& base, const std::string& relative);
    // Asks for a new name until one is usable; empty when the user cancelled.
    std::string newNameFor(const std::string& folder, const std::string& name);

    IFileSystem& fs_;
    ITransferUi& ui_;
    IProgressValue& progress_;
    ReplaceAll replaceAll_;
    std::function<CFiles&()> search_;
    std::set<std::string> knownFolders_;
    std::chrono::steady_clock::time_point lastPass_;
    std::int64_t piece_ = 0;
};

// Returns the percentage shown after whole chunk k of a file of length
// bytes: 25000·k ÷ length × 100 in double precision, halves to even.
std::int32_t chunkPercent(std::int64_t k, std::int64_t length);

// Returns whether two facts describe the same file (device and inode).
bool sameFile(const FileInfo& a, const FileInfo& b);

}  // namespace farsend
