#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/Volumes.h"

namespace farsend {
namespace {

TEST(Paths, GetDirPathAndGetFileNameSplitAtTheLastSeparator) {
    const std::array<const char*, 3> cases[] = {
        {"/a/b.txt", "/a/", "b.txt"}, {"b.txt", "", "b.txt"}, {"/", "/", ""},
        {"/a/b/", "/a/b/", ""},       {"", "", ""},           {"/a b/c d", "/a b/", "c d"}};
    for (const auto& [path, dir, name] : cases)
        EXPECT_EQ(GetDirPath(path) + "|" + GetFileName(path), std::string(dir) + "|" + name) << path;
}

TEST(Paths, StarsBacktrack) {
    EXPECT_TRUE(wildcardMatch("*a*b*c", "xxAxxbxxc"));
    EXPECT_FALSE(wildcardMatch("*a*b*c", "xxaxxbxx"));
    EXPECT_FALSE(likeMatch("*a*b*c", "xxAxxbxxc"));
}

TEST(Volumes, LongestMountPrefixWins) {
    const std::vector<Volume> vols{{"/", ""}, {"/media/usb", "STICK"}, {"/media/usb2", ""}};
    EXPECT_EQ(volumeOf(vols, "/media/usb/x")->mountPoint, "/media/usb");
    EXPECT_EQ(volumeOf(vols, "/media/usb2/x")->mountPoint, "/media/usb2");
    EXPECT_EQ(volumeOf(vols, "/media/usbx")->mountPoint, "/");
    EXPECT_EQ(mountPointOf(vols, "/mnt/gone [OLD]"), "/mnt/gone");
}

}  // namespace
}  // namespace farsend
