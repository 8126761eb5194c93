// The transfer on real file systems the machine mounts for the test: FAT32
// and exFAT through their FUSE daemons (as a desktop mounts a stick where
// the kernel has no driver), and ext4 on a loop device stopped without a
// flush right after the program ends (as when a stick is pulled). Each
// round needs root, the tools and the kernel's help, and is skipped, saying
// why, where the machine has not got them.
//
// Every command and every transfer has a deadline, so a FUSE daemon that
// hangs or dies fails a round instead of wedging the suite; every mount is
// undone when the round ends, whatever its checks said.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/RecordingDisplay.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

using namespace farsend;
using namespace farsend::test;
namespace fs = std::filesystem;

namespace {

// Runs a command line (the scratch paths hold no blanks) within 20 s;
// whether it succeeded, what it said in said. Its output goes to a file:
// a daemon it starts keeps its descriptors for as long as it lives.
bool sh(const std::string& line, std::string* said = nullptr) {
    const std::string out = fs::temp_directory_path() / ("farsend-realfs-" + std::to_string(::getpid()));
    const std::string run = "PATH=$PATH:/usr/sbin:/sbin timeout -s KILL 20 " + line + " </dev/null >" + out + " 2>&1";
    const bool ok = std::system(run.c_str()) == 0;
    if (said != nullptr) *said = TempTree::read(out);
    fs::remove(out);
    return ok;
}

// Whether something is mounted at point, from the mount table: asking
// the mount point itself would wait on a hung daemon.
bool mounted(const std::string& point) {
    return TempTree::read("/proc/self/mountinfo").find(" " + point + " ") != std::string::npos;
}

// A small file system of the given kind ("FAT32", "exFAT" or "ext4") made in
// an image under a scratch folder and mounted there; skip says why not.
class Mount {
public:
    std::string skip, point;

    Mount(const TempTree& scratch, const std::string& kind) : kind_(kind), image_(scratch.path("image")) {
        point = fs::canonical(scratch.dir("mnt")).string();  // as the mount table writes it
        if (::geteuid() != 0) skip = "mounting needs root";
        if (kind != "ext4" && ::access("/dev/fuse", R_OK | W_OK) != 0) skip = "no /dev/fuse";
        const std::map<std::string, std::string> needs{
            {"FAT32", "mkfs.vfat:dosfstools fusefat:fusefat"},
            {"exFAT", "mkfs.exfat:exfatprogs mount.exfat-fuse:exfat-fuse losetup:mount"},
            {"ext4", "mkfs.ext4:e2fsprogs xfs_io:xfsprogs"}};
        for (const std::string& need : split(needs.at(kind), ' '))
            if (skip.empty() && !sh("which " + need.substr(0, need.find(':'))))
                skip = need.substr(0, need.find(':')) + " is missing (Debian package " +
                       need.substr(need.find(':') + 1) + ")";
        if (!skip.empty()) return;
        // Sparse; FAT32 needs 65525 clusters: 34 MiB of 512-byte ones, most never written.
        std::ofstream(image_).close();
        fs::resize_file(image_, kind == "FAT32" ? 34u << 20 : kind == "exFAT" ? 8u << 20 : 64u << 20);
        if (!sh(kind == "FAT32"   ? "mkfs.vfat -F 32 -s 1 " + image_
                : kind == "exFAT" ? "mkfs.exfat " + image_
                                  : "mkfs.ext4 -q -F " + image_,
                &skip))
            return;
        skip.clear();
        mount();
    }
    ~Mount() {
        unmount();
        if (!loop_.empty()) sh("losetup -d " + loop_);
    }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

    // Stops the file system where it stands, without writing back what is
    // still in memory, as when the device is pulled out; then mounts it
    // again. Says why, where that did not happen.
    std::string pullAndRemount() {
        std::string said;
        if (!sh("xfs_io -x -c shutdown " + point, &said)) return said;
        unmount();
        return mount() ? "" : skip;
    }

private:
    // Mounts the image at point; false, with skip saying why, where it cannot.
    bool mount() {
        bool ok;
        if (kind_ == "FAT32") {
            ok = sh("fusefat -o rw+ " + image_ + " " + point, &skip);
        } else if (kind_ == "exFAT") {  // run as root, the daemon wants a block device
            ok = sh("losetup -f --show " + image_, &loop_);
            loop_ = ok ? split(loop_, '\n').at(0) : "";  // none to let go of
            ok = ok && sh("mount.exfat-fuse " + loop_ + " " + point, &skip);
        } else {
            ok = sh("mount -o loop " + image_ + " " + point, &skip);
        }
        if (ok && mounted(point)) return skip.clear(), true;
        skip = kind_ + " could not be mounted: " + skip;
        return false;
    }

    void unmount() {
        if (mounted(point) && !sh("umount " + point)) sh("umount -l " + point);  // a hung daemon holds the unmount
    }

    std::string kind_, image_, loop_;
};

// Runs the transfer in a child process that then ends normally; returns
// what it said: the prompts, one a line, or why it did not end. An alarm
// ends it if a FUSE daemon hangs (such a wait gives way to a fatal signal).
std::string transferInChild(TransferMode mode, const std::vector<std::string>& entries, const std::string& dest,
                            const std::string& answer, const std::string& log) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(30);
        ScriptedPrompts prompts;
        prompts.answers.push_back(answer);
        RecordingDisplay display;
        Transfer(realFileSystem(), prompts, display, mode, dest).walk(entries);
        std::ofstream(log) << join(prompts.log, "\n");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "(ended with wait status " + std::to_string(status) + ")";
    return TempTree::read(log);
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
    const std::map<std::string, std::string> files{{"Tree/empty.txt", ""},
                                                   {"Tree/small.txt", "small text\n"},
                                                   {"Tree/big.bin", TempTree::pattern(200000)},
                                                   {"Tree/private.txt", "private"},
                                                   {"Tree/Sub/inner.bin", TempTree::pattern(70000)},
                                                   {"loose.bin", TempTree::pattern(loose)}};
    for (const auto& [name, content] : files) tree.file("src/" + name, content);
    ::chmod(tree.path("src/Tree/private.txt").c_str(), 0600);
    tree.dir("src/Tree/Empty");

    // A Copy onto FAT also meets its own rules: names it refuses (told, the
    // rest goes on), and a name taken by another that differs only in case
    // (a question, answered No).
    const TransferMode mode = round.ends_with("Copy") ? TransferMode::Copy : TransferMode::Move;
    const bool move = mode == TransferMode::Move, fatCopy = !move && kind != "ext4";
    std::vector<std::string> entries{tree.path("src/Tree"), tree.path("src/loose.bin")};
    std::vector<std::string> told;
    if (fatCopy) {
        for (const char* name : {"Odd/bad:name.txt", "Odd/dot.", "Odd/Case.txt", "Odd/case.txt"})
            tree.file(std::string("src/") + name, name);
        entries.push_back(tree.path("src/Odd"));
        for (const char* name : {"bad:name.txt", "dot."})
            told.push_back("message Farsend 98: " + tree.path("src/Odd/") + name +
                           " has a name the destination drive does not allow (no : * ? \" < > | \\ and no dot or "
                           "blank at the end); it was skipped.");
        told.push_back("replace > 3");
    }
    auto lines = split(transferInChild(mode, entries, mount.point, "3", tree.path("log")), '\n');
    ASSERT_EQ(kind == "ext4" ? mount.pullAndRemount() : "", "");
    std::sort(lines.begin(), lines.end());  // the order the source folder lists them in
    EXPECT_EQ(join(lines, "\n"), join(told, "\n"));
    if (fatCopy) {
        std::string odd;
        for (const auto& e : fs::directory_iterator(mount.point + "/Odd"))
            odd += e.path().filename().string() + "=" + TempTree::read(e.path().string()) + " ";
        EXPECT_TRUE(odd == "Case.txt=Odd/Case.txt " || odd == "case.txt=Odd/case.txt ") << odd;
    }
    std::string arrived, expected, sources, hidden;
    for (const auto& [name, content] : files) {
        const std::string copy = mount.point + "/" + name, got = TempTree::read(copy);
        arrived += name + (fs::is_regular_file(copy) && got == content ? ": whole\n" : ": not whole\n");
        expected += name + ": whole\n";
        if (fs::exists(tree.path("src/" + name)) == move) sources += name + (move ? " still there\n" : " gone\n");
    }
    EXPECT_EQ(arrived + std::to_string(fs::is_directory(mount.point + "/Tree/Empty")), expected + "1");
    EXPECT_EQ(sources + (move && fs::exists(tree.path("src/Tree")) ? "the folder Tree still there" : ""), "");
    for (const auto& e : fs::recursive_directory_iterator(mount.point, fs::directory_options::skip_permission_denied))
        if (e.path().filename().string().starts_with(".farsend98-")) hidden += e.path().string() + " ";
    EXPECT_EQ(hidden, "");
}

INSTANTIATE_TEST_SUITE_P(Rounds, RealFs,
                         ::testing::Values("FAT32_Copy", "FAT32_Move", "exFAT_Copy", "exFAT_Move", "ext4_Move",
                                           "ext4_Copy"),
                         [](const auto& round) { return std::string(round.param); });

}  // namespace
