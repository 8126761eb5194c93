#include "search/CFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/NumberFormat.h"
#include "search/ListingLine.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;
using test::Op;
using test::TempTree;

class RecordingBusy final : public IBusyPointer {
public:
    void setBusy(bool busy) override { calls.push_back(busy); }
    std::vector<bool> calls;
};

std::vector<std::string> names(const CFiles& f) {
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < f.Count(); ++i) out.push_back(f.File(i));
    return out;
}

std::set<std::string> nameSet(const CFiles& f) {
    const auto v = names(f);
    return {v.begin(), v.end()};
}

// Sets a file's last-write time to epochSeconds.
void setMtime(const std::string& path, std::time_t epochSeconds) {
    const timespec times[2] = {{epochSeconds, 0}, {epochSeconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// Runs the test in a fixed zone, five hours behind UTC all year.
class InZone : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        if (old != nullptr) oldTz_ = old;
        hadTz_ = old != nullptr;
        ::setenv("TZ", "EST5", 1);
        ::tzset();
    }
    void TearDown() override {
        if (hadTz_)
            ::setenv("TZ", oldTz_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string oldTz_;
    bool hadTz_ = false;
};

// ---- walk order ----

// T holds t.txt and folders A (a.txt; A1 with a1.txt; A2 with a2.txt) and
// B (b.txt; B1 with b1.txt). The order of siblings is the file system's, so
// the test accepts each order the walk rules allow and no other.
class WalkOrder : public ::testing::Test {
protected:
    void SetUp() override {
        t.file("T/t.txt", "t");
        t.file("T/A/a.txt", "a");
        t.file("T/A/A1/a1.txt", "a1");
        t.file("T/A/A2/a2.txt", "a2");
        t.file("T/B/b.txt", "b");
        t.file("T/B/B1/b1.txt", "b1");
        files.setSearchdir(t.path("T"));
    }
    TempTree t;
    CFiles files;
};

TEST_F(WalkOrder, FolderSearchListsEachLevelBeforeGoingDeeper) {
    files.setSearchType(1);
    files.refresh();
    const std::vector<std::vector<std::string>> allowed{{"A", "B", "A1", "A2", "B1"},
                                                        {"A", "B", "A2", "A1", "B1"},
                                                        {"B", "A", "B1", "A1", "A2"},
                                                        {"B", "A", "B1", "A2", "A1"}};
    const auto got = names(files);
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), got), allowed.end()) << ::testing::PrintToString(got);

    const std::string root = t.path("T") + "/";
    for (std::int32_t i = 0; i < files.Count(); ++i) {
        const std::string name = files.File(i);
        const std::string parent = name.size() == 1 ? root : root + name.substr(0, 1) + "/";
        EXPECT_EQ(files.Path(i), parent) << name;
        EXPECT_EQ(files.PathFile(i), parent + name);
        EXPECT_EQ(files.length(i), 0);
        EXPECT_EQ(files.Attr(i), attr::Directory) << name;
    }
}

TEST_F(WalkOrder, FileSearchGivesAFoldersFilesBeforeItsSubtrees) {
    files.refresh();
    const std::vector<std::vector<std::string>> allowed{{"t.txt", "a.txt", "a1.txt", "a2.txt", "b.txt", "b1.txt"},
                                                        {"t.txt", "a.txt", "a2.txt", "a1.txt", "b.txt", "b1.txt"},
                                                        {"t.txt", "b.txt", "b1.txt", "a.txt", "a1.txt", "a2.txt"},
                                                        {"t.txt", "b.txt", "b1.txt", "a.txt", "a2.txt", "a1.txt"}};
    const auto got = names(files);
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), got), allowed.end()) << ::testing::PrintToString(got);
    for (std::int32_t i = 0; i < files.Count(); ++i) {
        EXPECT_EQ(TempTree::read(files.PathFile(i)) + ".txt", files.File(i));
        EXPECT_EQ(files.length(i), static_cast<std::int64_t>(files.File(i).size() - 4));
        EXPECT_EQ(files.Attr(i), 0);
    }
}

TEST_F(WalkOrder, WithoutRecursionOnlyTheTopLevelCounts) {
    files.setRecurse(false);
    files.refresh();
    EXPECT_EQ(names(files), std::vector<std::string>{"t.txt"});
    files.setSearchType(1);
    files.refresh();
    EXPECT_EQ(nameSet(files), (std::set<std::string>{"A", "B"}));
}

TEST_F(WalkOrder, StatsEachFoundNameOnce) {
    FaultyFileSystem counting;
    CFiles f(counting);
    f.setSearchdir(t.path("T"));
    f.refresh();
    EXPECT_EQ(f.Count(), 6);
    // 6 files and 5 folders, each asked about once.
    EXPECT_EQ(counting.calls(Op::Stat), 11);
    f.setSearchType(1);
    f.refresh();
    EXPECT_EQ(counting.calls(Op::Stat), 22);
}

TEST_F(WalkOrder, PatternIsCaseBlindAndAppliesToFilesOnly) {
    t.file("T/A/notes.TXT", "n");
    t.file("T/B/x.dat", "x");
    files.setSearchSpec(" *.txt ");
    files.refresh();
    EXPECT_EQ(files.Count(), 7);
    EXPECT_EQ(nameSet(files).count("notes.TXT"), 1u);
    EXPECT_EQ(nameSet(files).count("x.dat"), 0u);
    files.setSearchSpec("?.dat");
    files.refresh();
    EXPECT_EQ(names(files), std::vector<std::string>{"x.dat"});
}

// ---- what is yielded and entered ----

TEST(Walk, HiddenAndSpecialFilesShowButDotAndLinkedFoldersAreNotEntered) {
    TempTree t;
    t.file("T/.profile", "h");
    t.file("T/.cache/inside.txt", "no");
    t.file("T/real/x.txt", "x");
    ASSERT_EQ(::mkfifo(t.path("T/pipe").c_str(), 0644), 0);
    fs::create_directory_symlink(t.path("T/real"), t.path("T/alias"));
    fs::create_directory_symlink(t.path("T"), t.path("T/real/loop"));  // a cycle

    CFiles files;
    files.setSearchdir(t.path("T"));
    files.refresh();
    EXPECT_EQ(nameSet(files), (std::set<std::string>{".profile", "pipe", "x.txt"}));
    for (std::int32_t i = 0; i < files.Count(); ++i) {
        const std::string name = files.File(i);
        const std::uint8_t expected = name == ".profile" ? attr::Hidden : name == "pipe" ? attr::System : 0;
        EXPECT_EQ(files.Attr(i), expected) << name;
        EXPECT_EQ(files.Path(i), name == "x.txt" ? t.path("T/real/") : t.path("T/")) << name;
    }

    files.setSearchType(1);
    files.refresh();
    EXPECT_EQ(names(files), std::vector<std::string>{"real"});
}

struct MaskCase {
    std::uint8_t mask;
    std::set<std::string> expected;
};
void PrintTo(const MaskCase& c, std::ostream* os) { *os << "mask " << int(c.mask); }

class AttributeMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(AttributeMask, FilesMustCarryEveryBitOfTheMask) {
    TempTree t;
    t.file("T/plain", "p");
    fs::permissions(t.file("T/locked", "l"), fs::perms::owner_write, fs::perm_options::remove);
    fs::permissions(t.file("T/.locked", "l"), fs::perms::owner_write, fs::perm_options::remove);
    t.file("T/.hidden", "h");
    CFiles files;
    files.setSearchdir(t.path("T"));
    files.setSearchAttr(GetParam().mask);
    files.refresh();
    EXPECT_EQ(nameSet(files), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Masks, AttributeMask,
                         ::testing::Values(MaskCase{0, {"plain", "locked", ".locked", ".hidden"}},
                                           MaskCase{attr::ReadOnly, {"locked", ".locked"}},
                                           MaskCase{attr::Hidden, {".locked", ".hidden"}},
                                           MaskCase{attr::ReadOnly | attr::Hidden, {".locked"}},
                                           MaskCase{attr::Archive, {}}));

// ---- properties ----

TEST(Properties, DefaultsAndSetterRules) {
    CFiles f;
    EXPECT_EQ(f.searchdir(), "/");
    EXPECT_EQ(f.SearchSpec(), "*.*");
    EXPECT_TRUE(f.Recurse());
    EXPECT_EQ(f.SearchAttr(), 0);
    EXPECT_EQ(f.SearchType(), 0);
    EXPECT_EQ(f.Count(), 0);

    f.setSearchType(1);
    f.setSearchType(2);
    f.setSearchType(-1);
    EXPECT_EQ(f.SearchType(), 1);
    f.setSearchType(0);
    EXPECT_EQ(f.SearchType(), 0);

    f.setSearchSpec(" *.txt ");
    EXPECT_EQ(f.SearchSpec(), "*.TXT");
    f.setSearchSpec("   ");
    EXPECT_EQ(f.SearchSpec(), "");
    f.setSearchSpec("\tx ");
    EXPECT_EQ(f.SearchSpec(), "\tX");

    f.setSearchdir("/data");
    EXPECT_EQ(f.searchdir(), "/data/");
    f.setSearchdir("/");
    EXPECT_EQ(f.searchdir(), "/");
    f.setSearchdir("/data/");
    EXPECT_EQ(f.searchdir(), "/data/");
    f.setSearchdir("");
    EXPECT_EQ(f.searchdir(), "/");
}

TEST(Properties, OutOfRangeIndexesReadEmpty) {
    TempTree t;
    t.file("T/one", "1");
    CFiles f;
    f.setSearchdir(t.path("T"));
    f.refresh();
    ASSERT_EQ(f.Count(), 1);
    for (const std::int32_t i : {-1, 1, 1000}) {
        EXPECT_EQ(f.Attr(i), 0);
        EXPECT_EQ(f.DirEntry(i), "");
        EXPECT_EQ(f.File(i), "");
        EXPECT_EQ(f.length(i), 0);
        EXPECT_EQ(f.Path(i), "");
        EXPECT_EQ(f.PathFile(i), "");
        EXPECT_EQ(f.Stamp(i), 0.0);
    }
    EXPECT_EQ(f.File(0), "one");
}

// ---- listing lines and lengths ----

TEST_F(InZone, DirEntryShowsLengthLocalTimeAndLetters) {
    TempTree t;
    const std::string big = t.file("T/abcdefghijklmnopqrst", "");
    fs::resize_file(big, 1234567890);  // sparse
    setMtime(big, 889452300);          // 9 March 1998, 14:05 UTC
    t.dir("T/sub");
    setMtime(t.path("T/sub"), 889452300);

    CFiles f;
    f.setSearchdir(t.path("T"));
    f.refresh();
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.length(0), 1234567890);
    EXPECT_DOUBLE_EQ(f.Stamp(0), 35863 + (9 * 60 + 5) / 1440.0);  // 09:05 local

    const NumberSeparators& sep = userNumberSeparators();
    const std::string line = f.DirEntry(0);
    EXPECT_EQ(characters(line).size(), 52u);
    EXPECT_EQ(line.substr(0, 15), "abcdefghijklmno");
    const std::string lengthField = "234" + sep.group + "567" + sep.group + "890" + sep.decimal;
    EXPECT_EQ(line.substr(15, lengthField.size()), lengthField);
    const std::string rest = line.substr(15 + lengthField.size());
    EXPECT_EQ(rest, "   3-98-09   9:05a       ");

    f.setSearchType(1);
    f.refresh();
    ASSERT_EQ(f.Count(), 1);
    const std::string dirLine = f.DirEntry(0);
    EXPECT_EQ(dirLine.substr(0, 15), "sub            ");
    EXPECT_EQ(dirLine.substr(15, 11 + sep.decimal.size()), std::string(10, ' ') + "0" + sep.decimal);
    EXPECT_EQ(dirLine.substr(dirLine.size() - 5), "d    ");
}

TEST(Lengths, FilesAbove4GiBReportTheirLength) {
    TempTree t;
    const std::int64_t size = (std::int64_t{5} << 30) + 7;
    fs::resize_file(t.file("T/huge.img", ""), static_cast<std::uintmax_t>(size));
    CFiles f;
    f.setSearchdir(t.path("T"));
    f.refresh();
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.length(0), size);
    EXPECT_NE(f.DirEntry(0).find("368" + userNumberSeparators().group + "709"), std::string::npos);
}

// ---- failures ----

TEST(Failures, UnlistableFolderGivesNothingAndLeavesThePointerAlone) {
    TempTree t;
    t.file("T/f", "x");
    RecordingBusy busy;
    CFiles f(realFileSystem(), &busy);
    f.setSearchdir(t.path("T"));
    f.refresh();
    ASSERT_EQ(f.Count(), 1);
    busy.calls.clear();

    for (const std::string& dir : {t.path("missing"), t.path("T/f")}) {
        f.setSearchdir(dir);
        EXPECT_NO_THROW(f.refresh());
        EXPECT_EQ(f.Count(), 0) << dir;
        EXPECT_EQ(f.File(0), "");
    }
    EXPECT_TRUE(busy.calls.empty());
}

TEST(Failures, EmptyFolderCountsNothing) {
    TempTree t;
    t.dir("T");
    RecordingBusy busy;
    CFiles f(realFileSystem(), &busy);
    f.setSearchdir(t.path("T"));
    f.refresh();
    EXPECT_EQ(f.Count(), 0);
    EXPECT_EQ(busy.calls, (std::vector<bool>{true, false}));
}

TEST(Failures, FileVanishingMidWalkStopsThereAndPassesTheErrorOn) {
    TempTree t;
    t.file("T/keep.txt", "k");
    t.file("T/S/gone.txt", "g");
    t.file("T/S/S2/later.txt", "l");
    FaultyFileSystem faulty;
    faulty.failOn(Op::Stat, "gone.txt", ENOENT);
    RecordingBusy busy;
    CFiles f(faulty, &busy);
    f.setSearchdir(t.path("T"));
    try {
        f.refresh();
        FAIL() << "no error passed on";
    } catch (const SearchError& e) {
        EXPECT_EQ(e.error.number, ENOENT);
        EXPECT_EQ(e.error.description, Error::fromErrno(ENOENT).description);
    }
    EXPECT_EQ(f.Count(), 1);
    EXPECT_EQ(f.PathFile(0), t.path("T/keep.txt"));
    EXPECT_EQ(f.File(1), "");
    EXPECT_EQ(busy.calls, std::vector<bool>{true});  // left busy for the caller

    faulty.clearFaults();
    f.refresh();
    EXPECT_EQ(f.Count(), 3);
}

TEST(Failures, FolderVanishingMidFolderSearchStopsThere) {
    TempTree t;
    t.dir("T/only/inner");
    FaultyFileSystem faulty;
    faulty.failOn(Op::List, "/only/", EIO);
    CFiles f(faulty);
    f.setSearchdir(t.path("T"));
    f.setSearchType(1);
    EXPECT_THROW(f.refresh(), SearchError);
    EXPECT_EQ(names(f), std::vector<std::string>{"only"});
}

// ---- many entries (an in-memory folder tree: one folder of generated names) ----

class FlatFileSystem final : public IFileSystem {
public:
    FlatFileSystem(int count, bool folders) : count_(count), folders_(folders) {}
    Result<FileInfo> stat(const std::string& path) override {
        FileInfo info;
        if (path == "/top/" || path == "/top") {
            info.attributes = attr::Directory;
            info.kind = EntryKind::Directory;
        } else if (folders_) {
            info.attributes = attr::Directory;
            info.kind = EntryKind::Directory;
        } else {
            info.length = static_cast<std::int64_t>(path.size());
        }
        return info;
    }
    Result<std::vector<std::string>> list(const std::string& folderAndPattern, std::uint8_t mask) override {
        if (folderAndPattern.rfind("/top/", 0) != 0) return Error::fromErrno(ENOENT);
        std::vector<std::string> out;
        if (folderAndPattern.find('/', 5) != std::string::npos) return out;  // the children are empty
        if (folders_ && (mask & attr::Directory) == 0) return out;
        for (int i = 0; i < count_; ++i) out.push_back("n" + std::to_string(i));
        return out;
    }
    Status makeDir(const std::string&) override { return Error::fromErrno(ENOSYS); }
    Status removeDir(const std::string&) override { return Error::fromErrno(ENOSYS); }
    Status deleteFile(const std::string&) override { return Error::fromErrno(ENOSYS); }
    Result<FileHandle> openRead(const std::string&) override { return Error::fromErrno(ENOSYS); }
    Result<FileHandle> openWrite(const std::string&, std::uint32_t) override { return Error::fromErrno(ENOSYS); }
    Result<std::size_t> read(FileHandle, void*, std::size_t) override { return Error::fromErrno(ENOSYS); }
    Status write(FileHandle, const void*, std::size_t) override { return Error::fromErrno(ENOSYS); }
    Result<std::int64_t> copyRange(FileHandle, FileHandle, std::int64_t) override { return Error::fromErrno(ENOSYS); }
    Status setLength(FileHandle, std::int64_t) override { return Error::fromErrno(ENOSYS); }
    Status close(FileHandle) override { return Error::fromErrno(ENOSYS); }
    Result<std::string> currentDir() override { return std::string("/top"); }

private:
    int count_;
    bool folders_;
};

TEST(ManyEntries, EntriesAcrossGrowthStepsKeepTheirPlace) {
    FlatFileSystem flat(1001, false);
    CFiles f(flat);
    f.setSearchdir("/top");
    f.refresh();
    ASSERT_EQ(f.Count(), 1001);
    for (const int i : {0, 499, 500, 999, 1000}) {
        EXPECT_EQ(f.File(i), "n" + std::to_string(i));
        EXPECT_EQ(f.PathFile(i), "/top/n" + std::to_string(i));
        EXPECT_EQ(f.length(i), static_cast<std::int64_t>(f.PathFile(i).size()));
    }
}

TEST(ManyEntries, AFolderHoldsAtMost32767Subfolders) {
    FlatFileSystem most(32767, true);
    CFiles f(most);
    f.setSearchdir("/top");
    f.setSearchType(1);
    f.refresh();
    EXPECT_EQ(f.Count(), 32767);

    FlatFileSystem tooMany(32768, true);
    CFiles g(tooMany);
    g.setSearchdir("/top");
    g.setSearchType(1);
    try {
        g.refresh();
        FAIL() << "no overflow";
    } catch (const SearchError& e) {
        EXPECT_EQ(e.error.number, EOVERFLOW);
    }
    EXPECT_EQ(g.Count(), 0);
}

}  // namespace
}  // namespace farsend
