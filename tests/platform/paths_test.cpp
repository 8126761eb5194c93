#include <gtest/gtest.h>

#include <ostream>

#include "platform/Paths.h"
#include "platform/Volumes.h"

namespace farsend {

struct DirPathCase {
    const char* path;
    const char* dir;
    const char* name;
    friend void PrintTo(const DirPathCase& c, std::ostream* os) { *os << '"' << c.path << '"'; }
};

class GetDirPathTest : public ::testing::TestWithParam<DirPathCase> {};

TEST_P(GetDirPathTest, SplitsAtLastSeparator) {
    const auto& c = GetParam();
    EXPECT_EQ(GetDirPath(c.path), c.dir);
    EXPECT_EQ(GetFileName(c.path), c.name);
}

INSTANTIATE_TEST_SUITE_P(Paths, GetDirPathTest,
                         ::testing::Values(DirPathCase{"/a/b.txt", "/a/", "b.txt"}, DirPathCase{"b.txt", "", "b.txt"},
                                           DirPathCase{"/", "/", ""}, DirPathCase{"/a/b/", "/a/b/", ""},
                                           DirPathCase{"", "", ""}, DirPathCase{"/a b/c d", "/a b/", "c d"}));

struct MatchCase {
    const char* pattern;
    const char* name;
    bool wildcard;  // case-insensitive file pattern
    bool like;      // case-sensitive word check
    friend void PrintTo(const MatchCase& c, std::ostream* os) { *os << '"' << c.pattern << "\" ~ \"" << c.name << '"'; }
};

class MatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchTest, Matches) {
    const auto& c = GetParam();
    EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.wildcard) << c.pattern << " ~ " << c.name;
    EXPECT_EQ(likeMatch(c.pattern, c.name), c.like) << c.pattern << " like " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, MatchTest,
    ::testing::Values(MatchCase{"*.*", "README", true, false}, MatchCase{"*.*", "a.b", true, true},
                      MatchCase{"*.TXT", "notes.txt", true, false}, MatchCase{"*.txt", "notes.txt", true, true},
                      MatchCase{"a?c", "ABC", true, false}, MatchCase{"a?c", "abbc", false, false},
                      MatchCase{"*porn*", "/home/x/porn", true, true}, MatchCase{"*porn*", "/home/PORN", true, false},
                      MatchCase{"*a*b*c", "xxaxxbxxc", true, true}, MatchCase{"*a*b*c", "xxaxxbxx", false, false},
                      MatchCase{"", "", true, true}, MatchCase{"", "x", false, false}));

TEST(Volumes, LongestMountPrefixWins) {
    const std::vector<Volume> vols{{"/", ""}, {"/media/usb", "STICK"}, {"/media/usb2", ""}};
    EXPECT_EQ(volumeOf(vols, "/media/usb/x")->mountPoint, "/media/usb");
    EXPECT_EQ(volumeOf(vols, "/media/usb")->mountPoint, "/media/usb");
    EXPECT_EQ(volumeOf(vols, "/media/usb2/x")->mountPoint, "/media/usb2");
    EXPECT_EQ(volumeOf(vols, "/media/usbx")->mountPoint, "/");
    EXPECT_FALSE(volumeOf(vols, "relative").has_value());
    EXPECT_EQ(vols[1].designation(), "/media/usb [STICK]");
    EXPECT_EQ(mountPointOf(vols, "/media/usb [STICK]"), "/media/usb");
    EXPECT_EQ(mountPointOf(vols, "/mnt/gone [OLD]"), "/mnt/gone");
    EXPECT_EQ(mountPointOf(vols, "/"), "/");
}

}  // namespace farsend
