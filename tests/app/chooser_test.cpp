#include "app/Chooser.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace farsend {
namespace {

TEST(WordCheck, PatternsMatchInTableOrderAndCase) {
    using V = std::vector<std::string>;
    EXPECT_EQ(matchedWordPatterns("/home/u/porn"), V{"*porn*"});
    EXPECT_EQ(matchedWordPatterns("/porn/sex"), (V{"*sex*", "*porn*"}));
    EXPECT_EQ(matchedWordPatterns("/x/babestitspussy"), (V{"*tits*", "*pussy*", "*babes*"}));
    EXPECT_EQ(matchedWordPatterns("/sexsex"), V{"*sex*"});
    EXPECT_EQ(matchedWordPatterns("/PORN/Sex"), V{});
    EXPECT_EQ(matchedWordPatterns("/home/u/Essex"), V{"*sex*"});
    EXPECT_EQ(matchedWordPatterns(""), V{});
}

struct FailureCase {
    int number;
    DriveFailure kind;
};

class DriveFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DriveFailureTest, Maps) {
    EXPECT_EQ(driveFailureOf(Error::fromErrno(GetParam().number)), GetParam().kind) << GetParam().number;
}

INSTANTIATE_TEST_SUITE_P(
    Errnos, DriveFailureTest,
    ::testing::Values(FailureCase{ENODEV, DriveFailure::DeviceUnavailable},
                      FailureCase{ENXIO, DriveFailure::DeviceUnavailable}, FailureCase{EIO, DriveFailure::DiskNotReady},
                      FailureCase{ENOMEDIUM, DriveFailure::DiskNotReady},
                      FailureCase{ESTALE, DriveFailure::DiskNotReady},
                      FailureCase{ETIMEDOUT, DriveFailure::DiskNotReady},
                      FailureCase{EACCES, DriveFailure::AccessError}, FailureCase{EPERM, DriveFailure::AccessError},
                      FailureCase{ENOENT, DriveFailure::None}, FailureCase{ENOTDIR, DriveFailure::None},
                      FailureCase{ENOSPC, DriveFailure::None}, FailureCase{0, DriveFailure::None}));

struct NormalCase {
    const char* path;
    const char* base;
    const char* folder;
};

class NormalizedFolderTest : public ::testing::TestWithParam<NormalCase> {};

TEST_P(NormalizedFolderTest, Normalizes) {
    EXPECT_EQ(normalizedFolder(GetParam().path, GetParam().base), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Paths, NormalizedFolderTest,
                         ::testing::Values(NormalCase{"/", "", "/"}, NormalCase{"//", "", "/"},
                                           NormalCase{"/a/b/", "", "/a/b"}, NormalCase{"/a//b/./c", "", "/a/b/c"},
                                           NormalCase{"/a/b/..", "", "/a"}, NormalCase{"/..", "", "/"},
                                           NormalCase{"x/y", "/home/u", "/home/u/x/y"},
                                           NormalCase{"..", "/home/u", "/home"}, NormalCase{".", "/", "/"},
                                           NormalCase{"/a b/ c ", "", "/a b/ c "}));

TEST(FolderChain, RunsFromRootToFolder) {
    using V = std::vector<std::string>;
    EXPECT_EQ(folderChain("/", "/"), V{"/"});
    EXPECT_EQ(folderChain("/", "/home/u"), (V{"/", "/home", "/home/u"}));
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/b"), V{"/mnt/b"});
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/b/x/y"), (V{"/mnt/b", "/mnt/b/x", "/mnt/b/x/y"}));
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/bc"), V{"/mnt/b"});
    EXPECT_EQ(folderChain("/mnt/b", "/home"), V{"/mnt/b"});
}

TEST(NewFolder, UpperPathEndsInOneSeparator) {
    EXPECT_EQ(upperPathOf("/"), "/");
    EXPECT_EQ(upperPathOf("/data"), "/data/");
    EXPECT_EQ(upperPathOf("/data/"), "/data/");
}

TEST(NewFolder, NamesThatLeaveTheParentAreRefused) {
    for (const char* bad : {"a/b", "/", "../x", ".", "..", "x/"}) EXPECT_FALSE(newFolderNameAllowed(bad)) << bad;
    for (const char* good : {"Work", "", " x ", "...", ".hidden", "a*b", "a\\b"})
        EXPECT_TRUE(newFolderNameAllowed(good)) << good;
}

}  // namespace
}  // namespace farsend
