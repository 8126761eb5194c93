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

// Files come before their folder's subtrees; folders level by level; siblings
// in the file system's order, so either order of A and B is accepted. Dot
// folders and links to folders are not entered (no cycles). Hidden and
// special files show, with their bits; files carry every bit of the mask.
// The setters normalise; an unknown search type is ignored.
TEST(Walk, OrderMasksAndWhatIsEntered) {
    test::TempTree t;
    t.build("t.txt=;A/a.txt=;A/A1/a1.txt=;B/b.txt=;B/x.dat=;B/B1/b1.txt=");
    t.build(".cache/in.txt=;alias@A;A/loop@..;pipe|;.profile=;locked~444=;.locked~444=");
    CFiles f;
    f.setSearchSpec(" *.txt ");  // case-blind, and folders are entered whatever their names
    const std::string files = search(f, t.root()), folders = search(f, t.root(), 1);
    EXPECT_TRUE(files == "t.txt a.txt a1.txt b.txt b1.txt" || files == "t.txt b.txt b1.txt a.txt a1.txt") << files;
    EXPECT_TRUE(folders == "A B A1 B1" || folders == "B A B1 A1") << folders;
    const std::string last = f.File(f.Count() - 1), parent = t.path(last.substr(0, 1) + "/");  // A1 or B1
    EXPECT_EQ(f.Path(f.Count() - 1) + "|" + f.PathFile(f.Count() - 1), parent + "|" + parent + last);
    f.setSearchType(2);
    EXPECT_EQ(f.SearchSpec() + f.searchdir() + std::to_string(f.SearchType()), "*.TXT" + t.path("") + "1");
    f.setRecurse(false);
    EXPECT_EQ((std::set<std::string>{"A B", "B A"}.count(search(f, t.root(), 1))), 1u);
    f.setSearchSpec("*.*");
    search(f, t.root());
    std::set<std::string> found;
    for (std::int32_t i = 0; i < f.Count(); ++i) found.insert(f.File(i) + " " + std::to_string(f.Attr(i)));
    EXPECT_EQ(found, (std::set<std::string>{"t.txt 0", ".profile 2", "pipe 4", "locked 1", ".locked 3"}));
    f.setSearchAttr(attr::ReadOnly | attr::Hidden);
    EXPECT_EQ(search(f, t.root()), ".locked");
}

// Length (above 4 GiB too), local time and the listing line of an entry; the
// empty values out of range; entries across the list's growth steps keep
// their place.
TEST(Entries, LengthLocalTimeListingLineOutOfRangeAndGrowth) {
    ::setenv("TZ", "EST5", 1);  // five hours behind UTC all year; nothing else here depends on the zone
    ::tzset();
    test::TempTree t;
    const std::string big = t.file("T/abcdefghijklmnopqrst");
    std::filesystem::resize_file(big, (std::uintmax_t{5} << 30) + 7);  // sparse
    const timespec when[2] = {{889452300, 0}, {889452300, 0}};         // 9 March 1998, 14:05 UTC
    for (const std::string& p : {big, t.dir("T/sub")}) ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), when, 0), 0);
    CFiles f;
    ASSERT_EQ(search(f, t.path("T")), "abcdefghijklmnopqrst");
    const NumberSeparators& sep = userNumberSeparators();
    EXPECT_EQ(std::to_string(f.length(0)) + " " + std::to_string(f.Stamp(0)) + " " + f.DirEntry(0),  // 09:05 local
              "5368709127 35863.378472 abcdefghijklmno368" + sep.group + "709" + sep.group + "127" + sep.decimal +
                  "   3-98-09   9:05a       ");
    EXPECT_EQ(f.File(f.Count()) + f.Path(-1) + f.PathFile(f.Count()) + f.DirEntry(-1), "");
    EXPECT_TRUE(f.length(-1) == 0 && f.Attr(f.Count()) == 0 && f.Stamp(-1) == 0);
    ASSERT_EQ(search(f, t.path("T"), 1), "sub");
    EXPECT_EQ(f.DirEntry(0), "sub" + std::string(22, ' ') + "0" + sep.decimal + "   3-98-09   9:05a  d    ");
    for (int i = 0; i < 1001; ++i) t.file("N/n" + std::to_string(i), "n" + std::to_string(i));
    search(f, t.path("N"));
    ASSERT_EQ(f.Count(), 1001);
    for (const int i : {0, 499, 500, 999, 1000}) EXPECT_EQ(test::TempTree::read(f.PathFile(i)), f.File(i));
}

// An entry vanishing mid-walk stops it there and passes the error on, the
// busy pointer left for the caller; the next refresh finds everything. A
// search that cannot start (a file or nothing where the folder should be)
// gives nothing and shows no busy pointer.
TEST(Failures, StopWhereTheWalkFailed) {
    test::TempTree t;
    t.build("T/keep.txt=;T/S/gone.txt=;T/S/S2/later.txt=");
    for (const auto& [type, op, part, errnoValue, expected] :
         {std::tuple(0, test::Op::Stat, "gone.txt", ENOENT, "keep.txt|+|3"),
          std::tuple(1, test::Op::List, "/S/", EIO, "S|+|2")}) {
        test::FaultyFileSystem faulty;
        faulty.failOn(op, part, errnoValue);
        RecordingBusy busy;
        CFiles f(faulty, &busy);
        std::string seen = search(f, t.path("T"), type);
        seen += "|" + busy.calls + "|";
        faulty.clearFaults();
        f.refresh();
        seen += std::to_string(f.Count());
        seen += search(f, t.path("T/keep.txt")) + search(f, t.path("missing"));
        EXPECT_EQ(seen + "|" + busy.calls, "!" + std::to_string(errnoValue) + " " + expected + "|++-");
    }
}

}  // namespace
}  // namespace farsend
