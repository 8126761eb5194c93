// The transfer's rules, run on scratch trees through the real file system
// with scripted answers at the prompts seam and faults at the system calls.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <regex>

#include "platform/Paths.h"
#include "platform/SystemCalls.h"
#include "support/RecordingDisplay.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"
#include "transfer/TransferEngine.h"

using namespace farsend;
using namespace farsend::test;
namespace fs = std::filesystem;

namespace {

// While it lives, the system calls under the real file system answer
// otherwise where the faults in force say so, and the calls that matter are
// logged: "data" (a run of reads and writes of file data), "name:N" (an
// entry gets the name N), "delete:N" (a source is deleted), "syncfs".
class SystemCallFaults {
public:
    SystemCallFaults() : saved_(sys::calls()) {
        current_ = this;
        sys::Calls& c = sys::calls();
        c.openat = [](int d, const char* p, int flags, mode_t m) {
            if ((flags & O_TMPFILE) == O_TMPFILE && on("named")) return errno = EOPNOTSUPP, -1;
            if (on("unreadable") && withoutTrailingSep(p) == arg("unreadable")) return errno = EACCES, -1;
            const int fd = sys::realCalls().openat(d, p, flags, m);
            if (fd >= 0 && ((flags & O_TMPFILE) == O_TMPFILE || (flags & O_CREAT) != 0)) current_->outputs_[fd] = 0;
            return fd;
        };
        c.close = [](int fd) {
            const bool failing = isOutput(fd) && on("close");
            current_->outputs_.erase(fd);
            const int r = sys::realCalls().close(fd);
            return failing ? (errno = EIO, -1) : r;
        };
        c.read = [](int fd, void* b, size_t n) -> ssize_t {
            current_->log("data");
            const auto ok = allowance(static_cast<std::int64_t>(n), limit("read"), current_->read_, EIO);
            return ok <= 0 && n > 0 ? -1 : sys::realCalls().read(fd, b, static_cast<size_t>(ok));
        };
        c.write = [](int fd, const void* b, size_t n) -> ssize_t {
            if (!isOutput(fd)) return sys::realCalls().write(fd, b, n);
            current_->log("data");
            moving();
            const auto ok = allowance(static_cast<std::int64_t>(n), limit("full"), current_->outputs_[fd], ENOSPC);
            return ok <= 0 && n > 0 ? -1 : sys::realCalls().write(fd, b, static_cast<size_t>(ok));
        };
        c.copyFileRange = [](int in, off_t* io, int out, off_t* oo, size_t n, unsigned f) -> ssize_t {
            if (on("refuse")) return errno = std::stoi(arg("refuse")), -1;
            current_->log("data");
            moving();
            std::int64_t ignored = 0;
            std::int64_t& written = isOutput(out) ? current_->outputs_[out] : ignored;
            auto ok = allowance(static_cast<std::int64_t>(n), limit("full"), written, ENOSPC);
            if (ok > 0) ok = allowance(ok, limit("read"), current_->read_, EIO);
            return ok <= 0 ? -1 : sys::realCalls().copyFileRange(in, io, out, oo, static_cast<size_t>(ok), f);
        };
        c.renameat2 = [](int fd, const char* from, int td, const char* to, unsigned flags) {
            if (const int e = refusal(fd, to, (flags & RENAME_NOREPLACE) != 0 && on("norename"), EINVAL))
                return errno = e, -1;
            return named(to, sys::realCalls().renameat2(fd, from, td, to, flags));
        };
        c.linkat = [](int fd, const char* from, int td, const char* to, int flags) {
            // A name for an unnamed file is not a second name.
            const bool plain = (flags & AT_EMPTY_PATH) == 0 && std::string(from).rfind("/proc/", 0) != 0;
            if (const int e = refusal(plain ? fd : 0, to, plain && on("nolink"), EPERM)) return errno = e, -1;
            return named(to, sys::realCalls().linkat(fd, from, td, to, flags));
        };
        c.unlinkat = [](int fd, const char* p, int flags) {
            const int r = on("pinned") && fd == AT_FDCWD && flags == 0 ? (errno = EACCES, -1)
                                                                       : sys::realCalls().unlinkat(fd, p, flags);
            if (r == 0 && fd == AT_FDCWD && flags == 0) current_->log("delete:" + GetFileName(p));
            return r;
        };
        c.mkdirat = [](int fd, const char* p, mode_t m) {
            return on("rofs") ? (errno = EROFS, -1) : sys::realCalls().mkdirat(fd, p, m);
        };
        c.fstatat = [](int fd, const char* p, struct stat* st, int flags) {
            const int r = sys::realCalls().fstatat(fd, p, st, flags);
            if (r == 0 && on("zero") && std::to_string(st->st_ino) == arg("zero")) st->st_size = 0;
            return r;
        };
        c.syncfs = [](int fd) {
            current_->log("syncfs");
            return on("flushfail") ? (errno = EIO, -1) : sys::realCalls().syncfs(fd);
        };
        c.fstatfs = [](int fd, struct statfs* facts) {
            const int r = sys::realCalls().fstatfs(fd, facts);
            if (r == 0 && on("fat")) facts->f_type = 0x4d44;  // what a FAT file system answers
            return r;
        };
    }
    ~SystemCallFaults() {
        sys::calls() = saved_;
        current_ = nullptr;
    }

    std::map<std::string, std::string> set;    // the faults in force (Rig::fault), each with its argument
    std::function<void(int move)> beforeData;  // move counts from 1
    std::function<void()> afterNaming;         // after a link or a rename
    std::vector<std::string> calls;

    void log(const std::string& call) {
        if (call != "data" || calls.empty() || calls.back() != "data") calls.push_back(call);
    }

private:
    static inline SystemCallFaults* current_ = nullptr;
    static bool on(const char* kind) { return current_->set.count(kind) != 0; }
    static std::string arg(const char* kind) { return on(kind) ? current_->set.at(kind) : ""; }
    // The bytes a fault lets through, -1 for no limit.
    static std::int64_t limit(const char* kind) { return on(kind) ? std::stoll(arg(kind)) : -1; }
    static bool isOutput(int fd) { return current_->outputs_.count(fd) != 0; }
    static void moving() {
        if (current_->beforeData) current_->beforeData(++current_->moves_);
    }
    // The errno a fault gives renaming or linking from fd to to, or 0.
    static int refusal(int fd, const char* to, bool refused, int e) {
        if (fd == AT_FDCWD && (on("apart") || on("pinned"))) return on("apart") ? EXDEV : EACCES;
        if (refused || (on("badname") && to == arg("badname"))) return e;
        return 0;
    }
    static int named(const char* to, int result) {
        if (result != 0) return result;
        if (std::string(to).rfind(".farsend98-", 0) != 0) current_->log(std::string("name:") + to);
        if (current_->afterNaming) current_->afterNaming();
        return result;
    }
    // How much of want the limit still lets through; sets errno when none.
    static std::int64_t allowance(std::int64_t want, std::int64_t limit, std::int64_t& used, int error) {
        if (limit < 0) return want;
        const std::int64_t n = std::min(want, limit - used);
        if (n <= 0) errno = error;
        used += std::max<std::int64_t>(n, 0);
        return n;
    }

    sys::Calls saved_;
    std::map<int, std::int64_t> outputs_;  // written files and their bytes
    std::int64_t read_ = 0;
    int moves_ = 0;
};

struct Rig {
    TempTree tree;
    ScriptedPrompts prompts;
    RecordingDisplay display;
    SystemCallFaults faults;
    Rig() { ::umask(022); }
    // Runs "Copy a,b>Dest" on the tree; the outcome shows as "stopped"/"ended".
    void run(const std::string& command, const CopyPacing& pacing = {}) {
        const auto [head, dest] =
            std::pair(command.substr(0, command.find('>')), command.substr(command.find('>') + 1));
        std::vector<std::string> entries;
        for (const std::string& e : split(head.substr(5), ',')) entries.push_back(e[0] == '/' ? e : tree.path(e));
        Transfer transfer(realFileSystem(), prompts, display, head[0] == 'C' ? TransferMode::Copy : TransferMode::Move,
                          tree.path(dest));
        transfer.pacing = pacing;
        const StepOutcome outcome = transfer.walk(entries);
        faults.log("done");
        if (outcome != StepOutcome::Continue) display.add(outcome == StepOutcome::StopWalk ? "stopped" : "ended");
    }
    // The prompts as a row writes them: "exists N>answer", "rename N>typed"
    // (the proposal checked), "replace>k", "!message" (the tree's root as "~").
    std::string asked() const {
        static const std::pair<std::regex, const char*> forms[] = {
            {std::regex("^message Farsend 98: ([^]*)$"), "!$1"},
            {std::regex("^ask Farsend v\\. 3\\.0: (.*) already exists\\.\\.\\. replace\\?\r\nNo to rename, Cancel "
                        "to abort\\. > (.*)$"),
             "exists $1>$2"},
            {std::regex("^input Rename: Rename the file (.*) to: \\[Copy Of \\1\\] > (.*)$"), "rename $1>$2"},
            {std::regex("^replace > (.*)$"), "replace>$1"}};
        std::string out;
        for (std::string line : prompts.log) {
            for (std::size_t at; (at = line.find(tree.root())) != std::string::npos;)
                line.replace(at, tree.root().size(), "~");
            for (const auto& [form, shortened] : forms)
                if (std::regex_match(line, form)) line = std::regex_replace(line, form, shortened);
            out += (out.empty() ? "" : "|") + line;
        }
        return out;
    }
    // Answers in advance the questions a row's prompts expect.
    void answer(const std::string& expected) {
        for (const std::string& p : split(expected, '|'))
            if (p[0] != '!') prompts.answers.push_back(p.substr(p.find('>') + 1));
    }
    // Faults, "kind:arg" each, blank-separated: full/read (bytes), refuse
    // (errno), close, named (no unnamed files), norename (no exclusive
    // rename), nolink (no hard links), apart (sources on another file
    // system), pinned (a source's folder that refuses to let it go), fat, rofs, flushfail, badname (a name the file
    // system refuses), unreadable (a folder that cannot be read), zero (the file's length reads 0), gone (before the
    // walk), aged (last written an hour ago), held (locked by another program), or a change of the disk at the first
    // move of data (grow, growsame: the same time kept, shrink, touch: the same length rewritten, appear, rmdir, swap,
    // replace: another file put at the path, kill: the process killed; "path#n" at the n-th move instead) or once a
    // name is given (lose, displace).
    void fault(const std::string& list) {
        for (const std::string& item : split(list, ' ')) {
            const std::string kind = item.substr(0, item.find(':'));
            std::string arg = item.substr(item.find(':') + 1);
            const int when = arg.find('#') == std::string::npos ? 1 : std::stoi(arg.substr(arg.find('#') + 1));
            arg = arg.substr(0, arg.find('#'));
            const std::string at = tree.path(arg);
            struct stat st {};
            faults.set[kind] = kind == "unreadable"                             ? at
                               : kind == "zero" && ::stat(at.c_str(), &st) == 0 ? std::to_string(st.st_ino)
                                                                                : arg;
            if (kind == "gone") fs::remove(at);
            if (kind == "aged") fs::last_write_time(at, fs::last_write_time(at) - std::chrono::hours(1));
            if (kind == "held") {  // another program's lock, for as long as the rig lives
                const int fd = ::open(at.c_str(), O_RDONLY);
                ::flock(fd, LOCK_EX), held_ = std::shared_ptr<void>(nullptr, [fd](void*) { ::close(fd); });
            }
            if (kind == "lose") faults.afterNaming = [at] { fs::remove(at); };
            if (kind == "displace")
                faults.afterNaming = [this, at, once = true]() mutable {
                    if (std::exchange(once, false)) tree.file("other", "other"), fs::rename(tree.path("other"), at);
                };
            if (std::string("grow growsame shrink touch appear rmdir swap replace kill").find(kind) ==
                std::string::npos)
                continue;
            faults.beforeData = [this, kind, at, when](int move) {
                if (move != when) return;
                if (kind == "kill") ::raise(SIGKILL);
                if (kind == "grow" || kind == "growsame") {
                    const auto time = fs::last_write_time(at);
                    std::ofstream(at, std::ios::app) << std::string(1 << 20, 'g');
                    if (kind == "growsame") fs::last_write_time(at, time);
                }
                if (kind == "shrink") fs::resize_file(at, fs::file_size(at) / 2);
                if (kind == "touch") std::fstream(at, std::ios::in | std::ios::out).put('t');
                if (kind == "appear") tree.file(at.substr(tree.root().size() + 1), "intruder");
                if (kind == "rmdir") fs::remove_all(at);
                if (kind == "swap") fs::rename(at, at + ".old"), fs::create_directory_symlink("elsewhere", at);
                if (kind == "replace") tree.file("other", "other"), fs::rename(tree.path("other"), at);
            };
        }
    }

private:
    std::shared_ptr<void> held_;
};

// A scenario: the tree, "Copy|Move a,b>Dest", the prompts with their
// answers, what the window shows, what changes on disk, faults, and where
// a row says so, the calls that matter in their order.
struct Row {
    const char *name, *tree, *command, *prompts, *shown, *changes, *fault = "", *calls = nullptr;
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }  // the row's name in test listings

class Scenario : public ::testing::TestWithParam<Row> {};

TEST_P(Scenario, EndsAsWritten) {
    const Row& r = GetParam();
    Rig rig;
    rig.tree.build(r.tree);
    rig.fault(r.fault);
    const std::string before = rig.tree.snapshot();
    rig.answer(r.prompts);
    rig.run(r.command);
    EXPECT_EQ(rig.asked(), r.prompts);
    EXPECT_EQ(rig.display.shown, r.shown);
    EXPECT_EQ(rig.tree.changesSince(before), r.changes);
    EXPECT_EQ(r.calls ? join(rig.faults.calls, " ") : "", r.calls ? r.calls : "");
}

const char* const kExists = "src/a.txt=new;src/b.txt=bee;Dest/a.txt=old content, longer";
const char* const kAgain =
    "Src/a.txt=new a;Src/Sub/b.txt=new b;Dest/Src/a.txt=old a, longer;Dest/Src/Sub/b.txt=old b;"
    "Later/c.txt=new c;Dest/Later/c.txt=old c";
const char* const kLeftover = "a.txt=a;Dest/.farsend98-0badc0de.part=left";

// clang-format off
INSTANTIATE_TEST_SUITE_P(FileStep, Scenario, ::testing::Values(
    Row{"HalvesToEven", "f.bin*200000;Dest/", "Copy f.bin>Dest", "", "Copying f.bin, 12, 25, 38, 50, 62, 75, 88, 100", "Dest/f.bin*200000", "refuse:38"},  // the kernel refuses: read and write
    Row{"BarKeptBetweenFiles", "b.bin*60000;s.bin*10000;Dest/", "Copy b.bin,s.bin>Dest", "", "Copying b.bin, 42, 83, Copying s.bin", "Dest/b.bin*60000;Dest/s.bin*10000", "refuse:1"},
    Row{"YesReplacesWhole", kExists, "Copy src/a.txt,src/b.txt>Dest", "exists a.txt>Yes", "Copying a.txt, Copying b.txt", "Dest/a.txt=new;Dest/b.txt=bee"},
    Row{"CancelSkipsOnlyThisFile", kExists, "Move src/a.txt,src/b.txt>Dest", "exists a.txt>Cancel", "Moving b.txt, 100", "-src/b.txt;Dest/b.txt=bee"},
    Row{"RenameStopsTheWalk", kExists, "Move src/a.txt,src/b.txt>Dest", "exists a.txt>No|rename a.txt>Copy Of a.txt", "Moving Copy Of a.txt, 100, stopped", "-src/a.txt;Dest/Copy Of a.txt=new"},
    Row{"RenameAskedUntilUsable", "src/a.txt=new;Dest/a.txt=old;Dest/taken.txt=t;outside.txt=o", "Copy src/a.txt>Dest", "exists a.txt>No|rename a.txt>a.txt|rename a.txt>../outside.txt|rename a.txt>.|rename a.txt>..|rename a.txt>taken.txt|rename a.txt>A.TXT", "Copying A.TXT, stopped", "Dest/A.TXT=new"},
    Row{"RenameEmptyEnds", kExists, "Copy src/a.txt,src/b.txt>Dest", "exists a.txt>No|rename a.txt>", "ended", ""},
    Row{"HiddenNameIsAConflict", "src/.p=new;Dest/.p=old", "Copy src/.p>Dest", "exists .p>Cancel", "", ""},
    Row{"FolderOfTheName", "src/a.txt=new;Dest/a.txt/", "Move src/a.txt>Dest", "!Is a directory", "Moving a.txt", ""},
    Row{"SameFileThroughLink", "src/a.bin*70000;o/b.txt=bee;alias@src", "Move src/a.bin,o/b.txt>alias", "!The destination of ~/src/a.bin is the file itself; it was left as it is.", "Moving b.txt, 100", "-o/b.txt;src/b.txt=bee"},
    Row{"PipeAndDanglingLink", "src/p|;src/d@nowhere;src/b.txt=bee;Dest/", "Move src/p,src/d,src/b.txt>Dest", "!~/src/p is not a plain file (a pipe, socket or device); it was skipped.|!~/src/d is a link to an item that no longer exists; it was skipped.", "Moving b.txt, 100", "-src/b.txt;Dest/b.txt=bee"},
    Row{"VanishedEntry", "src/a.txt=a;src/b.txt=bee;Dest/", "Copy src/a.txt,src/b.txt>Dest", "", "Copying b.txt", "Dest/b.txt=bee", "gone:src/a.txt"},
    Row{"LengthReadsZero", "Dest/", "Copy /proc/self/comm>Dest", "", "Copying comm", "Dest/comm=test_transfer\n"},  // read to its end
    Row{"NoTruncatedCopy", "a.bin*100000;Dest/", "Copy a.bin>Dest", "!The file ended before all of its bytes were read.", "Copying a.bin, 25, 50", "a.bin*50000", "shrink:a.bin"},
    Row{"PermissionBitsKept", "p~600=s;x~4755=#!;Dest/p=old", "Copy p,x>Dest", "exists p>Yes", "Copying p, Copying x", "Dest/p~600=s;Dest/x~755=#!"},  // never set-user-ID
    Row{"DiskFullNoTrace", "a.bin*100000;b.txt=bee;Dest/", "Move a.bin,b.txt>Dest", "!No space left on device", "Moving a.bin, Moving b.txt", "-b.txt;Dest/b.txt=bee", "full:30000 apart"},
    Row{"FailedReplaceKeepsOld", "a.bin*100000;Dest/a.bin=old", "Copy a.bin>Dest", "exists a.bin>Yes|!No space left on device", "Copying a.bin", "", "full:30000"},
    Row{"ReadError", "a.bin*80000;Dest/", "Move a.bin>Dest", "!Input/output error", "Moving a.bin, 31, 62", "", "read:65536 apart"},
    Row{"LateCloseFailure", "a.txt=a;Dest/", "Move a.txt>Dest", "!Input/output error", "Moving a.txt", "", "close apart"},
    Row{"LateCloseFailureOnReplace", "a.txt=a;Dest/a.txt=old", "Move a.txt>Dest", "exists a.txt>Yes|!Input/output error", "Moving a.txt", "", "close apart"},
    Row{"KernelCopyRefusedXdev", "f.bin*70000;Dest/", "Copy f.bin>Dest", "", "Copying f.bin, 36, 71", "Dest/f.bin*70000", "refuse:18"},
    Row{"DestinationRemoved", "a.txt=a;Dest/", "Move a.txt>Dest", "!No such file or directory", "Moving a.txt", "-Dest/", "rmdir:Dest apart"},
    Row{"FileAppearsAtTheName", "a.txt=new;Dest/", "Copy a.txt>Dest", "exists a.txt>Cancel", "Copying a.txt", "Dest/a.txt=intruder", "appear:Dest/a.txt"},
    Row{"ReadOnlyFileNotReplaced", "a.txt=new;Dest/a.txt~444=old", "Copy a.txt>Dest", "exists a.txt>Yes|!Permission denied", "Copying a.txt", ""},
    Row{"LinkAtTheNameReplaced", "a.txt=new;out.txt=keep;Dest/a.txt@../out.txt", "Move a.txt>Dest", "exists a.txt>Yes", "Moving a.txt, 100", "-a.txt;Dest/a.txt=new"},
    Row{"DanglingLinkAtTheName", "a.txt=new;Dest/a.txt@../none", "Copy a.txt>Dest", "exists a.txt>Yes", "Copying a.txt", "Dest/a.txt=new"},
    Row{"DestinationSwappedForALink", "a.txt=a;b.txt=b;elsewhere/;Dest/", "Copy a.txt,b.txt>Dest", "", "Copying a.txt, Copying b.txt", "-Dest/;Dest.old/;Dest.old/a.txt=a;Dest.old/b.txt=b;Dest@elsewhere", "swap:Dest"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(FolderTree, Scenario, ::testing::Values(
    Row{"YesToAllHoldsForLaterFolders", kAgain, "Copy Src,Later>Dest", "replace>2", "Copying a.txt, Copying b.txt, Copying c.txt", "Dest/Later/c.txt=new c;Dest/Src/Sub/b.txt=new b;Dest/Src/a.txt=new a"},
    Row{"NoToAllCopiesOnlyNewFiles", "Src/a.txt=new a;Src/Sub/b.txt=new b;Dest/Src/a.txt=old;Later/c.txt=c;Dest/Later/c.txt=old", "Copy Src,Later>Dest", "replace>4", "Copying a.txt, Copying b.txt, Copying c.txt", "Dest/Src/Sub/;Dest/Src/Sub/b.txt=new b"},
    Row{"CancelEnds", kAgain, "Copy Src,Later>Dest", "replace>0", "Copying a.txt, ended", ""},
    Row{"MoveWithNoKeepsFolders", "Src/a.txt=a;Src/Sub/b.txt=new;Dest/Src/Sub/b.txt=old", "Move Src>Dest", "replace>3", "Moving a.txt, 100, Moving b.txt", "-Src/a.txt;Dest/Src/a.txt=a"},
    Row{"MovedWholeWithinADisk", "Src/E/;Src/A/B/x.txt=x;Src/.git/c=c;Dest/", "Move Src>Dest", "", "Moving Src, 100", "-Src/;-Src/.git/;-Src/.git/c;-Src/A/;-Src/A/B/;-Src/A/B/x.txt;-Src/E/;Dest/Src/;Dest/Src/.git/;Dest/Src/.git/c=c;Dest/Src/A/;Dest/Src/A/B/;Dest/Src/A/B/x.txt=x;Dest/Src/E/", "", "name:Src syncfs done"},
    Row{"EmptyAndIntermediateFolders", "Src/E/;Src/A/B/x.txt=x;Src/y.txt=y;Dest/", "Move Src>Dest", "", "Moving y.txt, Moving x.txt", "-Src/;-Src/A/;-Src/A/B/;-Src/A/B/x.txt;-Src/E/;-Src/y.txt;Dest/Src/;Dest/Src/A/;Dest/Src/A/B/;Dest/Src/A/B/x.txt=x;Dest/Src/E/;Dest/Src/y.txt=y", "apart", "data name:y.txt data name:x.txt syncfs delete:y.txt delete:x.txt done"},
    Row{"PermissionBitsKept", "P~700/;P/f~640=x;P/S~750/;P/S/g=y;R~555/;R/h=z;Src/l@../priv;priv~600=s;Dest/", "Copy P,R,Src>Dest", "", "Copying f, Copying g, Copying h, Copying l", "Dest/P/S/g=y;Dest/P/S~750/;Dest/P/f~640=x;Dest/P~700/;Dest/R/h=z;Dest/R~555/;Dest/Src/;Dest/Src/l~600=s"},
    Row{"HiddenAndSpecialFiles", "Src/.h=h;Src/S/p|;Dest/", "Copy Src>Dest", "!~/Src/S/p is not a plain file (a pipe, socket or device); it was skipped.", "Copying .h, Copying p", "Dest/Src/;Dest/Src/.h=h;Dest/Src/S/"},
    Row{"IntoItsOwnSubfolder", "Src/a.txt=a;Src/Sub/b.txt=b", "Copy Src>Src/Sub", "", "Copying a.txt, Copying b.txt", "Src/Sub/Src/;Src/Sub/Src/Sub/;Src/Sub/Src/Sub/b.txt=b;Src/Sub/Src/a.txt=a"},
    Row{"IntoItsOwnParent", "Src/a.txt=a", "Move Src>.", "!The destination of ~/Src is the folder itself; it was left as it is.", "", ""},
    Row{"MoveStopsAtAFailedCopy", "Src/a.txt=a;Src/S/b.bin*100000;Src/S/D/c.txt=c;Dest/", "Move Src>Dest", "!No space left on device", "Moving a.txt, Moving b.bin", "-Src/a.txt;Dest/Src/;Dest/Src/S/;Dest/Src/a.txt=a", "full:30000 apart"},
    Row{"MoveStopsAtASourceThatStays", "Src/ro~444=x;Src/S/b=y;Dest/", "Move Src>Dest", "!~/Src/ro could not be deleted: Permission denied", "Moving ro, Moving b", "-Src/S/b;Dest/Src/;Dest/Src/S/;Dest/Src/S/b=y;Dest/Src/ro~444=x", "apart"},
    Row{"DestinationRemoved", "Src/a.txt=new a;Src/Sub/b.txt=new b;Dest/", "Move Src>Dest", "!No such file or directory", "Moving a.txt", "-Dest/", "rmdir:Dest apart"},
    Row{"NoDestination", "Src/a=x", "Copy Src>Gone", "!~/Src could not be transferred: No such file or directory", "", ""},
    Row{"ReadOnlyDestination", "Src/a=x;Src/S/b=y;T/c=z;Dest/", "Move Src,T>Dest", "!~/Dest/Src could not be created: Read-only file system|!~/Dest/T could not be created: Read-only file system", "", "", "rofs apart"},
    Row{"UnreadFolderToldCopyGoesOn", "Src/top=t;Src/locked/x=x;Src/aa/a=a;Dest/", "Copy Src>Dest", "!These folders could not be read; what they hold was not transferred:\r\n~/Src/locked", "Copying top, Copying a", "Dest/Src/;Dest/Src/aa/;Dest/Src/aa/a=a;Dest/Src/top=t", "unreadable:Src/locked"},
    Row{"UnreadFolderKeptByMove", "Src/top=t;Src/locked/x=x;Src/aa/a=a;Dest/", "Move Src>Dest", "!These folders could not be read; what they hold was not transferred:\r\n~/Src/locked", "Moving top, Moving a", "-Src/aa/;-Src/aa/a;-Src/top;Dest/Src/;Dest/Src/aa/;Dest/Src/aa/a=a;Dest/Src/top=t", "unreadable:Src/locked apart"},
    Row{"FileAppearsAtTheName", "Src/a.txt=new;Dest/", "Copy Src>Dest", "replace>3", "Copying a.txt", "Dest/Src/;Dest/Src/a.txt=intruder", "appear:Dest/Src/a.txt"},
    Row{"LinkAtTheNameReplaced", "Src/a.txt=new;out.txt=keep;Dest/Src/a.txt@../../out.txt", "Copy Src>Dest", "replace>1", "Copying a.txt", "Dest/Src/a.txt=new"},
    Row{"LinkInPlaceOfAFolder", "Src/a.txt=a;elsewhere/;Dest/Src@../elsewhere", "Copy Src>Dest", "!~/Dest/Src could not be created: Not a directory", "", ""},
    Row{"MoveOfALinkToAFolder", "Real/a.txt=a;Real/S/b.txt=b;link@Real;Dest/", "Move link>Dest", "", "Moving a.txt, Moving b.txt", "-link;Dest/link/;Dest/link/S/;Dest/link/S/b.txt=b;Dest/link/a.txt=a"},
    Row{"LinkKeptAfterAnIncompleteCopy", "Real/a.txt=a;Real/S/b.bin*100000;link@Real;Dest/", "Move link>Dest", "!No space left on device|!The link ~/link was kept: not everything in the folder it points to was copied.", "Moving a.txt, Moving b.bin", "Dest/link/;Dest/link/S/;Dest/link/a.txt=a", "full:30000"}),
    [](const auto& row) { return std::string(row.param.name); });

// Each way of giving a copy its name, forced in turn: a file put at the
// name while the copy is written is asked about under every one of them,
// and no hidden file is left.
INSTANTIATE_TEST_SUITE_P(Naming, Scenario, ::testing::Values(
    Row{"UnnamedFile", "a.txt=new;Dest/", "Copy a.txt>Dest", "exists a.txt>Yes", "Copying a.txt, Copying a.txt", "Dest/a.txt=new", "appear:Dest/a.txt"},
    Row{"ExclusiveRename", "a.txt=new;Dest/", "Copy a.txt>Dest", "exists a.txt>Yes", "Copying a.txt, Copying a.txt", "Dest/a.txt=new", "named appear:Dest/a.txt"},
    Row{"HardLink", "a.txt=new;Dest/", "Copy a.txt>Dest", "exists a.txt>Cancel", "Copying a.txt", "Dest/a.txt=intruder", "named norename appear:Dest/a.txt"},
    Row{"CheckedRename", "a.txt=new;Dest/", "Copy a.txt>Dest", "exists a.txt>Cancel", "Copying a.txt", "Dest/a.txt=intruder", "named norename nolink appear:Dest/a.txt"},
    Row{"NameRefusedNotTheWay", "x:y=new;b.txt=b;Dest/", "Copy x:y,b.txt>Dest", "!Invalid argument|exists b.txt>Cancel", "Copying x:y, Copying b.txt", "Dest/b.txt=intruder", "named badname:x:y appear:Dest/b.txt#2"},  // the next file is still named exclusively
    Row{"KilledCopysLeftoverGoes", kLeftover, "Copy a.txt>Dest", "", "Copying a.txt", "-Dest/.farsend98-0badc0de.part;Dest/a.txt=a", "named aged:Dest/.farsend98-0badc0de.part"},
    Row{"LeftoverBeingWrittenStays", kLeftover, "Copy a.txt>Dest", "", "Copying a.txt", "Dest/a.txt=a", "named aged:Dest/.farsend98-0badc0de.part held:Dest/.farsend98-0badc0de.part"},
    Row{"RecentLeftoverStays", kLeftover, "Copy a.txt>Dest", "", "Copying a.txt", "Dest/a.txt=a", "named"}),
    [](const auto& row) { return std::string(row.param.name); });

// Moving: within one file system the file itself is renamed, with its bits,
// and no data moves; across file systems nothing is deleted before the
// copies are on the device, and only what is still what was copied.
INSTANTIATE_TEST_SUITE_P(Move, Scenario, ::testing::Values(
    Row{"RenamedWithinADisk", "a~640=x;ro~444=r;Dest/", "Move a,ro>Dest", "", "Moving a, 100, Moving ro, 100", "-a;-ro;Dest/a~640=x;Dest/ro~444=r", "", "name:a name:ro syncfs done"},
    Row{"TakenNameStillAsks", kExists, "Move src/a.txt,src/b.txt>Dest", "exists a.txt>Yes", "Moving a.txt, 100, Moving b.txt, 100", "-src/a.txt;-src/b.txt;Dest/a.txt=new;Dest/b.txt=bee", "", "name:a.txt name:b.txt syncfs done"},
    Row{"ByLinkWithoutExclusiveRename", "a.txt=a;Dest/", "Move a.txt>Dest", "", "Moving a.txt, 100", "-a.txt;Dest/a.txt=a", "norename", "name:a.txt delete:a.txt syncfs done"},
    Row{"ByCheckWithNothingElse", "a.txt=a;Dest/", "Move a.txt>Dest", "", "Moving a.txt, 100", "-a.txt;Dest/a.txt=a", "norename nolink", "name:a.txt syncfs done"},
    Row{"AcrossDisksFlushedBeforeDeleting", "a.txt=a;b.txt=b;Dest/", "Move a.txt,b.txt>Dest", "", "Moving a.txt, Moving b.txt", "-a.txt;-b.txt;Dest/a.txt=a;Dest/b.txt=b", "apart", "data name:a.txt data name:b.txt syncfs delete:a.txt delete:b.txt done"},
    Row{"CopyFlushedBeforeTheEnd", "a.txt=a;b.txt=b;Dest/", "Copy a.txt,b.txt>Dest", "", "Copying a.txt, Copying b.txt", "Dest/a.txt=a;Dest/b.txt=b", "", "data name:a.txt data name:b.txt syncfs done"},
    Row{"FlushFailsSourcesStay", "a.txt=a;Dest/", "Move a.txt>Dest", "!Input/output error|!What was written to ~/Dest may not all be on the drive: Input/output error", "Moving a.txt", "Dest/a.txt=a", "apart flushfail"},
    Row{"ReadOnlySourceStaysAcrossDisks", "ro~444=data;Dest/", "Move ro>Dest", "", "Moving ro", "Dest/ro~444=data", "apart"},
    Row{"SourceFolderRefusesTheRename", "a.txt=a;Dest/", "Move a.txt>Dest", "", "Moving a.txt", "Dest/a.txt=a", "pinned"},  // copied; stays
    Row{"SourceGrowsItsTimeKept", "a.bin*100000;Dest/", "Move a.bin>Dest", "!~/a.bin changed while it was copied; it was left where it is.", "Moving a.bin, 25, 50, 75, 100", "Dest/a.bin*100000;a.bin#1148576", "growsame:a.bin apart"},
    Row{"SourceRewrittenInPlace", "a.txt=a;Dest/", "Move a.txt>Dest", "!~/a.txt changed while it was copied; it was left where it is.", "Moving a.txt", "Dest/a.txt=t;a.txt=t", "touch:a.txt apart"},
    Row{"SourceLengthReadsZero", "a.bin*100000;Dest/", "Move a.bin>Dest", "!~/a.bin changed while it was copied; it was left where it is.", "Moving a.bin", "Dest/a.bin*100000", "zero:a.bin apart"},
    Row{"AnotherFileAtTheSourcePath", "a.txt=a;Dest/", "Move a.txt>Dest", "!~/a.txt changed while it was copied; it was left where it is.", "Moving a.txt", "Dest/a.txt=a;a.txt=other", "replace:a.txt apart"},
    Row{"CopyGoneFromItsName", "a.txt=a;Dest/", "Move a.txt>Dest", "!The copy of ~/a.txt is not where it was written; ~/a.txt was left where it is.", "Moving a.txt", "", "lose:Dest/a.txt apart"},
    Row{"AnotherFileAtTheCopysName", "a.txt=a;Dest/", "Move a.txt>Dest", "!The copy of ~/a.txt is not where it was written; ~/a.txt was left where it is.", "Moving a.txt", "Dest/a.txt=other", "displace:Dest/a.txt apart"}),
    [](const auto& row) { return std::string(row.param.name); });

// A FAT destination: the names it refuses are told and skipped (a Move
// keeps them), whichever way the bytes would have gone.
INSTANTIATE_TEST_SUITE_P(Fat, Scenario, ::testing::Values(
    Row{"RefusedFileName", "a:b=x;ok=y;Dest/", "Move a:b,ok>Dest", "!~/a:b has a name the destination drive does not allow (no : * ? \" < > | \\ and no dot or blank at the end); it was skipped.", "Moving ok, 100", "-ok;Dest/ok=y", "fat"},
    Row{"RefusedFolderName", "Src/a.=x;Src/S?/f=y;Src/T/g=z;Dest/", "Copy Src>Dest", "!~/Src/a. has a name the destination drive does not allow (no : * ? \" < > | \\ and no dot or blank at the end); it was skipped.|!~/Src/S? has a name the destination drive does not allow (no : * ? \" < > | \\ and no dot or blank at the end); it was skipped.", "Copying a., Copying g", "Dest/Src/;Dest/Src/T/;Dest/Src/T/g=z", "fat"}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

// Whatever the size of the pieces the bytes move in, every whole chunk gets
// its value in order, the copy is exact, and the window is served.
TEST(CopyFileData, SameValuesForAnyPieceSize) {
    for (const std::int64_t piece :
         {std::int64_t{4096}, std::int64_t{25000}, std::int64_t{77777}, std::int64_t{64} << 20}) {
        Rig rig;
        rig.tree.build("f.bin*1000001;Dest/");
        CopyPacing pacing;
        pacing.firstPiece = pacing.minPiece = pacing.maxPiece = piece;
        pacing.eventInterval = std::chrono::microseconds(0);
        rig.run("Copy f.bin>Dest", pacing);
        std::string expected = "Copying f.bin";
        for (int k = 1; k <= 40; ++k) expected += ", " + std::to_string(chunkPercent(k, 1000001));
        EXPECT_EQ(rig.display.shown, expected) << piece;
        EXPECT_EQ(rig.tree.changesSince(""), "Dest/;Dest/f.bin*1000001;f.bin*1000001") << piece;
        // One big file alone keeps the window served, piece after piece.
        EXPECT_GE(rig.display.passes, piece == 4096 ? 200 : 2) << piece;
    }
}

// Past 4 GiB a file keeps its length, its bytes and its holes. A FAT file
// system holds no file of 4 GiB: refused before a byte is written, and a
// Move keeps its source.
TEST(CopyFileData, FourGiBAndMore) {
    Rig rig;
    const std::int64_t size = (std::int64_t{1} << 32) + 12345;  // the last byte lies past 4 GiB
    rig.tree.build("huge=A;Dest/;Fat/");
    fs::resize_file(rig.tree.path("huge"), static_cast<std::uintmax_t>(size));
    std::fstream(rig.tree.path("huge"), std::ios::in | std::ios::out).seekp(size - 1).put('m');
    rig.run("Copy huge>Dest");
    std::ifstream in(rig.tree.path("Dest/huge"), std::ios::binary);
    EXPECT_EQ(std::string({char(in.get()), char(in.seekg(size - 1).get()), char(in.get())}), "Am\xff");  // then EOF
    struct stat st {};
    ASSERT_EQ(::stat(rig.tree.path("Dest/huge").c_str(), &st), 0);
    EXPECT_LT(st.st_blocks * 512, 1 << 20);
    EXPECT_EQ(std::count(rig.display.shown.begin(), rig.display.shown.end(), ','), size / 25000);
    fs::resize_file(rig.tree.path("huge"), std::uintmax_t{1} << 32);
    rig.faults.calls.clear();
    rig.fault("fat apart");
    rig.run("Move huge>Fat");
    EXPECT_EQ(rig.asked(), "!File too large");
    EXPECT_TRUE(fs::is_empty(rig.tree.path("Fat")));
    EXPECT_EQ(fs::file_size(rig.tree.path("huge")), std::uintmax_t{1} << 32);
    EXPECT_EQ(std::count(rig.faults.calls.begin(), rig.faults.calls.end(), "data"), 0);
}

// A copy killed half way leaves nothing in the destination.
TEST(CopyFileData, KilledMidCopyLeavesNoTrace) {
    Rig rig;
    rig.tree.build("a.bin*3000000;Dest/");
    const pid_t child = ::fork();
    if (child == 0) rig.fault("kill"), rig.run("Copy a.bin>Dest"), ::_exit(0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(std::pair(WIFSIGNALED(status), rig.tree.changesSince("a.bin*3000000;Dest/")),
              std::pair(true, std::string()));
}

}  // namespace
