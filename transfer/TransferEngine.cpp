#include "transfer/TransferEngine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/Paths.h"

namespace farsend {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kEnumerating = "Calulating Directory Structures...";
constexpr const char* kRemoving = "Deleting Directory Structures...";

bool isFolderKind(EntryKind kind) { return kind == EntryKind::Directory || kind == EntryKind::DirectoryLink; }

}  // namespace

std::int32_t chunkPercent(std::int64_t k, std::int64_t length) {
    const double p =
        static_cast<double>(TransferEngine::kChunk) * static_cast<double>(k) / static_cast<double>(length) * 100.0;
    // The default rounding mode rounds halves to the even neighbour.
    return static_cast<std::int32_t>(std::nearbyint(p));
}

bool sameFile(const FileInfo& a, const FileInfo& b) { return a.device == b.device && a.inode == b.inode; }

TransferEngine::TransferEngine(IFileSystem& fs, ITransferUi& ui, IProgressValue& progress, ReplaceAll replaceAll,
                               std::function<CFiles&()> search)
    : fs_(fs), ui_(ui), progress_(progress), replaceAll_(replaceAll), search_(std::move(search)) {}

void TransferEngine::keepWindowAlive() {
    if (Clock::now() - lastPass_ < pacing.eventInterval) return;
    ui_.processEvents();
    lastPass_ = Clock::now();
}

StepOutcome TransferEngine::walk(const std::vector<std::string>& entries, TransferMode mode,
                                 const FolderStep& folderStep) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // An entry that has gone (or cannot be read) since start-up is skipped.
        const auto info = fs_.stat(entries[i]);
        if (!info) continue;
        StepOutcome outcome;
        if ((info->attributes & attr::Directory) != 0) {
            if (folderStep)
                outcome = folderStep(i);
            else
                outcome = mode == TransferMode::Copy ? copyFolder(entries[i]) : moveFolder(entries[i]);
        } else {
            outcome = fileStep(entries[i], mode);
        }
        if (outcome != StepOutcome::Continue) return outcome;
    }
    return StepOutcome::Continue;
}

bool TransferEngine::copyable(const std::string& path, const FileInfo& info) {
    switch (info.kind) {
        case EntryKind::Regular:
            return true;
        case EntryKind::DanglingLink:
            ui_.messageOk(path + " is a link to an item that no longer exists; it was skipped.", kProgramTitle);
            return false;
        case EntryKind::Special:
            // Opening a pipe or a device could wait for ever or read without end.
            ui_.messageOk(path + " is not a plain file (a pipe, socket or device); it was skipped.", kProgramTitle);
            return false;
        case EntryKind::Directory:
        case EntryKind::DirectoryLink:
            return false;
    }
    return false;
}

bool TransferEngine::transferOne(const std::string& source, const FileInfo& info, const std::string& target,
                                 bool replacing, bool move) {
    if (!copyData(source, info, target, replacing)) return false;
    if (!move) return true;
    // Only a copy of the full length gets here, so the source may go.
    return fs_.deleteFile(source).ok();
}

std::string TransferEngine::newNameFor(const std::string& folder, const std::string& name) {
    const std::string prompt = "Rename the file " + name + " to:";
    const std::string proposed = "Copy Of " + name;
    for (;;) {
        std::string answer = ui_.inputBox(prompt, "Rename", proposed);
        if (answer.empty()) return answer;
        if (answer == name) continue;
        // A new name names a file in the destination folder, never a path,
        // and never replaces another file unasked.
        if (answer.find(kSep) != std::string::npos || answer == "." || answer == "..") continue;
        if (fs_.stat(folder + answer).ok()) continue;
        return answer;
    }
}

StepOutcome TransferEngine::fileStep(const std::string& entry, TransferMode mode) {
    keepWindowAlive();
    const std::string destination = ui_.destinationFolder();
    if (destination.empty()) return StepOutcome::Continue;
    const std::string folder = withTrailingSep(destination);
    const std::string name = GetFileName(entry);
    const bool move = mode == TransferMode::Move;
    const std::string action = actionWord(mode);

    const auto source = fs_.stat(entry);
    if (!source) return StepOutcome::Continue;
    if (!copyable(entry, *source)) return StepOutcome::Continue;

    // Any entry of that name is a conflict, hidden or not; a folder of that
    // name is left to the copy, which then fails with the platform's text.
    const auto existing = fs_.stat(folder + name);
    if (existing && sameFile(*source, *existing)) {
        ui_.messageOk("The destination of " + entry + " is the file itself; it was left as it is.", kProgramTitle);
        return StepOutcome::Continue;
    }
    if (!existing || isFolderKind(existing->kind)) {
        ui_.setSelectionText(action + "\r\n" + name);
        (void)transferOne(entry, *source, folder + name, existing.ok(), move);
        return StepOutcome::Continue;
    }

    switch (ui_.askYesNoCancel(name + " already exists... replace?\r\nNo to rename, Cancel to abort.", kPromptTitle)) {
        case MsgAnswer::Yes:
            ui_.setSelectionText(action + "\r\n" + name);
            (void)transferOne(entry, *source, folder + name, true, move);
            return StepOutcome::Continue;
        case MsgAnswer::Cancel:
            return StepOutcome::Continue;
        case MsgAnswer::No:
            break;
    }

    const std::string newName = newNameFor(folder, name);
    if (newName.empty()) return StepOutcome::EndProgram;
    ui_.setSelectionText(action + "\r\n" + newName);
    (void)transferOne(entry, *source, folder + newName, false, move);
    return StepOutcome::StopWalk;
}

StepOutcome TransferEngine::copyFolder(const std::string& folder) { return folderTransfer(folder, false); }

StepOutcome TransferEngine::moveFolder(const std::string& folder) { return folderTransfer(folder, true); }

Status TransferEngine::ensureFolders(const std::string& base, const std::string& relative) {
    std::string path = base;
    std::size_t pos = 0;
    while (pos < relative.size()) {
        std::size_t next = relative.find(kSep, pos);
        if (next == std::string::npos) next = relative.size();
        if (next > pos) {
            path.append(relative, pos, next - pos);
            if (knownFolders_.count(path) == 0) {
                const auto info = fs_.stat(path);
                if (!info || !isFolderKind(info->kind)) {
                    if (auto made = fs_.makeDir(path); !made) return made;
                }
                knownFolders_.insert(path);
            }
            path += kSep;
        }
        pos = next + 1;
    }
    return {};
}

namespace {

// A source folder that still holds something (a skipped file, a folder the
// search does not enter) stays; so does one already gone.
bool removedOrKept(IFileSystem& fs, const std::string& path) {
    const Status st = fs.removeDir(path);
    if (st) return true;
    const int n = st.error().number;
    return n == ENOTEMPTY || n == EEXIST || n == ENOENT;
}

struct TreeFile {
    std::string path;
    std::string file;
    std::string pathFile;
};

// Lists the folders that the search entered below source, each parent before
// its children: the same folders its file walk goes into (names starting
// with a period, and folders that are links, are not entered), found
// without reading every file's attributes a second time. Returns false when
// a folder could not be read; folders then holds those found before.
bool foldersBelow(IFileSystem& fs, const std::string& source, const std::vector<TreeFile>& files,
                  std::vector<std::string>& folders) {
    std::unordered_map<std::string, std::unordered_set<std::string>> filesIn;
    for (const TreeFile& f : files) filesIn[f.path].insert(f.file);
    std::vector<std::string> pending{withTrailingSep(source)};
    static const std::unordered_set<std::string> none;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const auto names = fs.list(folder + "*.*", attr::ReadOnly | attr::Hidden | attr::Directory);
        if (!names) return false;
        const auto known = filesIn.find(folder);
        const auto& plainFiles = known == filesIn.end() ? none : known->second;
        std::vector<std::string> subfolders;
        for (const std::string& name : *names) {
            if (name.empty() || name[0] == '.' || plainFiles.count(name) != 0) continue;
            const auto info = fs.stat(folder + name);
            if (info && (info->attributes & attr::Directory) != 0 && (info->attributes & attr::System) == 0)
                subfolders.push_back(folder + name);
        }
        // Depth first, in listing order: every parent comes before its children.
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) pending.push_back(withTrailingSep(*it));
        for (std::string& s : subfolders) folders.push_back(std::move(s));
    }
    return true;
}

}  // namespace

StepOutcome TransferEngine::folderTransfer(const std::string& selected, bool move) {
    const std::string destination = ui_.destinationFolder();
    if (destination.empty()) return StepOutcome::Continue;
    const std::string base = withTrailingSep(destination);
    const std::string source = withoutTrailingSep(selected);
    const std::string top = GetFileName(source);
    const std::size_t lead = source.size() - top.size();

    // Into its own parent every file would be its own target.
    const auto sourceInfo = fs_.stat(source);
    const auto topInfo = fs_.stat(base + top);
    if (sourceInfo && topInfo && sameFile(*sourceInfo, *topInfo)) {
        ui_.messageOk("The destination of " + source + " is the folder itself; it was left as it is.", kProgramTitle);
        return StepOutcome::Continue;
    }

    // First pass: the whole tree is listed before anything is written, so a
    // copy into the folder's own subfolder never copies its copies.
    CFiles& search = search_();
    search.setSearchdir(source);
    ui_.setStatusText(kEnumerating);
    ui_.setBusy(true);
    bool failed = false;
    try {
        search.refresh();
    } catch (const SearchError&) {
        failed = true;
    }
    if (failed && move) return StepOutcome::Continue;
    std::vector<TreeFile> files;
    files.reserve(static_cast<std::size_t>(search.Count()));
    for (std::int32_t i = 0; i < search.Count(); ++i)
        files.push_back({search.Path(i), search.File(i), search.PathFile(i)});
    std::vector<std::string> folders;
    if (!foldersBelow(fs_, source, files, folders) && move) return StepOutcome::Continue;
    ui_.setStatusText("");
    ui_.setBusy(false);

    // Second pass: the files, in list order, each folder prepared at its
    // first file.
    const std::string action = actionWord(ui_.modeCaption());
    knownFolders_.clear();
    std::string previous;
    std::string targetFolder;
    for (const TreeFile& f : files) {
        keepWindowAlive();
        if (f.path != previous) {
            const std::string relative = f.path.substr(lead);
            targetFolder = base + relative;
            if (!ensureFolders(base, relative) && move) return StepOutcome::Continue;
            previous = f.path;
        }
        ui_.setSelectionText(action + "\r\n" + f.file);
        const std::string target = targetFolder + f.file;

        // The common case first: a file that opens, into a name that nothing
        // holds yet. Nothing to ask then, and the source's facts come with
        // opening it. Anything else takes the careful way below, which asks
        // again from the start.
        if (FileInfo facts; auto in = fs_.openReadWithInfo(f.pathFile, facts)) {
            if (const auto out = fs_.createNew(target, facts.mode)) {
                if (!finishCopy(*in, facts, *out, false)) {
                    if (move) return StepOutcome::Continue;
                } else if (move && !fs_.deleteFile(f.pathFile).ok()) {
                    return StepOutcome::Continue;
                }
                continue;
            }
            (void)fs_.close(*in);
        }

        const auto info = fs_.stat(f.pathFile);
        if (!info) continue;  // gone since the listing
        if (!copyable(f.pathFile, *info)) continue;
        const auto existing = fs_.stat(target);
        if (existing) {
            if (sameFile(*info, *existing)) {
                ui_.messageOk("The destination of " + f.pathFile + " is the file itself; it was left as it is.",
                              kProgramTitle);
                continue;
            }
            if (!isFolderKind(existing->kind)) {
                if (replaceAll_.NoToAll && !replaceAll_.YesToAll) continue;
                if (!replaceAll_.YesToAll) {
                    switch (ui_.askReplace()) {
                        case 1:
                            break;
                        case 2:
                            replaceAll_.YesToAll = true;
                            break;
                        case 3:
                            continue;
                        case 4:
                            replaceAll_.NoToAll = true;
                            continue;
                        default:
                            return StepOutcome::EndProgram;
                    }
                }
            }
        }
        if (!transferOne(f.pathFile, *info, target, existing.ok(), move) && move) return StepOutcome::Continue;
    }

    // Folders without files of their own arrive too, empty ones included.
    if (!ensureFolders(base, top + kSep) && move) return StepOutcome::Continue;
    for (const std::string& f : folders) {
        if (!ensureFolders(base, f.substr(lead)) && move) return StepOutcome::Continue;
    }
    if (!move) return StepOutcome::Continue;

    // Third pass: the emptied source folders, deepest first (the folder list
    // holds every parent before its children), the selected folder last.
    ui_.setStatusText(kRemoving);
    ui_.setBusy(true);
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        if (!removedOrKept(fs_, *it)) return StepOutcome::Continue;
    }
    if (!removedOrKept(fs_, source)) return StepOutcome::Continue;
    ui_.setStatusText("");
    ui_.setBusy(false);
    return StepOutcome::Continue;
}

bool TransferEngine::CopyFileData(const std::string& source, const std::string& target) {
    const auto info = fs_.stat(source);
    if (!info) {
        ui_.messageOk(info.error().description, kProgramTitle);
        return false;
    }
    return copyData(source, *info, target, true);
}

bool TransferEngine::copyData(const std::string& source, const FileInfo& info, const std::string& target,
                              bool replacing) {
    const auto in = fs_.openRead(source);
    if (!in) {
        ui_.messageOk(in.error().description, kProgramTitle);
        return false;
    }
    const auto out = fs_.openWrite(target, info.mode);
    if (!out) {
        (void)fs_.close(*in);
        ui_.messageOk(out.error().description, kProgramTitle);
        return false;
    }
    return finishCopy(*in, info, *out, replacing);
}

bool TransferEngine::finishCopy(FileHandle in, const FileInfo& info, FileHandle out, bool replacing) {
    Status result = pump(in, out, info.length);
    // Nothing of a replaced file's former content remains. A file that was
    // not there a moment ago holds exactly what was written.
    if (result && replacing) result = fs_.setLength(out, info.length);
    const Status closed = fs_.close(out);
    if (result && !closed) result = closed;
    (void)fs_.close(in);
    if (result) return true;
    ui_.messageOk(result.error().description, kProgramTitle);
    return false;
}

Status TransferEngine::pump(FileHandle in, FileHandle out, std::int64_t length) {
    const std::int64_t chunks = length / kChunk;
    std::int64_t done = 0;
    std::int64_t shown = 0;
    if (piece_ <= 0) piece_ = pacing.firstPiece;
    while (done < length) {
        const std::int64_t want = std::min(piece_, length - done);
        const auto start = Clock::now();
        const auto moved = fs_.copyRange(in, out, want);
        if (!moved) return moved.error();
        if (*moved <= 0) return Error{EIO, "The file ended before all of its bytes were read."};
        done += *moved;
        const auto took = Clock::now() - start;
        // Every whole chunk gets its value, in order; the rest gets none.
        for (const std::int64_t whole = std::min(done / kChunk, chunks); shown < whole;)
            progress_.setValue(chunkPercent(++shown, length));
        // Size the pieces so one takes about targetPiece; only a full piece
        // tells how fast the medium is.
        if (want == piece_) {
            if (took > 2 * pacing.targetPiece && piece_ > pacing.minPiece)
                piece_ = std::max(pacing.minPiece, piece_ / 2);
            else if (took < pacing.targetPiece / 2 && piece_ < pacing.maxPiece)
                piece_ = std::min(pacing.maxPiece, piece_ * 2);
        }
        keepWindowAlive();
    }
    return {};
}

}  // namespace farsend
