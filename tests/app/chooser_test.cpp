#include "app/Chooser.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace farsend {
namespace {

using V = std::vector<std::string>;

TEST(WordCheck, PatternsMatchInTableOrderAndCase) {
    EXPECT_EQ(matchedWordPatterns("/porn/sex"), (V{"*sex*", "*porn*"}));
    EXPECT_EQ(matchedWordPatterns("/x/babestitspussy"), (V{"*tits*", "*pussy*", "*babes*"}));
    EXPECT_EQ(matchedWordPatterns("/sexsex/Essex"), V{"*sex*"});
    EXPECT_EQ(matchedWordPatterns("/PORN/Sex"), V{});
}

TEST(DriveFailure, OnlyDeviceDiskAndAccessFailuresCount) {
    const std::pair<int, DriveFailure> cases[] = {
        {ENXIO, DriveFailure::DeviceUnavailable}, {EIO, DriveFailure::DiskNotReady},
        {ESTALE, DriveFailure::DiskNotReady},     {ETIMEDOUT, DriveFailure::DiskNotReady},
        {EPERM, DriveFailure::AccessError},       {ENOENT, DriveFailure::None}};
    for (const auto& [number, kind] : cases) EXPECT_EQ(driveFailureOf(Error::fromErrno(number)), kind) << number;
}

TEST(FolderText, NormalizedAndChainedFromTheVolumeRoot) {
    EXPECT_EQ(normalizedFolder("/a//b/./c/", ""), "/a/b/c");
    EXPECT_EQ(normalizedFolder("/..", ""), "/");
    EXPECT_EQ(normalizedFolder("../x ", "/home/u"), "/home/x ");
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/b/x"), (V{"/mnt/b", "/mnt/b/x"}));
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/bc"), V{"/mnt/b"});
}

}  // namespace
}  // namespace farsend
