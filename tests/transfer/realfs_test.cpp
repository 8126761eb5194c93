// The transfer on real file systems the machine mounts for the test: FAT32
// and exFAT through their FUSE daemons (as a desktop mounts a stick where
// the kernel has no driver), and ext4 on a loop device stopped without a
// flush right after the program ends (as when a stick is pulled). Each
// round needs root, the tools and the kernel's help, and is skipped, saying
// why, where the machine has not got them.
//
// Every transfer runs in a child process with a deadline, so a FUSE daemon
// that hangs or dies fails a round instead of wedging the suite; every
// mount is undone when the round ends, whatever its checks said.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "support/RecordingDisplay.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

using namespace farsend;
using namespace farsend::test;
namespace fs = std::filesystem;

namespace {

// What a child process wrote and how it ended: in time, with status.
struct Ended {
    std::string output;
    bool inTime = false;
    int status = 0;
    bool ok() const { return inTime && WIFEXITED(status) && WEXITSTATUS(status) == 0; }
};

// Runs body in a child process with a deadline: the alarm ends it, also
// when it waits on a FUSE daemon that hangs (such a wait gives way to a
// fatal signal). Its output goes to a memory file, not a pipe: a daemon it
// starts keeps its copy of the descriptor for as long as it lives. Standard
// input stays open (on nothing): a daemon that found its image opened as
// descriptor 0 would lose it when it detaches.
Ended inChild(const std::function<void()>& body, int seconds) {
    const int out = ::memfd_create("output", MFD_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(static_cast<unsigned>(seconds));
        if (const int none = ::open("/dev/null", O_RDONLY); none >= 0) ::dup2(none, 0);
        ::dup2(out, 1), ::dup2(out, 2);
        body();
        std::fflush(stdout);
        ::_exit(0);
    }
    Ended e;
    e.inTime =
        pid > 0 && ::waitpid(pid, &e.status, 0) == pid && !(WIFSIGNALED(e.status) && WTERMSIG(e.status) == SIGALRM);
    e.output.resize(8192);
    e.output.resize(static_cast<std::size_t>(std::max<ssize_t>(::pread(out, e.output.data(), e.output.size(), 0), 0)));
    ::close(out);
    return e;
}

[[noreturn]] void exec(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

// Runs a command with a deadline; its output, or why it failed, when it did.
std::string run(const std::vector<std::string>& args, int seconds = 20, bool* ok = nullptr) {
    const Ended e = inChild([&] { exec(args); }, seconds);
    if (ok != nullptr) *ok = e.ok();
    if (e.ok()) return e.output;
    return args[0] + (e.inTime ? " failed: " : " did not end within " + std::to_string(seconds) + " s: ") + e.output;
}

// The path of a program in PATH or the system folders; empty when absent.
std::string tool(const std::string& name) {
    std::string dirs = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    for (const std::string& d : split(dirs + ":/usr/local/sbin:/usr/sbin:/sbin", ':'))
        if (::access((d + "/" + name).c_str(), X_OK) == 0) return d + "/" + name;
    return {};
}

// Whether something is mounted at point, from the mount table: asking
// the mount point itself would wait on a hung daemon.
bool mounted(const std::string& point) {
    std::ifstream table("/proc/self/mountinfo");
    for (std::string line; std::getline(table, line);)
        if (line.find(" " + point + " ") != std::string::npos) return true;
    return false;
}

// A small file system of the given kind ("FAT32", "exFAT" or "ext4") made in
// an image under a scratch folder and mounted there; skip says why not.
class Mount {
public:
    std::string skip;
    std::string point;

    Mount(const TempTree& scratch, const std::string& kind) : kind_(kind), image_(scratch.path("image")) {
        point = fs::canonical(scratch.dir("mnt")).string();  // as the mount table writes it
        skip = make();
        if (skip.empty()) mount();
    }
    ~Mount() {
        unmount();
        if (!loop_.empty()) (void)run({tool("losetup"), "-d", loop_});
    }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

    // Stops the file system where it stands, without writing back what is
    // still in memory, as when the device is pulled out; then mounts it
    // again. Says why, where that did not happen.
    std::string pullAndRemount() {
        bool ok = false;
        std::string said = run({tool("xfs_io"), "-x", "-c", "shutdown", point}, 20, &ok);
        // A stopped file system makes nothing more: else it was not stopped.
        const int probe = ::open((point + "/stopped").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (ok && probe < 0 && errno == EIO)
            said.clear();
        else
            said += " (the file system was not stopped)";
        if (probe >= 0) ::close(probe);
        unmount();
        if (!mount()) said += skip;
        return said;
    }

private:
    // Makes the image; why it cannot, where it cannot.
    std::string make() const {
        if (::geteuid() != 0) return "mounting needs root";
        if (kind_ != "ext4" && ::access("/dev/fuse", R_OK | W_OK) != 0) return "no /dev/fuse";
        const std::map<std::string, std::vector<std::pair<const char*, const char*>>> needs{
            {"FAT32", {{"mkfs.vfat", "dosfstools"}, {"fusefat", "fusefat"}}},
            {"exFAT", {{"mkfs.exfat", "exfatprogs"}, {"mount.exfat-fuse", "exfat-fuse"}, {"losetup", "mount"}}},
            {"ext4", {{"mkfs.ext4", "e2fsprogs"}, {"xfs_io", "xfsprogs"}, {"losetup", "mount"}}}};
        for (const auto& [name, package] : needs.at(kind_))
            if (tool(name).empty()) return std::string(name) + " is missing (Debian package " + package + ")";
        std::ofstream(image_).close();
        fs::resize_file(image_, kind_ == "FAT32" ? 34u << 20 : kind_ == "exFAT" ? 8u << 20 : 64u << 20);  // sparse
        bool ok = false;
        // FAT32 needs 65525 clusters: 34 MiB of 512-byte ones, most never written.
        const std::string said = kind_ == "FAT32"   ? run({tool("mkfs.vfat"), "-F", "32", "-s", "1", image_}, 20, &ok)
                                 : kind_ == "exFAT" ? run({tool("mkfs.exfat"), image_}, 20, &ok)
                                                    : run({tool("mkfs.ext4"), "-q", "-F", image_}, 20, &ok);
        return ok ? "" : said;
    }

    // Mounts the image at point; false, with skip saying why, where it cannot.
    bool mount() {
        bool ok = false;
        std::string said;
        if (kind_ == "FAT32") {
            said = run({tool("fusefat"), "-o", "rw+", image_, point}, 20, &ok);
        } else if (kind_ == "exFAT") {  // run as root, the daemon wants a block device
            said = loop_ = run({tool("losetup"), "-f", "--show", image_}, 20, &ok);
            loop_ = ok ? loop_.substr(0, loop_.find_last_not_of('\n') + 1) : "";  // none to let go of
            if (ok) said = run({tool("mount.exfat-fuse"), loop_, point}, 20, &ok);
        } else {
            said = run({"mount", "-o", "loop", image_, point}, 20, &ok);
        }
        if (!ok || !mounted(point)) {
            skip = kind_ + " could not be mounted: " + said;
            return false;
        }
        return true;
    }

    void unmount() {
        if (!mounted(point)) return;
        bool ok = false;
        (void)run({"umount", point}, 20, &ok);
        if (!ok) (void)run({"umount", "-l", point});  // a hung daemon holds the unmount
    }

    std::string kind_, image_, loop_;
};

// Runs the transfer in a child process that then ends normally; returns
// what it said: the prompts, one a line, or why it did not end.
std::string transferInChild(TransferMode mode, const std::vector<std::string>& entries, const std::string& dest,
                            const std::string& answer) {
    Ended e = inChild(
        [&] {
            ScriptedPrompts prompts;
            if (!answer.empty()) prompts.answers.push_back(answer);
            RecordingDisplay display;
            Transfer(realFileSystem(), prompts, display, mode, dest).walk(entries);
            for (const std::string& line : prompts.log) std::printf("%s\n", line.c_str());
        },
        30);
    if (!e.inTime)
        e.output += "(the transfer did not end within 30 s)";
    else if (!e.ok())
        e.output += "(ended with wait status " + std::to_string(e.status) + ")";
    return e.output;
}

constexpr auto pattern = &TempTree::pattern;

// "whole", "missing", or its length and how it differs from want.
std::string against(const std::string& path, const std::string& want) {
    if (!fs::is_regular_file(path)) return "missing";
    const std::string got = TempTree::read(path);
    return got == want ? "whole"
                       : std::to_string(got.size()) + " bytes of " + std::to_string(want.size()) + ", differs";
}

// Hidden files the program may have left behind, anywhere under root.
std::string leftovers(const std::string& root) {
    std::string found;
    for (const auto& e : fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied))
        if (e.path().filename().string().starts_with(".farsend98-")) found += e.path().string() + " ";
    return found;
}

// A round: the file system and the transfer, as "kind_Copy" or "kind_Move".
class RealFs : public ::testing::TestWithParam<const char*> {};

// Every file arrives whole, nothing hidden stays, and a Move leaves no
// source. ext4 is stopped without a flush the moment the program has ended
// (as when a stick is pulled): what the program wrote must be on the device.
TEST_P(RealFs, EveryFileArrivesWholeAndNothingHiddenStays) {
    TempTree tree;
    const std::string round = GetParam(), kind = round.substr(0, round.find('_'));
    Mount mount(tree, kind);
    if (!mount.skip.empty()) GTEST_SKIP() << mount.skip;
    // Sizes around the pieces the bytes move in; a private file, an empty
    // one, a subfolder and an empty folder; a file selected on its own, on
    // ext4 large enough to be still in memory when the program ends.
    const std::int64_t loose = kind == "ext4" ? 20000000 : 100000;
    const std::map<std::string, std::string> files{
        {"Tree/empty.txt", ""},          {"Tree/small.txt", "small text\n"},     {"Tree/big.bin", pattern(200000)},
        {"Tree/private.txt", "private"}, {"Tree/Sub/inner.bin", pattern(70000)}, {"loose.bin", pattern(loose)}};
    for (const auto& [name, content] : files) tree.file("src/" + name, content);
    ::chmod(tree.path("src/Tree/private.txt").c_str(), 0600);
    tree.dir("src/Tree/Empty");

    // A Copy onto FAT also meets its own rules: names it refuses (told, the
    // rest goes on), and a name taken by another that differs only in case
    // (a question, answered No).
    const TransferMode mode = round.ends_with("Copy") ? TransferMode::Copy : TransferMode::Move;
    const bool move = mode == TransferMode::Move, fatCopy = !move && kind != "ext4";
    std::vector<std::string> entries{tree.path("src/Tree"), tree.path("src/loose.bin")};
    std::string told;
    if (fatCopy) {
        for (const char* name : {"Odd/bad:name.txt", "Odd/dot.", "Odd/Case.txt", "Odd/case.txt"})
            tree.file(std::string("src/") + name, name);
        entries.push_back(tree.path("src/Odd"));
        for (const char* name : {"bad:name.txt", "dot."})
            told += "message Farsend 98: " + tree.path("src/Odd/") + name +
                    " has a name the destination drive does not allow (no : * ? \" < > | \\ and no dot or blank at "
                    "the end); it was skipped.\n";
        told += "replace > 3\n";
    }
    auto lines = split(transferInChild(mode, entries, mount.point, "3"), '\n');
    const std::string pulled = kind == "ext4" ? mount.pullAndRemount() : "";
    if (!pulled.empty()) FAIL() << pulled;
    std::sort(lines.begin(), lines.end());  // the order the source folder lists them in
    EXPECT_EQ(join(lines, "\n") + (lines.empty() ? "" : "\n"), told);
    if (fatCopy) {
        std::string odd;
        for (const auto& e : fs::directory_iterator(mount.point + "/Odd"))
            odd += e.path().filename().string() + "=" + TempTree::read(e.path().string()) + " ";
        EXPECT_TRUE(odd == "Case.txt=Odd/Case.txt " || odd == "case.txt=Odd/case.txt ") << odd;
    }
    std::string arrived, expected, sources;
    for (const auto& [name, content] : files) {
        arrived += name + ": " + against(mount.point + "/" + name, content) + "\n";
        expected += name + ": whole\n";
        if (fs::exists(tree.path("src/" + name)) == move) sources += name + (move ? " still there\n" : " gone\n");
    }
    arrived += fs::is_directory(mount.point + "/Tree/Empty") ? "Tree/Empty/\n" : "Tree/Empty/ missing\n";
    EXPECT_EQ(arrived, expected + "Tree/Empty/\n");
    EXPECT_EQ(sources + (move && fs::exists(tree.path("src/Tree")) ? "the folder Tree still there" : ""), "");
    EXPECT_EQ(leftovers(mount.point), "");
}

INSTANTIATE_TEST_SUITE_P(Rounds, RealFs,
                         ::testing::Values("FAT32_Copy", "FAT32_Move", "exFAT_Copy", "exFAT_Move", "ext4_Move",
                                           "ext4_Copy"),
                         [](const auto& round) { return std::string(round.param); });

}  // namespace
