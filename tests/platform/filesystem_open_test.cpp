// Opening files for the byte copy: anything but a regular file is refused
// at once (a pipe without a writer or reader must never hang the program),
// and what is opened works in blocking mode.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

using test::TempTree;

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

}  // namespace
}  // namespace farsend
