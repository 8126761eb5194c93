#include "transfer/TransferEngine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <utility>

#include "platform/Paths.h"

namespace farsend {

namespace {

using Clock = std::chrono::steady_clock;

// Both status texts are kept as users have always seen them, the typo of
// the first included.
constexpr const char* kEnumerating = "Calulating Directory Structures...";
constexpr const char* kRemoving = "Deleting Directory Structures...";

bool isRealFolder(const FileInfo& info) { return !info.link && info.kind == EntryKind::Directory; }

// Lets go of a folder handle when it goes out of scope.
class HeldFolder {
public:
    HeldFolder(IFileSystem& fs, FolderHandle handle) : fs_(fs), handle_(handle) {}
    ~HeldFolder() {
        if (handle_ >= 0) (void)fs_.close(handle_);
    }
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    FolderHandle get() const { return handle_; }

private:
    IFileSystem& fs_;
    FolderHandle handle_;
};

}  // namespace

std::int32_t chunkPercent(std::int64_t k, std::int64_t length) {
    const double p =
        static_cast<double>(Transfer::kChunk) * static_cast<double>(k) / static_cast<double>(length) * 100.0;
    // The default rounding mode rounds halves to the even neighbour.
    return static_cast<std::int32_t>(std::nearbyint(p));
}

bool sameFile(const FileInfo& a, const FileInfo& b) { return a.device == b.device && a.inode == b.inode; }

// A listed folder tree: its files in walk order, the folders entered, and
// the target folder of the files being copied.
struct Transfer::Tree {
    std::string source;    // the selected folder, without a trailing separator
    std::size_t lead = 0;  // characters in front of its own name
    std::vector<std::string> folders;
    struct File {
        std::string path, name;
    };
    std::vector<File> files;
    std::unique_ptr<HeldFolder> target;  // the folder the current files go into
    Error targetError;                   // why there is none
    bool complete = true;                // everything arrived
    bool failed = false;                 // a Move stopped at a failure
};

Transfer::Transfer(IFileSystem& fs, IPrompts& prompts, ITransferDisplay& display, TransferMode mode,
                   const std::string& destination)
    : fs_(fs), prompts_(prompts), display_(display), mode_(mode), destination_(fs.openFolder(destination)) {}

Transfer::~Transfer() {
    if (destination_) (void)fs_.close(*destination_);
}

void Transfer::keepWindowAlive() {
    if (Clock::now() - lastPass_ < pacing.eventInterval) return;
    display_.processEvents();
    lastPass_ = Clock::now();
}

void Transfer::tell(const std::string& text) { prompts_.message(text, kProgramTitle); }

void Transfer::showAction(const std::string& name) { display_.setSelectionText(actionWord(mode_) + "\r\n" + name); }

StepOutcome Transfer::walk(const std::vector<std::string>& entries) {
    const bool move = mode_ == TransferMode::Move;
    for (const std::string& entry : entries) {
        // An entry that has gone (or cannot be read) since start-up is skipped.
        const auto info = fs_.stat(entry);
        if (!info) continue;
        StepOutcome outcome;
        if (info->kind == EntryKind::DirectoryLink && move) {
            // Only the selected link is the user's to move: the folder it
            // points to is copied, then the link alone goes.
            bool complete = false;
            outcome = folderStep(entry, false, &complete);
            if (complete) (void)fs_.deleteFile(withoutTrailingSep(entry));
        } else if ((info->attributes & attr::Directory) != 0) {
            outcome = move ? MoveFolder(entry) : CopyFolder(entry);
        } else {
            outcome = fileStep(entry, *info);
        }
        if (outcome != StepOutcome::Continue) return outcome;
    }
    return StepOutcome::Continue;
}

bool Transfer::copyable(const std::string& path, const FileInfo& info) {
    switch (info.kind) {
        case EntryKind::Regular:
            return true;
        case EntryKind::DanglingLink:
            tell(path + " is a link to an item that no longer exists; it was skipped.");
            return false;
        case EntryKind::Special:
            // Opening a pipe or a device could wait for ever or read without end.
            tell(path + " is not a plain file (a pipe, socket or device); it was skipped.");
            return false;
        case EntryKind::Directory:
        case EntryKind::DirectoryLink:
            return false;
    }
    return false;
}

std::string Transfer::newNameFor(FolderHandle folder, const std::string& name) {
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

StepOutcome Transfer::fileStep(const std::string& entry, const FileInfo& info) {
    keepWindowAlive();
    if (!copyable(entry, info)) return StepOutcome::Continue;
    if (!destination_) {
        tell(destination_.error().description);
        return StepOutcome::Continue;
    }
    const FolderHandle folder = *destination_;
    const std::string name = GetFileName(entry);
    const bool move = mode_ == TransferMode::Move;
    // Any entry of that name is a conflict, hidden or not, a link too (Yes
    // replaces the link, never what it points to); a folder of that name
    // makes the copy fail with the platform's text.
    for (;;) {
        const auto existing = fs_.statAt(folder, name);
        if (existing && !existing->link && sameFile(info, *existing)) {
            tell("The destination of " + entry + " is the file itself; it was left as it is.");
            return StepOutcome::Continue;
        }
        bool replace = false;
        if (existing && !isRealFolder(*existing)) {
            // "No to rename" is how users have always been asked; keep it.
            switch (prompts_.askYesNoCancel(name + " already exists... replace?\r\nNo to rename, Cancel to abort.",
                                            kPromptTitle)) {
                case MsgAnswer::Yes:
                    replace = true;
                    break;
                case MsgAnswer::Cancel:
                    return StepOutcome::Continue;
                case MsgAnswer::No: {
                    const std::string newName = newNameFor(folder, name);
                    if (newName.empty()) return StepOutcome::EndProgram;
                    showAction(newName);
                    if (transferFile(entry, folder, newName, false, move) == Copied::NameTaken)
                        tell(Error::fromErrno(EEXIST).description);
                    return StepOutcome::StopWalk;
                }
            }
        }
        showAction(name);
        if (existing && isRealFolder(*existing)) {
            tell(Error::fromErrno(EISDIR).description);
            return StepOutcome::Continue;
        }
        // Something that appeared at the name meanwhile is asked about as
        // any existing file is.
        if (transferFile(entry, folder, name, replace, move) != Copied::NameTaken) return StepOutcome::Continue;
    }
}

StepOutcome Transfer::CopyFolder(const std::string& folder) { return folderStep(folder, false); }

StepOutcome Transfer::MoveFolder(const std::string& folder) { return folderStep(folder, true); }

StepOutcome Transfer::folderStep(const std::string& selected, bool move, bool* complete) {
    if (!destination_) return StepOutcome::Continue;
    Tree tree;
    tree.source = withoutTrailingSep(selected);
    tree.lead = tree.source.size() - GetFileName(tree.source).size();

    // Into its own parent every file would be its own target.
    const auto sourceInfo = fs_.stat(tree.source);
    const auto topInfo = fs_.statAt(*destination_, GetFileName(tree.source));
    if (sourceInfo && topInfo && sameFile(*sourceInfo, *topInfo)) {
        tell("The destination of " + tree.source + " is the folder itself; it was left as it is.");
        return StepOutcome::Continue;
    }
    // Copy goes on past what fails; Move stops there and keeps the rest.
    if (!listTree(tree.source, tree) && move) return StepOutcome::Continue;
    const StepOutcome outcome = copyFiles(tree, move);
    if (outcome != StepOutcome::Continue || tree.failed) return outcome;
    if (!makeEmptyFolders(tree, move) && move) return StepOutcome::Continue;
    if (complete != nullptr) *complete = tree.complete;
    if (move) (void)removeSources(tree);
    return StepOutcome::Continue;
}

// The whole tree is listed before anything is written, so a copy into the
// folder's own subfolder never copies its copies.
bool Transfer::listTree(const std::string& source, Tree& tree) {
    if (!search_) search_ = std::make_unique<CFiles>(fs_, &display_);
    CFiles& search = *search_;
    search.setSearchdir(source);
    display_.setStatusText(kEnumerating);
    display_.setBusy(true);
    bool listed = true;
    try {
        search.refresh();
    } catch (const SearchError&) {
        listed = false;  // what was found before the failure is transferred
    }
    display_.setStatusText("");
    display_.setBusy(false);
    tree.files.reserve(static_cast<std::size_t>(search.Count()));
    for (std::int32_t i = 0; i < search.Count(); ++i) tree.files.push_back({search.Path(i), search.File(i)});
    tree.folders = search.foldersWalked();
    return listed;
}

// The files in list order, each folder made and opened at its first file.
StepOutcome Transfer::copyFiles(Tree& tree, bool move) {
    const std::string* previous = nullptr;
    for (const Tree::File& f : tree.files) {
        keepWindowAlive();
        if (previous == nullptr || f.path != *previous) {
            previous = &f.path;
            if (!makeFolders(tree, f.path.substr(tree.lead)) && move) {
                tree.failed = true;
                return StepOutcome::Continue;
            }
        }
        showAction(f.name);
        Copied copied = Copied::NameTaken;
        if (!tree.target) {
            tell(tree.targetError.description);
            copied = Copied::Failed;
        }
        const std::string source = f.path + f.name;
        while (copied == Copied::NameTaken) {
            bool replace = false;
            if (const auto existing = fs_.statAt(tree.target->get(), f.name)) {
                const auto info = fs_.stat(source);
                if (!info) {
                    copied = Copied::Skipped;  // gone since the listing
                    break;
                }
                const Decision decision = settleConflict(source, *info, *existing);
                if (decision == Decision::End) return StepOutcome::EndProgram;
                if (decision != Decision::Replace) {
                    copied = decision == Decision::Skip ? Copied::Skipped : Copied::Failed;
                    break;
                }
                replace = true;
            }
            copied = transferFile(source, tree.target->get(), f.name, replace, move);
        }
        if (copied == Copied::Done) continue;
        tree.complete = false;
        if (copied != Copied::Skipped && move) {
            tree.failed = true;
            return StepOutcome::Continue;
        }
    }
    return StepOutcome::Continue;
}

Transfer::Decision Transfer::settleConflict(const std::string& source, const FileInfo& info, const FileInfo& existing) {
    if (!existing.link && sameFile(info, existing)) {
        tell("The destination of " + source + " is the file itself; it was left as it is.");
        return Decision::Skip;
    }
    if (isRealFolder(existing)) {
        tell(Error::fromErrno(EISDIR).description);
        return Decision::Fail;
    }
    if (YesToAll) return Decision::Replace;
    if (NoToAll) return Decision::Skip;
    switch (AskReplace()) {
        case 1:
            return Decision::Replace;
        case 2:
            YesToAll = true;
            return Decision::Replace;
        case 3:
            return Decision::Skip;
        case 4:
            NoToAll = true;
            return Decision::Skip;
        default:
            return Decision::End;
    }
}

std::int16_t Transfer::AskReplace() { return static_cast<std::int16_t>(prompts_.askReplace()); }

// Opens (making what is missing) the target folder for files of relative,
// one level at a time from the destination, never through a link.
bool Transfer::makeFolders(Tree& tree, const std::string& relative) {
    tree.target.reset();
    auto current = std::make_unique<HeldFolder>(fs_, -1);
    FolderHandle at = *destination_;
    for (std::size_t pos = 0; pos < relative.size();) {
        std::size_t next = relative.find(kSep, pos);
        if (next == std::string::npos) next = relative.size();
        const std::string part = relative.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty()) continue;
        auto opened = fs_.openFolderAt(at, part);
        if (!opened && opened.error().number == ENOENT) {
            if (const Status made = fs_.makeDirAt(at, part); !made)
                opened = made.error();
            else
                opened = fs_.openFolderAt(at, part);
        }
        if (!opened) {
            tree.targetError = opened.error();
            return false;
        }
        current = std::make_unique<HeldFolder>(fs_, *opened);
        at = *opened;
    }
    tree.target = std::move(current);
    return true;
}

// Folders without files of their own arrive too, empty ones included;
// Copy goes on past one that cannot be made, Move stops there.
bool Transfer::makeEmptyFolders(Tree& tree, bool move) {
    bool made = true;
    for (const std::string& folder : tree.folders) {
        if (makeFolders(tree, folder.substr(tree.lead))) continue;
        made = false;
        if (move) break;
    }
    tree.target.reset();
    return made;
}

// The emptied source folders, deepest first (the list holds every parent
// before its children), the selected folder last. One that still holds
// something (a skipped file, a folder the search does not enter) stays, as
// does one already gone; any other failure ends the removal.
bool Transfer::removeSources(const Tree& tree) {
    display_.setStatusText(kRemoving);
    display_.setBusy(true);
    for (auto it = tree.folders.rbegin(); it != tree.folders.rend(); ++it) {
        const Status st = fs_.removeDir(withoutTrailingSep(*it));
        if (st) continue;
        const int n = st.error().number;
        if (n != ENOTEMPTY && n != EEXIST && n != ENOENT) return false;
    }
    display_.setStatusText("");
    display_.setBusy(false);
    return true;
}

Transfer::Copied Transfer::transferFile(const std::string& source, FolderHandle folder, const std::string& name,
                                        bool replace, bool move) {
    FileInfo facts;
    const auto in = fs_.openRead(source, facts);
    if (!in) {
        // Gone since the listing: nothing to say. A pipe or a dangling link
        // says what it is; anything else the platform's text.
        const auto info = fs_.stat(source);
        if (!info) return Copied::Skipped;
        if (copyable(source, *info)) tell(in.error().description);
        return Copied::Failed;
    }
    auto created = fs_.createNew(folder, facts.mode);
    if (!created) {
        (void)fs_.close(*in);
        tell(created.error().description);
        return Copied::Failed;
    }
    NewFile& out = created.value();
    const auto bytes = CopyFileData(*in, out.handle, facts.length);
    Status named = bytes.status();
    FileInfo written;
    if (named && move) {
        // What was written, to find it again at its name before the source goes.
        const auto w = fs_.describe(out.handle);
        if (w)
            written = *w;
        else
            named = w.error();
    }
    if (named) named = fs_.nameNew(folder, out, name, replace);
    if (!named) {
        fs_.discardNew(folder, out);
        (void)fs_.close(*in);
        if (named.error().number == EEXIST && !replace) return Copied::NameTaken;
        tell(named.error().description);
        return Copied::Failed;
    }
    if (!move) {
        (void)fs_.close(*in);
        return Copied::Done;
    }
    const Copied result = deleteSource(source, facts, *in, *bytes, folder, name, written);
    (void)fs_.close(*in);
    return result;
}

Transfer::Copied Transfer::deleteSource(const std::string& source, const FileInfo& copied, FileHandle in,
                                        std::int64_t bytes, FolderHandle folder, const std::string& name,
                                        const FileInfo& written) {
    // Still the file whose bytes were copied, at its path, unchanged since
    // the copy began and read to its end: only then may it go.
    const auto now = fs_.describe(in);
    const auto atPath = fs_.stat(source);
    if (!now || !atPath || !sameFile(*atPath, copied) || now->length != copied.length ||
        now->mtimeSec != copied.mtimeSec || now->mtimeNsec != copied.mtimeNsec || bytes != copied.length) {
        tell(source + " changed while it was copied; it was left where it is.");
        return Copied::SourceKept;
    }
    // And its copy stands at its name in the destination.
    const auto there = fs_.statAt(folder, name);
    if (!there || there->link || !sameFile(*there, written)) {
        tell("The copy of " + source + " is not where it was written; " + source + " was left where it is.");
        return Copied::SourceKept;
    }
    // A source that will not go (read-only, say) stays beside its copy.
    return fs_.deleteFile(source) ? Copied::Done : Copied::SourceKept;
}

Result<std::int64_t> Transfer::CopyFileData(FileHandle in, FileHandle out, std::int64_t length) {
    const std::int64_t chunks = length / kChunk;
    std::int64_t done = 0;
    std::int64_t shown = 0;
    if (piece_ <= 0) piece_ = pacing.firstPiece;
    while (done < length) {
        const std::int64_t want = std::min(piece_, length - done);
        const auto start = Clock::now();
        const auto moved = fs_.copyRange(in, out, want);
        if (!moved) return moved.error();
        if (*moved <= 0) break;  // the end, or a file system that cannot say: read on below
        done += *moved;
        const auto took = Clock::now() - start;
        // Every whole chunk gets its value, in order; the rest gets none.
        for (const std::int64_t whole = std::min(done / kChunk, chunks); shown < whole;)
            display_.setProgress(chunkPercent(++shown, length));
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
    // A length that reads 0 may hide content (/proc, /sys), and a copy that
    // ended early may be one the kernel could not make: read to the end.
    // (A file that grows meanwhile is what Move checks for afterwards.)
    if (done == length && length > 0) return done;
    if (buffer_.empty()) buffer_.resize(64 * 1024);
    for (;;) {
        const auto got = fs_.read(in, buffer_.data(), buffer_.size());
        if (!got) return got.error();
        if (*got == 0) break;
        if (const Status st = fs_.write(out, buffer_.data(), *got); !st) return st.error();
        done += static_cast<std::int64_t>(*got);
        keepWindowAlive();
    }
    if (done < length) return Error{EIO, "The file ended before all of its bytes were read."};
    return done;
}

}  // namespace farsend
