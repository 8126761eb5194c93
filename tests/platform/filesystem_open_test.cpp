// Anything but a regular file is refused at once: a pipe without a writer
// or reader must never hang the program.

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

TEST(Open, RefusesPipesAndFoldersAtOnceAndOpensFilesBlocking) {
    TempTree t;
    const std::string pipe = t.path("pipe"), folder = t.dir("folder"), file = t.file("a.txt", "abc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    IFileSystem& fs = realFileSystem();
    const auto open = [&](const std::string& path, bool write) {
        return write ? fs.openWrite(path, 0644) : fs.openRead(path);
    };
    ::alarm(20);  // a blocking open ends the test run instead of hanging it
    for (const bool write : {false, true}) {
        for (const std::string& path : {pipe, folder}) {
            const auto h = open(path, write);
            EXPECT_FALSE(h.ok()) << path << " write " << write;
            if (h.ok()) (void)fs.close(*h);
        }
        const auto h = open(file, write);
        ASSERT_TRUE(h.ok());
        EXPECT_EQ(::fcntl(*h, F_GETFL) & O_NONBLOCK, 0);
        EXPECT_TRUE(fs.close(*h).ok());
    }
    ::alarm(0);
}

// A link (dangling too: never write through it) or a pipe is as taken as a file.
TEST(CreateNew, OnlyWhereNothingIs) {
    TempTree t;
    IFileSystem& fs = realFileSystem();
    const std::string file = t.file("taken.txt", "keep"), dangling = t.path("dangling"), pipe = t.path("pipe");
    std::filesystem::create_symlink(t.path("nowhere"), dangling);
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
}

}  // namespace
}  // namespace farsend
