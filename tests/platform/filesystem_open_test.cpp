// Opening files for the byte copy: anything but a regular file is refused
// at once (a pipe without a writer or reader must never hang the program),
// and what is opened works in blocking mode.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

using test::TempTree;

bool sameFileFacts(const FileInfo& a, const FileInfo& b) { return a.device == b.device && a.inode == b.inode; }

struct OpenCase {
    const char* name;
    bool forWriting;
};

class OpenRefuses : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenRefuses, PipesAndFoldersAtOnce) {
    TempTree t;
    const std::string pipe = t.path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const std::string folder = t.dir("folder");
    IFileSystem& fs = realFileSystem();
    ::alarm(20);  // a blocking open ends the test run instead of hanging it
    for (const std::string& path : {pipe, folder}) {
        const auto h = GetParam().forWriting ? fs.openWrite(path, 0644) : fs.openRead(path);
        EXPECT_FALSE(h.ok()) << path;
        if (h.ok()) (void)fs.close(*h);
    }
    ::alarm(0);
}

TEST_P(OpenRefuses, RegularFilesOpenInBlockingMode) {
    TempTree t;
    const std::string file = t.file("a.txt", "abc");
    IFileSystem& fs = realFileSystem();
    const auto h = GetParam().forWriting ? fs.openWrite(file, 0644) : fs.openRead(file);
    ASSERT_TRUE(h.ok());
    const int flags = ::fcntl(*h, F_GETFL);
    EXPECT_EQ(flags & O_NONBLOCK, 0);
    EXPECT_EQ(flags & O_ACCMODE, GetParam().forWriting ? O_WRONLY : O_RDONLY);
    EXPECT_NE(::fcntl(*h, F_GETFD) & FD_CLOEXEC, 0);
    EXPECT_TRUE(fs.close(*h).ok());
}

INSTANTIATE_TEST_SUITE_P(Modes, OpenRefuses, ::testing::Values(OpenCase{"read", false}, OpenCase{"write", true}),
                         [](const ::testing::TestParamInfo<OpenCase>& p) { return std::string(p.param.name); });

// createNew takes a name only where nothing is: an existing file, a link
// (dangling too: it must not write through it) and a pipe are all EEXIST.
TEST(CreateNew, OnlyWhereNothingIs) {
    TempTree t;
    IFileSystem& fs = realFileSystem();
    const std::string file = t.file("taken.txt", "keep");
    const std::string dangling = t.path("dangling");
    std::filesystem::create_symlink(t.path("nowhere"), dangling);
    const std::string pipe = t.path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    ::alarm(20);
    for (const std::string& path : {file, dangling, pipe, t.dir("folder")}) {
        const auto h = fs.createNew(path, 0644);
        ASSERT_FALSE(h.ok()) << path;
        EXPECT_EQ(h.error().number, EEXIST) << path;
    }
    ::alarm(0);
    EXPECT_EQ(TempTree::read(file), "keep");
    EXPECT_FALSE(TempTree::exists(t.path("nowhere")));

    const auto h = fs.createNew(t.path("new.sh"), 0755);
    ASSERT_TRUE(h.ok());
    ASSERT_TRUE(fs.write(*h, "x", 1).ok());
    EXPECT_TRUE(fs.close(*h).ok());
    EXPECT_EQ(TempTree::read(t.path("new.sh")), "x");
    EXPECT_NE(fs.stat(t.path("new.sh"))->mode & 0100, 0u);  // the source's execute bit
}

// The facts that come with opening are those stat tells, through a link too.
TEST(OpenReadWithInfo, TellsWhatStatTells) {
    TempTree t;
    IFileSystem& fs = realFileSystem();
    const std::string file = t.file(".hidden.txt", "12345");
    const std::string link = t.path("link");
    std::filesystem::create_symlink(file, link);
    for (const std::string& path : {file, link}) {
        FileInfo info;
        const auto h = fs.openReadWithInfo(path, info);
        ASSERT_TRUE(h.ok()) << path;
        EXPECT_TRUE(fs.close(*h).ok());
        const auto st = fs.stat(path);
        ASSERT_TRUE(st.ok());
        EXPECT_EQ(info.kind, st->kind) << path;
        EXPECT_EQ(info.attributes, st->attributes) << path;
        EXPECT_EQ(info.length, 5);
        EXPECT_EQ(info.length, st->length);
        EXPECT_EQ(info.mode, st->mode);
        EXPECT_EQ(info.mtimeSec, st->mtimeSec);
        EXPECT_EQ(info.mtimeNsec, st->mtimeNsec);
        EXPECT_TRUE(sameFileFacts(info, *st)) << path;
    }
}

}  // namespace
}  // namespace farsend
