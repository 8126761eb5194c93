#include "search/CFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/NumberFormat.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

namespace fs = std::filesystem;
using test::Op;
using test::TempTree;

struct RecordingBusy final : IBusyPointer {
    void setBusy(bool busy) override { calls += busy ? "+" : "-"; }
    std::string calls;
};

// Searches dir for files (type 0) or folders (type 1): the names found in
// walk order, one space between, after "!errno " when the walk failed.
std::string search(CFiles& f, const std::string& dir, int type = 0) {
    f.setSearchdir(dir);
    f.setSearchType(static_cast<std::int16_t>(type));
    std::string out;
    try {
        f.refresh();
    } catch (const SearchError& e) {
        out = "!" + std::to_string(e.error.number) + " ";
    }
    for (std::int32_t i = 0; i < f.Count(); ++i) out += (i == 0 ? "" : " ") + f.File(i);
    return out;
}

// Files come before their folder's subtrees; folders level by level. Siblings
// come in the file system's order, so every order the walk allows is accepted.
TEST(Walk, OrderTypesAndRecursion) {
    TempTree t;
    for (const char* p :
         {"T/t.txt", "T/A/a.txt", "T/A/A1/a1.txt", "T/A/A2/a2.txt", "T/B/b.txt", "T/B/x.dat", "T/B/B1/b1.txt"})
        t.file(p);
    CFiles f;
    f.setSearchSpec(" *.txt ");  // case-blind, and folders are entered whatever their names
    const std::set<std::string> files{
        "t.txt a.txt a1.txt a2.txt b.txt b1.txt", "t.txt a.txt a2.txt a1.txt b.txt b1.txt",
        "t.txt b.txt b1.txt a.txt a1.txt a2.txt", "t.txt b.txt b1.txt a.txt a2.txt a1.txt"};
    EXPECT_EQ(files.count(search(f, t.path("T"))), 1u) << search(f, t.path("T"));
    const std::set<std::string> folders{"A B A1 A2 B1", "A B A2 A1 B1", "B A B1 A1 A2", "B A B1 A2 A1"};
    EXPECT_EQ(folders.count(search(f, t.path("T"), 1)), 1u) << search(f, t.path("T"), 1);
    for (std::int32_t i = 0; i < f.Count(); ++i) {
        const std::string name = f.File(i), parent = name.size() == 1 ? "" : name.substr(0, 1) + "/";
        EXPECT_EQ(f.Path(i) + "|" + f.PathFile(i) + "|" + std::to_string(f.Attr(i)),
                  t.path("T/") + parent + "|" + t.path("T/") + parent + name + "|16");
    }
    f.setRecurse(false);
    EXPECT_EQ((std::set<std::string>{"A B", "B A"}.count(search(f, t.path("T"), 1))), 1u);
    EXPECT_EQ(search(f, t.path("T")), "t.txt");
}

// Hidden and special files show, with their bits; dot folders and links to
// folders are not entered (no cycles); files carry every bit of the mask.
TEST(Walk, WhatIsFoundAndEntered) {
    TempTree t;
    t.file("T/.profile");
    t.file("T/.cache/inside.txt");
    t.file("T/real/x.txt");
    ASSERT_EQ(::mkfifo(t.path("T/pipe").c_str(), 0644), 0);
    fs::create_directory_symlink(t.path("T/real"), t.path("T/alias"));
    fs::create_directory_symlink(t.path("T"), t.path("T/real/loop"));
    for (const char* p : {"T/locked", "T/.locked"})
        fs::permissions(t.file(p), fs::perms::owner_write, fs::perm_options::remove);
    CFiles f;
    const std::pair<std::uint8_t, std::set<std::string>> cases[] = {
        {0, {".profile 2", "pipe 4", "x.txt 0", "locked 1", ".locked 3"}},
        {attr::ReadOnly, {"locked 1", ".locked 3"}},
        {attr::ReadOnly | attr::Hidden, {".locked 3"}}};
    for (const auto& [mask, expected] : cases) {
        f.setSearchAttr(mask);
        search(f, t.path("T"));
        std::set<std::string> got;
        for (std::int32_t i = 0; i < f.Count(); ++i) got.insert(f.File(i) + " " + std::to_string(f.Attr(i)));
        EXPECT_EQ(got, expected) << "mask " << int(mask);
    }
    EXPECT_EQ(search(f, t.path("T"), 1), "real");
}

TEST(Walk, EntriesAcrossGrowthStepsKeepTheirPlace) {
    TempTree t;
    for (int i = 0; i < 1001; ++i) t.file("T/n" + std::to_string(i), "n" + std::to_string(i));
    CFiles f;
    search(f, t.path("T"));
    ASSERT_EQ(f.Count(), 1001);
    for (const int i : {0, 499, 500, 999, 1000}) EXPECT_EQ(TempTree::read(f.PathFile(i)), f.File(i));
}

TEST(Properties, SettersNormaliseAndSearchTypeIgnoresUnknownValues) {
    CFiles f;
    std::string seen;
    for (const char* spec : {" *.txt ", "   ", "\tx "}) f.setSearchSpec(spec), seen += f.SearchSpec() + "|";
    for (const char* dir : {"/data", "/", "/data/", ""}) f.setSearchdir(dir), seen += f.searchdir() + "|";
    for (const int type : {1, 2, -1}) f.setSearchType(static_cast<std::int16_t>(type));
    EXPECT_EQ(seen + std::to_string(f.SearchType()), "*.TXT||\tX|/data/|/|/data/|/|1");
}

// Length (above 4 GiB too), local time and the listing line of an entry; the
// empty values out of range.
TEST(Entries, LengthLocalTimeListingLineAndEmptyOutOfRange) {
    ::setenv("TZ", "EST5", 1);  // five hours behind UTC all year; nothing else here depends on the zone
    ::tzset();
    TempTree t;
    const std::string big = t.file("T/abcdefghijklmnopqrst");
    fs::resize_file(big, (std::uintmax_t{5} << 30) + 7);        // sparse
    const timespec when[2] = {{889452300, 0}, {889452300, 0}};  // 9 March 1998, 14:05 UTC
    for (const std::string& p : {big, t.dir("T/sub")}) ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), when, 0), 0);
    CFiles f;
    ASSERT_EQ(search(f, t.path("T")), "abcdefghijklmnopqrst");
    EXPECT_EQ(f.length(0), (std::int64_t{5} << 30) + 7);
    EXPECT_DOUBLE_EQ(f.Stamp(0), 35863 + (9 * 60 + 5) / 1440.0);  // 09:05 local
    const NumberSeparators& sep = userNumberSeparators();
    EXPECT_EQ(f.DirEntry(0),
              "abcdefghijklmno368" + sep.group + "709" + sep.group + "127" + sep.decimal + "   3-98-09   9:05a       ");
    for (const std::int32_t i : {-1, f.Count()})
        EXPECT_TRUE(f.File(i) + f.Path(i) + f.PathFile(i) + f.DirEntry(i) == "" && f.length(i) == 0 && f.Attr(i) == 0 &&
                    f.Stamp(i) == 0)
            << i;
    ASSERT_EQ(search(f, t.path("T"), 1), "sub");
    EXPECT_EQ(f.DirEntry(0), "sub" + std::string(22, ' ') + "0" + sep.decimal + "   3-98-09   9:05a  d    ");
}

// An entry vanishing mid-walk stops it there and passes the error on, the
// busy pointer left for the caller; the next refresh finds everything. A
// search that cannot start (a file or nothing where the folder should be)
// gives nothing and shows no busy pointer.
TEST(Failures, StopWhereTheWalkFailed) {
    TempTree t;
    t.file("T/keep.txt");
    t.file("T/S/gone.txt");
    t.file("T/S/S2/later.txt");
    for (const auto& [type, op, part, errnoValue, expected] :
         {std::tuple(0, Op::Stat, "gone.txt", ENOENT, "keep.txt|+|3"), std::tuple(1, Op::List, "/S/", EIO, "S|+|2")}) {
        test::FaultyFileSystem faulty;
        faulty.failOn(op, part, errnoValue);
        RecordingBusy busy;
        CFiles f(faulty, &busy);
        std::string failed = search(f, t.path("T"), type);
        failed += "|" + busy.calls;
        faulty.clearFaults();
        f.refresh();
        EXPECT_EQ(failed + "|" + std::to_string(f.Count()), "!" + std::to_string(errnoValue) + " " + expected);
        failed = busy.calls;
        EXPECT_EQ(search(f, t.path("T/keep.txt")) + search(f, t.path("missing")) + busy.calls, failed);
    }
}

}  // namespace
}  // namespace farsend
