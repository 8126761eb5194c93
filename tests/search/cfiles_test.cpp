#include "search/CFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/NumberFormat.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;
using test::Op;
using test::TempTree;

struct RecordingBusy final : IBusyPointer {
    void setBusy(bool busy) override { calls.push_back(busy); }
    std::vector<bool> calls;
};

// The names found, in walk order, one space between.
std::string joined(const CFiles& f) {
    std::string out;
    for (std::int32_t i = 0; i < f.Count(); ++i) out += (i == 0 ? "" : " ") + f.File(i);
    return out;
}

std::set<std::string> nameSet(const CFiles& f) {
    std::set<std::string> out;
    for (std::int32_t i = 0; i < f.Count(); ++i) out.insert(f.File(i));
    return out;
}

// Searches dir for files (type 0) or folders (type 1); gives the error passed on, if any.
std::optional<Error> search(CFiles& f, const std::string& dir, int type = 0) {
    f.setSearchdir(dir);
    f.setSearchType(static_cast<std::int16_t>(type));
    try {
        f.refresh();
    } catch (const SearchError& e) {
        return e.error;
    }
    return std::nullopt;
}

void expectOneOf(const std::string& got, const std::set<std::string>& allowed) {
    EXPECT_EQ(allowed.count(got), 1u) << got;
}

// T holds t.txt, A (a.txt; A1/a1.txt; A2/a2.txt) and B (b.txt, x.dat; B1/b1.txt). Siblings come in the file system's
// order, so every order the walk allows is accepted.
TEST(Walk, FilesComeBeforeTheirSubtreesAndFoldersLevelByLevel) {
    TempTree t;
    for (const char* p :
         {"T/t.txt", "T/A/a.txt", "T/A/A1/a1.txt", "T/A/A2/a2.txt", "T/B/b.txt", "T/B/x.dat", "T/B/B1/b1.txt"})
        t.file(p);
    CFiles files;
    files.setSearchSpec(" *.txt ");  // case-blind, and folders are entered whatever their names
    search(files, t.path("T"));
    expectOneOf(joined(files), {"t.txt a.txt a1.txt a2.txt b.txt b1.txt", "t.txt a.txt a2.txt a1.txt b.txt b1.txt",
                                "t.txt b.txt b1.txt a.txt a1.txt a2.txt", "t.txt b.txt b1.txt a.txt a2.txt a1.txt"});

    search(files, t.path("T"), 1);
    expectOneOf(joined(files), {"A B A1 A2 B1", "A B A2 A1 B1", "B A B1 A1 A2", "B A B1 A2 A1"});
    for (std::int32_t i = 0; i < files.Count(); ++i) {
        const std::string name = files.File(i);
        EXPECT_EQ(files.PathFile(i), t.path("T/") + (name.size() == 1 ? "" : name.substr(0, 1) + "/") + name);
        EXPECT_EQ(files.Attr(i), attr::Directory) << name;
    }

    files.setRecurse(false);
    files.refresh();
    expectOneOf(joined(files), {"A B", "B A"});
    files.setSearchType(0);
    files.refresh();
    EXPECT_EQ(joined(files), "t.txt");
}

TEST(Walk, HiddenAndSpecialFilesShowButDotAndLinkedFoldersAreNotEntered) {
    TempTree t;
    t.file("T/.profile", "h");
    t.file("T/.cache/inside.txt", "no");
    t.file("T/real/x.txt", "x");
    ASSERT_EQ(::mkfifo(t.path("T/pipe").c_str(), 0644), 0);
    fs::create_directory_symlink(t.path("T/real"), t.path("T/alias"));
    fs::create_directory_symlink(t.path("T"), t.path("T/real/loop"));  // a cycle
    CFiles files;
    search(files, t.path("T"));
    std::set<std::string> got;
    for (std::int32_t i = 0; i < files.Count(); ++i)
        got.insert(files.PathFile(i).substr(t.root().size()) + " " + std::to_string(files.Attr(i)));
    EXPECT_EQ(got, (std::set<std::string>{"/T/.profile " + std::to_string(attr::Hidden),
                                          "/T/pipe " + std::to_string(attr::System), "/T/real/x.txt 0"}));
    search(files, t.path("T"), 1);
    EXPECT_EQ(joined(files), "real");
}

TEST(Walk, FilesMustCarryEveryBitOfTheMask) {
    TempTree t;
    t.file("T/plain");
    t.file("T/.hidden");
    for (const char* p : {"T/locked", "T/.locked"})
        fs::permissions(t.file(p), fs::perms::owner_write, fs::perm_options::remove);
    CFiles files;
    const std::pair<std::uint8_t, std::set<std::string>> cases[] = {{0, {"plain", "locked", ".locked", ".hidden"}},
                                                                    {attr::ReadOnly, {"locked", ".locked"}},
                                                                    {attr::ReadOnly | attr::Hidden, {".locked"}}};
    for (const auto& [mask, expected] : cases) {
        files.setSearchAttr(mask);
        search(files, t.path("T"));
        EXPECT_EQ(nameSet(files), expected) << "mask " << int(mask);
    }
}

TEST(Walk, EntriesAcrossGrowthStepsKeepTheirPlace) {
    TempTree t;
    std::set<std::string> made;
    for (int i = 0; i < 1001; ++i) made.insert("n" + std::to_string(i));
    for (const std::string& name : made) t.file("T/" + name, name);
    CFiles f;
    search(f, t.path("T"));
    ASSERT_EQ(f.Count(), 1001);
    EXPECT_EQ(nameSet(f), made);
    for (const int i : {0, 499, 500, 999, 1000}) EXPECT_EQ(TempTree::read(f.PathFile(i)), f.File(i));
}

TEST(Properties, SettersNormaliseAndSearchTypeIgnoresUnknownValues) {
    using Cases = std::vector<std::pair<std::string, std::string>>;
    CFiles f;
    for (const auto& [in, out] : Cases{{" *.txt ", "*.TXT"}, {"   ", ""}, {"\tx ", "\tX"}}) {
        f.setSearchSpec(in);
        EXPECT_EQ(f.SearchSpec(), out) << '"' << in << '"';
    }
    for (const auto& [in, out] : Cases{{"/data", "/data/"}, {"/", "/"}, {"/data/", "/data/"}, {"", "/"}}) {
        f.setSearchdir(in);
        EXPECT_EQ(f.searchdir(), out) << '"' << in << '"';
    }
    for (const int type : {1, 2, -1}) f.setSearchType(static_cast<std::int16_t>(type));
    EXPECT_EQ(f.SearchType(), 1);
    f.setSearchType(0);
    EXPECT_EQ(f.SearchType(), 0);
}

TEST(Entries, DirEntryShowsLengthLocalTimeAndLettersAndOutOfRangeReadsAreEmpty) {
    ::setenv("TZ", "EST5", 1);  // five hours behind UTC all year; nothing else here depends on the zone
    ::tzset();
    TempTree t;
    const std::string big = t.file("T/abcdefghijklmnopqrst");
    fs::resize_file(big, 1234567890);                           // sparse
    const timespec when[2] = {{889452300, 0}, {889452300, 0}};  // 9 March 1998, 14:05 UTC
    for (const std::string& p : {big, t.dir("T/sub")}) ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), when, 0), 0);
    CFiles f;
    search(f, t.path("T"));
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.length(0), 1234567890);
    EXPECT_DOUBLE_EQ(f.Stamp(0), 35863 + (9 * 60 + 5) / 1440.0);  // 09:05 local
    const NumberSeparators& sep = userNumberSeparators();
    EXPECT_EQ(f.DirEntry(0),
              "abcdefghijklmno234" + sep.group + "567" + sep.group + "890" + sep.decimal + "   3-98-09   9:05a       ");
    for (const std::int32_t i : {-1, f.Count()}) {
        EXPECT_EQ(f.File(i) + f.Path(i) + f.PathFile(i) + f.DirEntry(i), "") << i;
        EXPECT_TRUE(f.length(i) == 0 && f.Attr(i) == 0 && f.Stamp(i) == 0) << i;
    }
    search(f, t.path("T"), 1);
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.DirEntry(0), "sub" + std::string(22, ' ') + "0" + sep.decimal + "   3-98-09   9:05a  d    ");
}

TEST(Walk, AFileAbove4GiBReportsItsLengthButAsAFolderGivesNothing) {
    TempTree t;
    const std::int64_t size = (std::int64_t{5} << 30) + 7;
    fs::resize_file(t.file("T/huge.img"), static_cast<std::uintmax_t>(size));  // sparse
    RecordingBusy busy;
    CFiles f(realFileSystem(), &busy);
    search(f, t.path("T"));
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.length(0), size);
    for (const std::string& dir : {t.path("T/huge.img"), t.path("missing")}) {
        EXPECT_EQ(search(f, dir), std::nullopt) << dir;
        EXPECT_EQ(f.Count(), 0) << dir;
    }
    EXPECT_EQ(busy.calls, (std::vector<bool>{true, false}));  // not shown for a search that cannot start
}

TEST(Failures, AnEntryVanishingMidWalkStopsThereAndPassesTheErrorOn) {
    TempTree t;
    t.file("T/keep.txt", "k");
    t.file("T/S/gone.txt", "g");
    t.file("T/S/S2/later.txt", "l");
    using Case = std::tuple<int, Op, const char*, int, const char*, std::int32_t>;
    for (const auto& [type, op, pathPart, errnoValue, before, all] :
         {Case{0, Op::Stat, "gone.txt", ENOENT, "keep.txt", 3}, Case{1, Op::List, "/S/", EIO, "S", 2}}) {
        FaultyFileSystem faulty;
        faulty.failOn(op, pathPart, errnoValue);
        RecordingBusy busy;
        CFiles f(faulty, &busy);
        EXPECT_EQ(search(f, t.path("T"), type), Error::fromErrno(errnoValue)) << pathPart;
        EXPECT_EQ(joined(f), before);
        EXPECT_EQ(busy.calls, std::vector<bool>{true});  // left busy for the caller
        faulty.clearFaults();
        f.refresh();
        EXPECT_EQ(f.Count(), all);
    }
}

}  // namespace
}  // namespace farsend
