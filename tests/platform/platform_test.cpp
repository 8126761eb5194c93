#include <gtest/gtest.h>

#include <array>
#include <set>
#include <tuple>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Volumes.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

// One folder holding one entry of every kind the attribute mapping knows.
class KindsTree : public ::testing::Test {
protected:
    void SetUp() override {
        t.build("T/plain.txt=12345;T/locked.TXT~444=l;T/.dotfile=;T/README=;T/folder/;T/.dotfolder/;T/pipe|");
        t.build("T/folderlink@folder;T/filelink@plain.txt;T/dangling@nowhere");
    }
    IFileSystem& fsys = realFileSystem();
    test::TempTree t;
};

// Links and dot folders; plain, hidden, read-only and special files show in
// the search's tests.
TEST_F(KindsTree, MapsPosixFactsToAttributeBits) {
    const std::tuple<const char*, int, EntryKind> cases[] = {
        {".dotfolder", attr::Directory | attr::Hidden, EntryKind::Directory},
        {"folderlink", attr::Directory | attr::System, EntryKind::DirectoryLink},
        {"filelink", 0, EntryKind::Regular},
        {"dangling", attr::System, EntryKind::DanglingLink}};
    for (const auto& [name, attributes, kind] : cases) {
        const auto info = fsys.stat(t.path("T/") + name);
        ASSERT_TRUE(info.ok()) << name << ": " << info.error().description;
        EXPECT_EQ(std::pair(int(info->attributes), info->kind), std::pair(attributes, kind)) << name;
    }
    EXPECT_EQ(fsys.stat(t.path("T/filelink"))->length, 5);  // the file it names
}

TEST_F(KindsTree, ListingYieldsMatchingNamesThatTheMaskAdmitsOnce) {
    using S = std::multiset<std::string>;
    const S plain{"plain.txt", "locked.TXT", "README", "filelink"};
    const auto with = [&](S more) {
        more.insert(plain.begin(), plain.end());
        return more;
    };
    const std::tuple<const char*, int, S> cases[] = {
        {"*.*", attr::Hidden, with({".dotfile"})},
        {"*.*", attr::Directory | attr::System, with({"folder", "folderlink", "pipe", "dangling"})},
        {"*.*", 19, with({".dotfile", "folder", ".dotfolder"})},
        {"*.TXT", 0, {"plain.txt", "locked.TXT"}},
        {"?EADM?", 0, {"README"}},
        {"p*", attr::System, {"plain.txt", "pipe"}},
        {"*.*x", 0, {}},
        {"readme", 0, {}},
        {"folder", 0, {}},
        {"folder", attr::Directory, {"folder"}}};
    for (const auto& [pattern, mask, expected] : cases) {
        const auto names = fsys.list(t.path("T/") + pattern, static_cast<std::uint8_t>(mask));
        ASSERT_TRUE(names.ok()) << names.error().description;
        EXPECT_EQ(S(names->begin(), names->end()), expected) << pattern << " mask " << mask;
    }
    // Only a folder that cannot be read fails; a name matching nothing is an empty list.
    EXPECT_EQ(fsys.list(t.path("gone/*.*"), 55).error().number, ENOENT);
    EXPECT_EQ(fsys.list(t.path("T/plain.txt/*.*"), 55).error().number, ENOTDIR);
    EXPECT_TRUE(fsys.list(t.path("T/missing.txt"), 55)->empty());
}

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
}

}  // namespace
}  // namespace farsend
