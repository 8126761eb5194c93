#include "search/CFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "platform/NumberFormat.h"
#include "platform/Paths.h"
#include "platform/SystemCalls.h"
#include "search/ListingLine.h"
#include "support/PathFaults.h"
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

// Names-only finds what the full search finds, in its order, reading each
// folder once and asking the system about links alone; with a mask, or a
// pattern without wildcards, it runs in full.
TEST(Walk, NamesOnlyFindsTheSameInOneReadingPerFolder) {
    static std::set<std::string> looked;  // the names the system was asked about
    const std::set<std::string> links{"alias", "gone", "l", "loop"};
    test::TempTree t;
    t.build("t.txt=;A/a.txt=;A/A1/a1.txt=;B/b.txt=;.cache/in.txt=;alias@A;A/loop@..;pipe|;locked~444=;gone@x;l@t.txt");
    for (const auto& [pattern, mask, once] : {std::tuple("*.*", 0, true), std::tuple("*.TXT", 0, true),
                                              std::tuple("*.*", 1, false), std::tuple("t.txt", 0, false)}) {
        std::string found[2];
        for (const bool namesOnly : {false, true}) {
            test::PathFaults counted;  // puts the table back as it found it
            sys::calls().fstatat = [](int d, const char* p, struct stat* st, int f) {
                return looked.insert(GetFileName(p)), sys::realCalls().fstatat(d, p, st, f);
            };
            CFiles f;
            f.setNamesOnly(namesOnly), f.setSearchSpec(pattern), f.setSearchAttr(static_cast<std::uint8_t>(mask));
            looked.clear();
            search(f, t.root());
            for (std::int32_t i = 0; i < f.Count(); ++i) found[namesOnly] += f.PathFile(i) + " ";
            const bool read = counted.listings() == static_cast<int>(f.foldersWalked().size()) &&
                              std::includes(links.begin(), links.end(), looked.begin(), looked.end());
            EXPECT_EQ(read, namesOnly && once) << pattern;
        }
        EXPECT_EQ(found[1], found[0]) << pattern;
    }
}

// A file search goes on past a folder it cannot list and an entry it cannot
// look at, naming each folder not read whole once (an entry gone since the
// listing passes unnamed); a folder search stops there and passes the error
// on, the busy pointer left for the caller. Each refresh starts afresh. A
// search that cannot start gives nothing and shows no busy pointer.
TEST(Failures, FileSearchGoesOnFolderSearchStops) {
    test::TempTree t;
    t.build("T/top=;T/locked/in=;T/aa/a=;T/zz/z=");
    // names-only, search type, faulty call, on a path holding, errno: error thrown, names found, unread, busy
    for (const auto& [namesOnly, type, op, part, errnoValue, expected] :
         {std::tuple(false, 0, test::Op::List, "/locked/", EACCES, "a top z |/T/locked/|+-"),
          std::tuple(true, 0, test::Op::List, "/locked/", EACCES, "a top z |/T/locked/|+-"),
          std::tuple(false, 0, test::Op::Stat, "/aa/a", ENOENT, "in top z |+-"),
          std::tuple(false, 0, test::Op::Stat, "/aa/a", EIO, "in top z |/T/aa/|+-"),
          std::tuple(false, 0, test::Op::Stat, "/zz", EACCES, "a in top |/T/|+-"),
          std::tuple(false, 1, test::Op::List, "/aa/", EIO, "!aa locked zz |+")}) {
        test::PathFaults faulty;
        faulty.failOn(op, part, errnoValue);
        RecordingBusy busy;
        CFiles f(realFileSystem(), &busy);
        f.setNamesOnly(namesOnly);
        std::string seen = search(f, t.path("T"), type)[0] == '!' ? "!" : "";
        std::set<std::string> names;
        for (std::int32_t i = 0; i < f.Count(); ++i) names.insert(f.File(i));
        for (const std::string& n : names) seen += n + " ";
        for (const std::string& folder : f.foldersUnread()) seen += "|" + folder.substr(t.root().size());
        EXPECT_EQ(seen + "|" + busy.calls, expected) << part;
        faulty.clearFaults();
        f.refresh();
        EXPECT_EQ(f.Count() + 10 * f.foldersUnread().size(), type == 0 ? 4u : 3u) << part;
    }
    RecordingBusy busy;
    CFiles f(realFileSystem(), &busy);
    EXPECT_EQ(search(f, t.path("T/top")) + search(f, t.path("missing")) + busy.calls, "");
}

// A locale without grouping gets comma and point, unless its decimal is a comma.
const NumberSeparators kComma = separatorsFor("", ""), kDot = separatorsFor("", ","),
                       kNarrow = separatorsFor("\u202f", ",");

// Numbers, and texts that read as numbers, are grouped with the decimal separator always written;
// the field keeps its last width characters, whole, the bytes of a broken sequence each alone.
TEST(PadNum, RightAlignsAndKeepsTheLastCharacters) {
    // text (nullptr: the number is padded), number, width, decimals, separators, field
    const std::tuple<const char*, std::int64_t, std::int16_t, std::int16_t, const NumberSeparators&, const char*>
        cases[] = {
            {nullptr, 1234567890, 12, 0, kComma, "234,567,890."},
            {nullptr, std::numeric_limits<std::int64_t>::min(), 12, 0, kComma, "854,775,808."},
            {nullptr, -1234, 9, 2, kComma, "-1,234.00"},
            {nullptr, 1234567, 10, -3, kComma, "1,234,567."},
            {nullptr, 1234567, 10, 0, kDot, "1.234.567,"},
            {nullptr, 1234567, 8, 0, kNarrow, "234\u202f567,"},
            {nullptr, 42, -1, 0, kComma, ""},
            {" 1234 ", 0, 8, 0, kComma, "  1,234."},
            {"1234.567", 0, 8, 2, kComma, "1,234.57"},
            {"-0.001", 0, 3, 0, kComma, " 0."},
            {"-12.5", 0, 8, 1, kComma, "   -12.5"},
            {"12abc", 0, 6, 0, kComma, " 12abc"},
            {"\u00e9t\u00e9", 0, 2, 0, kComma, "t\u00e9"},
            {"\u20ac\U0001F600", 0, 2, 0, kComma, "\u20ac\U0001F600"},
            {"\xE2\x82z", 0, 2, 0, kComma, "\x82z"},
            {"\x80\x80", 0, 3, 0, kComma, " \x80\x80"},
        };
    for (const auto& [text, number, width, decimals, sep, expected] : cases)
        EXPECT_EQ(text != nullptr ? PadNum(text, width, sep, decimals) : PadNum(number, width, sep, decimals), expected)
            << (text != nullptr ? text : std::to_string(number)) << " in " << width;
}

// Short dates and times, and day numbers; before day 0 the time of day counts backwards.
TEST(Stamps, ShortDateShortTimeAndDayNumber) {
    const std::pair<CivilTime, const char*> cases[] = {
        {{1998, 3, 9, 0, 0, 0}, "3-98-09 12:00a 35863.000000"},
        {{2000, 12, 31, 12, 0, 0}, "12-00-31 12:00p 36891.500000"},
        {{2023, 7, 4, 23, 59, 59}, "7-23-04 11:59p 45111.999988"},
        {{1899, 12, 29, 6, 0, 0}, "12-99-29 6:00a -1.250000"},
    };
    for (const auto& [t, expected] : cases)
        EXPECT_EQ(formatShortDate(t) + " " + formatShortTime(t) + " " + std::to_string(dayNumber(t)), expected);
}

TEST(ListingLine, LettersInOrderAndLongNamesBetweenTheFieldsInWholeCharacters) {
    const CivilTime t{2001, 1, 2, 3, 4, 0};
    EXPECT_EQ(listingLine("docs", 0, {2005, 11, 20, 9, 30, 0}, 16 | 1 | 4 | 2 | 32, kComma),
              "docs                     0.  11-05-20   9:30a  drsha");
    EXPECT_EQ(listingLine(std::string(60, 'x'), 5, t, 0, kComma),
              "xxxxxxxxxxxxxxx          5.xx 1-01-02xx 3:04axxxxxxx");
    // The 16th two-byte character gives way to the length field whole.
    std::string accents;
    for (int i = 0; i < 16; ++i) accents += "\u00e9";
    EXPECT_EQ(listingLine(accents, 1, t, 0, kComma), accents.substr(0, 30) + "          1.   1-01-02   3:04a       ");
}

}  // namespace
}  // namespace farsend
