#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

namespace fs = std::filesystem;
using test::TempTree;

// One folder holding one entry of every kind the attribute mapping knows.
class KindsTree : public ::testing::Test {
protected:
    void SetUp() override {
        t.file("T/plain.txt", "12345");
        fs::permissions(t.file("T/locked.TXT", "l"), fs::perms::owner_write, fs::perm_options::remove);
        t.file("T/.dotfile", "h");
        t.file("T/README", "r");
        t.dir("T/folder");
        t.dir("T/.dotfolder");
        ASSERT_EQ(::mkfifo(t.path("T/pipe").c_str(), 0644), 0);
        fs::create_directory_symlink(t.path("T/folder"), t.path("T/folderlink"));
        fs::create_symlink(t.path("T/plain.txt"), t.path("T/filelink"));
        fs::create_symlink(t.path("T/nowhere"), t.path("T/dangling"));
    }
    IFileSystem& fsys = realFileSystem();
    TempTree t;
};

struct KindCase {
    const char* name;
    std::uint8_t attributes;
    EntryKind kind;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

class AttributeMapping : public KindsTree, public ::testing::WithParamInterface<KindCase> {};

TEST_P(AttributeMapping, MapsPosixFactsToAttributeBits) {
    const auto& c = GetParam();
    const auto info = fsys.stat(t.path("T/") + c.name);
    ASSERT_TRUE(info.ok()) << info.error().description;
    EXPECT_EQ(info->attributes, c.attributes) << c.name;
    EXPECT_EQ(info->kind, c.kind) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Kinds, AttributeMapping,
                         ::testing::Values(KindCase{"plain.txt", 0, EntryKind::Regular},
                                           KindCase{"locked.TXT", attr::ReadOnly, EntryKind::Regular},
                                           KindCase{".dotfile", attr::Hidden, EntryKind::Regular},
                                           KindCase{"folder", attr::Directory, EntryKind::Directory},
                                           KindCase{".dotfolder", attr::Directory | attr::Hidden, EntryKind::Directory},
                                           KindCase{"pipe", attr::System, EntryKind::Special},
                                           KindCase{"folderlink", attr::Directory | attr::System,
                                                    EntryKind::DirectoryLink},
                                           KindCase{"filelink", 0, EntryKind::Regular},
                                           KindCase{"dangling", attr::System, EntryKind::DanglingLink}));

TEST_F(KindsTree, StatGivesLengthAndTimeOfTheFileALinkNames) {
    const auto direct = fsys.stat(t.path("T/plain.txt"));
    const auto linked = fsys.stat(t.path("T/filelink"));
    ASSERT_TRUE(direct.ok() && linked.ok());
    EXPECT_EQ(direct->length, 5);
    EXPECT_EQ(linked->length, 5);
    EXPECT_EQ(linked->inode, direct->inode);
    EXPECT_EQ(linked->mtimeSec, direct->mtimeSec);
    EXPECT_EQ(fsys.stat(t.path("T/folder"))->length, 0);
    EXPECT_EQ(fsys.stat(t.path("T/missing")).error().number, ENOENT);
}

struct ListCase {
    const char* pattern;
    std::uint8_t mask;
    std::set<std::string> expected;
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.pattern << " mask " << int(c.mask); }

class Listing : public KindsTree, public ::testing::WithParamInterface<ListCase> {};

TEST_P(Listing, YieldsMatchingNamesThatTheMaskAdmits) {
    const auto& c = GetParam();
    const auto names = fsys.list(t.path("T/") + c.pattern, c.mask);
    ASSERT_TRUE(names.ok()) << names.error().description;
    EXPECT_EQ(std::set<std::string>(names->begin(), names->end()), c.expected) << c.pattern << " mask " << int(c.mask);
    EXPECT_EQ(names->size(), c.expected.size()) << "a name listed twice";
}

const std::set<std::string> kPlainFiles{"plain.txt", "locked.TXT", "README", "filelink"};

std::set<std::string> plus(std::set<std::string> s, std::initializer_list<std::string> more) {
    s.insert(more);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, Listing,
    ::testing::Values(ListCase{"*.*", 0, kPlainFiles}, ListCase{"*.*", attr::ReadOnly | attr::Archive, kPlainFiles},
                      ListCase{"*.*", attr::Hidden, plus(kPlainFiles, {".dotfile"})},
                      ListCase{"*.*", attr::System, plus(kPlainFiles, {"pipe", "dangling"})},
                      ListCase{"*.*", attr::Directory, plus(kPlainFiles, {"folder"})},
                      ListCase{"*.*", attr::Directory | attr::System,
                               plus(kPlainFiles, {"folder", "folderlink", "pipe", "dangling"})},
                      ListCase{"*.*", 19, plus(kPlainFiles, {".dotfile", "folder", ".dotfolder"})},
                      ListCase{"*.*", 39, plus(kPlainFiles, {".dotfile", "pipe", "dangling"})},
                      ListCase{"*", 0, kPlainFiles}, ListCase{"*.txt", 0, {"plain.txt", "locked.TXT"}},
                      ListCase{"*.TXT", 0, {"plain.txt", "locked.TXT"}}, ListCase{"?EADM?", 0, {"README"}},
                      ListCase{"p*", attr::System, {"plain.txt", "pipe"}}, ListCase{"*.*x", 0, {}},
                      ListCase{"README", 0, {"README"}}, ListCase{"readme", 0, {}},
                      ListCase{"plain.txt", 0, {"plain.txt"}}, ListCase{"folder", 0, {}},
                      ListCase{"folder", attr::Directory, {"folder"}}, ListCase{"missing.txt", 0, {}}));

TEST_F(KindsTree, ListingFailsOnlyWhenTheFolderCannotBeRead) {
    EXPECT_EQ(fsys.list(t.path("gone/*.*"), 55).error().number, ENOENT);
    EXPECT_EQ(fsys.list(t.path("T/plain.txt/*.*"), 55).error().number, ENOTDIR);
    EXPECT_EQ(fsys.list(t.path("gone/plain.txt"), 55).error().number, ENOENT);
    EXPECT_TRUE(fsys.list(t.path("T/folder/*.*"), 55)->empty());
}

}  // namespace
}  // namespace farsend
