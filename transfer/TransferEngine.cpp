#include "transfer/TransferEngine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/Paths.h"

namespace farsend {

namespace {

using Clock = std::chrono::steady_clock;

// Both status texts are kept as users have always seen them, the typo of
// the first included.
constexpr const char* kEnumerating = "Calulating Directory Structures...";
constexpr const char* kRemoving = "Deleting Directory Structures...";
constexpr const char* kFlushing = "Writing Data to the Destination Drive...";

// How much a Move copies before it flushes and removes the sources: what a
// pulled stick could lose is never more, and the folders held open stay few.
constexpr std::size_t kWaitingFiles = 512;
constexpr std::int64_t kWaitingBytes = std::int64_t{256} << 20;
constexpr int kWaitingFolders = 128;

bool isRealFolder(const FileInfo& info) { return !info.link && info.kind == EntryKind::Directory; }

// The names of a relative path, in order.
std::vector<std::string> namesOf(const std::string& relative) {
    std::vector<std::string> names;
    for (std::size_t pos = 0; pos < relative.size();) {
        std::size_t next = relative.find(kSep, pos);
        if (next == std::string::npos) next = relative.size();
        if (next > pos) names.push_back(relative.substr(pos, next - pos));
        pos = next + 1;
    }
    return names;
}

}  // namespace

std::int32_t chunkPercent(std::int64_t k, std::int64_t length) {
    const double p =
        static_cast<double>(Transfer::kChunk) * static_cast<double>(k) / static_cast<double>(length) * 100.0;
    // The default rounding mode rounds halves to the even neighbour.
    return static_cast<std::int32_t>(std::nearbyint(p));
}

// A listed folder tree: its files in walk order, the folders entered, and
// the target folder of the files being copied.
struct Transfer::Tree {
    std::string source;    // the selected folder, without a trailing separator
    std::size_t lead = 0;  // characters in front of its own name
    bool sourcesGo = false;
    std::uint64_t device = 0;  // of the selected folder
    std::vector<std::string> folders;
    struct File {
        std::string path, name;
    };
    std::vector<File> files;
    std::shared_ptr<TargetFolder> target;  // the folder the current files go into
    FolderHandle sourceFolder = -1;        // the folder they come from, held open
    // Folders this transfer made whose bits are set once they are filled,
    // relative to the destination.
    struct Made {
        std::string relative;
        std::uint32_t mode = 0;
    };
    std::vector<Made> made;
    std::vector<std::string> unmade;  // relative folders that could not be made (said once)
    std::set<std::string> filled;     // source folders whose target was made for their files
    bool complete = true;             // everything arrived
    bool failed = false;              // a Move stopped at a failure
};

Transfer::Transfer(IFileSystem& fs, IPrompts& prompts, ITransferDisplay& display, TransferMode mode,
                   const std::string& destination)
    : fs_(fs),
      display_(display),
      prompts_(prompts, display),
      mode_(mode),
      destinationPath_(withoutTrailingSep(destination)),
      destination_(Error{}),
      askEachFile_(fs, prompts_),
      askReplaceFile_(prompts_) {
    const auto opened = fs.openFolder(destination);
    if (opened)
        destination_ = target(*opened, false);
    else
        destination_ = opened.error();
}

Transfer::~Transfer() = default;

void PromptsOverDisplay::message(const std::string& text, const std::string& title, MsgIcon icon) {
    display_.showNow();
    prompts_.message(text, title, icon);
}

MsgAnswer PromptsOverDisplay::askYesNoCancel(const std::string& text, const std::string& title) {
    display_.showNow();
    return prompts_.askYesNoCancel(text, title);
}

std::string PromptsOverDisplay::inputBox(const std::string& prompt, const std::string& title,
                                         const std::string& proposed) {
    display_.showNow();
    return prompts_.inputBox(prompt, title, proposed);
}

int PromptsOverDisplay::askReplace() {
    display_.showNow();
    return prompts_.askReplace();
}

std::shared_ptr<TargetFolder> Transfer::target(FolderHandle handle, bool fresh) {
    const auto facts = fs_.describe(handle);
    const std::uint64_t device = facts ? facts->device : 0;
    auto found = volumes_.find(device);
    if (found == volumes_.end()) {
        VolumeRules rules;
        rules.device = device;
        if (const auto volume = fs_.describeVolume(handle)) rules.facts = *volume;
        if (!rules.facts.fatNames && rules.facts.type.rfind("fuse", 0) == 0)
            rules.facts.fatNames = refusesColons(fs_, handle);
        found = volumes_.emplace(device, std::move(rules)).first;
    }
    return std::make_shared<TargetFolder>(fs_, handle, found->second, fresh);
}

void Transfer::keepWindowAlive() {
    if (Clock::now() - lastPass_ < pacing.eventInterval) return;
    display_.processEvents();
    lastPass_ = Clock::now();
}

void Transfer::tell(const std::string& text) { prompts_.message(text, kProgramTitle); }

void Transfer::showAction(const std::string& name) { display_.setSelectionText(actionWord(mode_) + "\r\n" + name); }

StepOutcome Transfer::walk(const std::vector<std::string>& entries) {
    StepOutcome outcome = StepOutcome::Continue;
    for (const std::string& entry : entries) {
        // An entry that has gone (or cannot be read) since start-up is skipped.
        const auto info = fs_.stat(entry);
        if (!info) continue;
        if (info->kind == EntryKind::DirectoryLink && mode_ == TransferMode::Move) {
            // Only the selected link is the user's to move: the folder it
            // points to is copied, then the link alone goes.
            bool complete = false;
            outcome = folderStep(entry, false, &complete);
            if (complete)
                (void)fs_.deleteFile(withoutTrailingSep(entry));
            else if (outcome == StepOutcome::Continue)
                tell("The link " + entry + " was kept: not everything in the folder it points to was copied.");
        } else if ((info->attributes & attr::Directory) != 0) {
            outcome = mode_ == TransferMode::Move ? MoveFolder(entry) : CopyFolder(entry);
        } else {
            outcome = fileStep(entry, *info);
        }
        if (outcome != StepOutcome::Continue) break;
    }
    // Whatever ends the walk, what was written is on the device before the
    // window closes (and the sources of what was moved are gone).
    (void)removeWaitingSources();
    flushAll();
    return outcome;
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

StepOutcome Transfer::fileStep(const std::string& entry, const FileInfo& info) {
    keepWindowAlive();
    if (!copyable(entry, info)) return StepOutcome::Continue;
    if (!destination_) {
        tell(entry + " could not be transferred: " + destination_.error().description);
        return StepOutcome::Continue;
    }
    inTree_ = false;
    sourceDevice_ = info.device;
    switch (place(entry, *destination_, GetFileName(entry), askEachFile_, mode_ == TransferMode::Move)) {
        case Placed::Renamed:
            return StepOutcome::StopWalk;
        case Placed::End:
            return StepOutcome::EndProgram;
        default:
            return StepOutcome::Continue;
    }
}

Transfer::Placed Transfer::place(const std::string& source, const std::shared_ptr<TargetFolder>& target,
                                 const std::string& name, ConflictPolicy& policy, bool sourceGoes,
                                 FolderHandle sourceFolder) {
    Placement placement(fs_, source, target, sourceGoes);
    if (sourceFolder >= 0) placement.sourceIn(sourceFolder, GetFileName(source));
    std::string current = name;
    if (policy.showsFirst()) showAction(current);
    if (const Status fits = placement.nameFits(current); !fits) {
        tell(fits.error().description);
        return Placed::Failed;
    }
    bool replace = false;
    bool renamed = false;
    // A folder this transfer made holds only what it put there: the naming,
    // exclusive, tells of anyone else.
    bool look = !target->fresh();
    for (;;) {
        if (look) {
            // Any entry of that name is a conflict, hidden or not, a link too
            // (Yes replaces the link, never what it points to); a folder of
            // that name makes the copy fail with the platform's text.
            if (const auto existing = fs_.statAt(target->handle(), current)) {
                const auto info = fs_.stat(source);
                if (!info) return Placed::Skipped;  // gone since the listing
                if (!existing->link && sameFile(*info, *existing)) {
                    tell("The destination of " + source + " is the file itself; it was left as it is.");
                    return Placed::Skipped;
                }
                if (isRealFolder(*existing)) {
                    if (!policy.showsFirst()) showAction(current);
                    tell(Error::fromErrno(EISDIR).description);
                    return Placed::Failed;
                }
                const Decision decision = policy.decide(current, target->handle());
                switch (decision.kind) {
                    case Decision::Replace:
                        replace = true;
                        break;
                    case Decision::Skip:
                        return Placed::Skipped;
                    case Decision::End:
                        return Placed::End;
                    case Decision::Rename:
                        current = decision.newName;
                        renamed = true;
                        break;
                }
            }
            if (!policy.showsFirst()) showAction(current);
        } else if (!policy.showsFirst()) {
            showAction(current);
        }
        // Anything found at the name from here on was put there meanwhile,
        // and is asked about as any existing file is.
        look = true;

        // Within one file system a Move renames: the same file arrives, and
        // needs no room. A link is moved as what it points to, as a copy.
        const std::pair devices{sourceDevice_, target->rules().device};
        if (sourceGoes && !placement.written() && noRename_.count(devices) == 0) {
            const auto info = fs_.stat(source);
            if (info && !info->link && info->kind == EntryKind::Regular) {
                const Status moved = placement.renameSource(current, replace);
                if (moved) {
                    display_.setProgress(100);
                    written_.emplace(target->rules().device, target);
                    return renamed ? Placed::Renamed : Placed::Done;
                }
                const int e = moved.error().number;
                if (e == EEXIST && !replace) continue;
                if (e == EXDEV) {
                    noRename_.insert(devices);
                } else if (e != EACCES && e != EPERM && e != EROFS && e != EBUSY) {
                    tell(moved.error().description);
                    return Placed::Failed;
                }
                // Else the source may not leave its folder: it is copied, and
                // stays where it is as a source that will not go does.
            }
        }

        if (!placement.written()) {
            if (const Status opened = placement.openSource(); !opened) {
                // Gone since the listing: nothing to say. A pipe or a dangling
                // link says what it is; anything else the platform's text.
                const auto info = fs_.stat(source);
                if (!info) return Placed::Skipped;
                if (copyable(source, *info)) tell(opened.error().description);
                return Placed::Failed;
            }
            if (const Status fits = placement.sizeFits(); !fits) {
                tell(fits.error().description);
                return Placed::Failed;
            }
            const FileInfo& facts = placement.sourceFacts();
            const std::pair pair{facts.device, target->rules().device};
            CopyHints hints;
            hints.holes = facts.allocated < facts.length;
            hints.kernelCopy = noKernelCopy_.count(pair) == 0;
            const Status wrote = placement.write([&](FileHandle in, FileHandle out, std::int64_t length) {
                return CopyFileData(in, out, length, hints);
            });
            if (!hints.kernelCopy) noKernelCopy_.insert(pair);
            if (!wrote) {
                tell(wrote.error().description);
                return Placed::Failed;
            }
        }
        if (const Status named = placement.name(current, replace); !named) {
            if (named.error().number == EEXIST && !replace) continue;
            tell(named.error().description);
            return Placed::Failed;
        }
        written_.emplace(target->rules().device, target);
        if (sourceGoes) removeLater(placement.copied());
        return renamed ? Placed::Renamed : Placed::Done;
    }
}

void Transfer::removeLater(CopiedSource copied) {
    waitingBytes_ += copied.bytesRead;
    if (waiting_.empty() || waiting_.back().copied.folder != copied.folder) ++waitingFolders_;
    waiting_.push_back({std::move(copied), inTree_});
    if (waiting_.size() >= kWaitingFiles || waitingBytes_ >= kWaitingBytes || waitingFolders_ >= kWaitingFolders) {
        if (!removeWaitingSources()) removalRefused_ = true;
    }
}

bool Transfer::removeWaitingSources() {
    if (waiting_.empty()) return true;
    std::vector<Waiting> batch = std::move(waiting_);
    waiting_.clear();
    waitingBytes_ = 0;
    waitingFolders_ = 0;
    // Durable before destructive: every copy of the batch on its device first.
    std::set<std::uint64_t> flushed;
    for (const Waiting& w : batch) {
        if (!flushed.insert(w.copied.folder->rules().device).second) continue;
        if (const Status st = flushServed(w.copied.folder->handle()); !st) {
            tell(st.error().description);
            return false;
        }
        written_.erase(w.copied.folder->rules().device);
    }
    bool removedAll = true;
    for (const Waiting& w : batch) {
        const std::string& path = w.copied.path;
        Error refusal;
        switch (removeCopiedSource(fs_, w.copied, refusal)) {
            case SourceRemoval::Removed:
                break;
            case SourceRemoval::Changed:
                tell(path + " changed while it was copied; it was left where it is.");
                break;
            case SourceRemoval::CopyMissing:
                tell("The copy of " + path + " is not where it was written; " + path + " was left where it is.");
                break;
            case SourceRemoval::Refused:
                // A file of the selection that will not go (read-only, say)
                // stays beside its copy; in a folder the Move stops there.
                if (!w.inTree) break;
                if (removedAll) tell(path + " could not be deleted: " + refusal.description);
                removedAll = false;
                break;
        }
    }
    return removedAll;
}

Status Transfer::flushServed(FolderHandle folder) {
    // The flush can take long (a slow stick): it runs beside the window,
    // which stays served meanwhile.
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    Status result;
    std::thread worker([&] {
        Status st = fs_.flushVolume(folder);
        const std::lock_guard<std::mutex> hold(lock);
        result = std::move(st);
        done = true;
        finished.notify_one();
    });
    bool shown = false;
    std::unique_lock<std::mutex> hold(lock);
    while (!finished.wait_for(hold, pacing.eventInterval, [&] { return done; })) {
        hold.unlock();
        if (!shown) display_.setStatusText(kFlushing);
        shown = true;
        display_.processEvents();
        hold.lock();
    }
    hold.unlock();
    worker.join();
    if (shown) display_.setStatusText("");
    return result;
}

void Transfer::flushAll() {
    for (const auto& [device, folder] : written_) {
        if (const Status st = flushServed(folder->handle()); !st)
            tell("What was written to " + destinationPath_ + " may not all be on the drive: " + st.error().description);
    }
    written_.clear();
}

StepOutcome Transfer::CopyFolder(const std::string& folder) { return folderStep(folder, false); }

StepOutcome Transfer::MoveFolder(const std::string& folder) { return folderStep(folder, true); }

StepOutcome Transfer::folderStep(const std::string& selected, bool sourcesGo, bool* complete) {
    if (!destination_) {
        tell(selected + " could not be transferred: " + destination_.error().description);
        return StepOutcome::Continue;
    }
    inTree_ = true;
    removalRefused_ = false;
    Tree tree;
    tree.source = withoutTrailingSep(selected);
    tree.lead = tree.source.size() - GetFileName(tree.source).size();
    tree.sourcesGo = sourcesGo;

    // Into its own parent every file would be its own target.
    const auto sourceInfo = fs_.stat(tree.source);
    const auto topInfo = fs_.statAt((*destination_)->handle(), GetFileName(tree.source));
    if (sourceInfo && topInfo && sameFile(*sourceInfo, *topInfo)) {
        tell("The destination of " + tree.source + " is the folder itself; it was left as it is.");
        return StepOutcome::Continue;
    }
    if (sourceInfo) sourceDevice_ = tree.device = sourceInfo->device;
    if (sourcesGo && sourceInfo && !sourceInfo->link && movedWhole(tree)) return StepOutcome::Continue;

    // Copy goes on past what fails; Move stops there and keeps the rest.
    if (!listTree(tree) && sourcesGo) return StepOutcome::Continue;
    StepOutcome outcome = copyFiles(tree);
    if (outcome == StepOutcome::Continue && !tree.failed && !makeEmptyFolders(tree) && sourcesGo) tree.failed = true;
    setFolderModes(tree);
    // The sources of what was copied go (once the copies are on the
    // device), even when the Move stops or the user ends it.
    if (sourcesGo && !removeWaitingSources()) tree.failed = true;
    if (outcome != StepOutcome::Continue || tree.failed) return outcome;
    if (complete != nullptr) *complete = tree.complete;
    if (sourcesGo) (void)removeSources(tree);
    return StepOutcome::Continue;
}

// Within one file system a selected folder moves whole, by one rename,
// when nothing stands at its name; else it is merged file by file.
bool Transfer::movedWhole(Tree& tree) {
    const std::shared_ptr<TargetFolder>& destination = *destination_;
    const std::pair devices{tree.device, destination->rules().device};
    if (noRename_.count(devices) != 0) return false;
    const std::string name = GetFileName(tree.source);
    if (!destination->rules().facts.fatNames || fatNameAllowed(name)) {
        const Status moved = renameFolder(fs_, tree.source, *destination, name);
        if (moved) {
            showAction(name);
            display_.setProgress(100);
            written_.emplace(destination->rules().device, destination);
            return true;
        }
        if (moved.error().number == EXDEV) noRename_.insert(devices);
    }
    return false;
}

// The whole tree is listed before anything is written, so a copy into the
// folder's own subfolder never copies its copies.
bool Transfer::listTree(Tree& tree) {
    if (!search_) {
        search_ = std::make_unique<CFiles>(fs_, &display_);
        search_->setNamesOnly(true);  // a file's facts come when it is opened
    }
    CFiles& search = *search_;
    search.setSearchdir(tree.source);
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
    // A folder that could not be read is neither made empty at the
    // destination nor removed: what it holds stays where it is.
    const std::vector<std::string>& unread = search.foldersUnread();
    for (const std::string& folder : search.foldersWalked())
        if (std::find(unread.begin(), unread.end(), folder) == unread.end()) tree.folders.push_back(folder);
    if (!unread.empty()) {
        std::string list;
        for (const std::string& folder : unread) list += "\r\n" + withoutTrailingSep(folder);
        tell("These folders could not be read; what they hold was not transferred:" + list);
        tree.complete = false;
    }
    if (!listed) tree.complete = false;
    return listed;
}

// The files in list order, each folder made and opened at its first file.
StepOutcome Transfer::copyFiles(Tree& tree) {
    const StepOutcome outcome = copyEachFile(tree);
    if (tree.sourceFolder >= 0) (void)fs_.close(std::exchange(tree.sourceFolder, -1));
    return outcome;
}

StepOutcome Transfer::copyEachFile(Tree& tree) {
    const std::string* previous = nullptr;
    bool folderReady = false;
    for (const Tree::File& f : tree.files) {
        keepWindowAlive();
        if (previous == nullptr || f.path != *previous) {
            previous = &f.path;
            if (tree.sourceFolder >= 0) (void)fs_.close(std::exchange(tree.sourceFolder, -1));
            if (const auto folder = fs_.openFolder(f.path)) tree.sourceFolder = *folder;
            folderReady = makeFolders(tree, f.path.substr(tree.lead));
            if (folderReady) tree.filled.insert(f.path);
            if (!folderReady && tree.sourcesGo) {
                tree.failed = true;
                return StepOutcome::Continue;
            }
        }
        if (!folderReady) {
            tree.complete = false;  // its folder could not be made, as was said
            continue;
        }
        switch (place(f.path + f.name, tree.target, f.name, askReplaceFile_, tree.sourcesGo, tree.sourceFolder)) {
            case Placed::Done:
            case Placed::Renamed:
                break;
            case Placed::End:
                return StepOutcome::EndProgram;
            case Placed::Skipped:
                tree.complete = false;
                break;
            case Placed::Failed:
                tree.complete = false;
                if (tree.sourcesGo) tree.failed = true;
                break;
        }
        if (removalRefused_) tree.failed = true;
        if (tree.failed) return StepOutcome::Continue;
    }
    return StepOutcome::Continue;
}

// Opens (making what is missing) the target folder for files of relative,
// one level at a time from the destination, never through a link. A
// folder that cannot be made is told once, with the folder it was for;
// what lies below it is passed over silently.
bool Transfer::makeFolders(Tree& tree, const std::string& relative) {
    tree.target.reset();
    std::shared_ptr<TargetFolder> at = *destination_;
    std::string done;
    for (const std::string& part : namesOf(relative)) {
        done += part + kSep;
        for (const std::string& unmade : tree.unmade)
            if (done.compare(0, unmade.size(), unmade) == 0) return false;
        const std::string sourceFolder = tree.source.substr(0, tree.lead) + withoutTrailingSep(done);
        bool fresh = at->fresh();
        auto opened = fresh ? Result<FolderHandle>(Error::fromErrno(ENOENT)) : fs_.openFolderAt(at->handle(), part);
        if (!opened && opened.error().number == ENOENT) {
            if (at->rules().facts.fatNames && !fatNameAllowed(part)) {
                tell(sourceFolder +
                     " has a name the destination drive does not allow (no : * ? \" < > | \\ and no "
                     "dot or blank at the end); it was skipped.");
                tree.unmade.push_back(done);
                return false;
            }
            // Filled first, so its owner may write it; its own bits come last.
            const auto facts = fs_.stat(sourceFolder);
            const std::uint32_t mode = facts ? facts->mode & 0777 : 0755;
            const Status made = fs_.makeDirAt(at->handle(), part, mode | 0700);
            // Made before by this transfer (a folder of files, met again
            // among the empty ones), or just now.
            if (made || (fresh && made.error().number == EEXIST))
                opened = fs_.openFolderAt(at->handle(), part);
            else
                opened = made.error();
            if (made && (mode | 0700) != mode) tree.made.push_back({done, mode});
            fresh = true;
        }
        if (!opened) {
            tell(destinationPath_ + kSep + withoutTrailingSep(done) +
                 " could not be created: " + opened.error().description);
            tree.unmade.push_back(done);
            return false;
        }
        at = target(*opened, fresh);
    }
    tree.target = std::move(at);
    return true;
}

// Folders without files of their own arrive too, empty ones included (the
// others are there already);
// Copy goes on past one that cannot be made, Move stops there.
bool Transfer::makeEmptyFolders(Tree& tree) {
    bool made = true;
    for (const std::string& folder : tree.folders) {
        if (tree.filled.count(folder) != 0 || makeFolders(tree, folder.substr(tree.lead))) continue;
        made = false;
        tree.complete = false;
        if (tree.sourcesGo) break;
    }
    tree.target.reset();
    return made;
}

// The folders this transfer made get the bits of their sources (less the
// creation mask) once they are filled, so that a read-only source folder
// could be filled; the deepest first.
void Transfer::setFolderModes(const Tree& tree) {
    if (tree.made.empty()) return;
    const std::uint32_t mask = fs_.creationMask();
    for (auto it = tree.made.rbegin(); it != tree.made.rend(); ++it) {
        FolderHandle at = (*destination_)->handle();
        std::vector<FolderHandle> opened;
        bool reached = true;
        for (const std::string& part : namesOf(it->relative)) {
            const auto next = fs_.openFolderAt(at, part);
            if (!next) {
                reached = false;
                break;
            }
            opened.push_back(at = *next);
        }
        if (reached) (void)fs_.setMode(at, it->mode & ~mask);
        for (const FolderHandle h : opened) (void)fs_.close(h);
    }
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

Result<std::int64_t> Transfer::CopyFileData(FileHandle in, FileHandle out, std::int64_t length, CopyHints& hints) {
    const std::int64_t chunks = length / kChunk;
    std::int64_t done = 0;
    std::int64_t shown = 0;
    if (piece_ <= 0) piece_ = pacing.firstPiece;
    while (done < length) {
        const std::int64_t want = std::min(piece_, length - done);
        const auto start = Clock::now();
        const auto moved = fs_.copyRange(in, out, want, hints);
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
