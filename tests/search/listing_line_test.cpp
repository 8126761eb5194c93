#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "search/ListingLine.h"

namespace farsend {
namespace {

const NumberSeparators kComma{",", "."};
const NumberSeparators kDot{".", ","};
const NumberSeparators kNarrowSpace{"\u202f", ","};

// ---- numbers ----

struct NumberCase {
    std::int64_t value;
    int decimals;
    const NumberSeparators* sep;
    const char* expected;
};
void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.value << " with " << c.decimals << " decimals"; }

class FormatNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberTest, GroupsThousandsAndAlwaysWritesTheDecimalSeparator) {
    const auto& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.decimals, *c.sep), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Integers, FormatNumberTest,
    ::testing::Values(NumberCase{0, 0, &kComma, "0."}, NumberCase{999, 0, &kComma, "999."},
                      NumberCase{1000, 0, &kComma, "1,000."}, NumberCase{1234567, 0, &kComma, "1,234,567."},
                      NumberCase{1234567890, 0, &kComma, "1,234,567,890."}, NumberCase{-1234, 2, &kComma, "-1,234.00"},
                      NumberCase{1234567, -3, &kComma, "1,234,567."}, NumberCase{1234567, 0, &kDot, "1.234.567,"},
                      NumberCase{1234567, 0, &kNarrowSpace, "1\u202f234\u202f567,"},
                      NumberCase{std::numeric_limits<std::int64_t>::min(), 0, &kComma, "-9,223,372,036,854,775,808."},
                      NumberCase{5368709127, 0, &kComma, "5,368,709,127."}));

TEST(FormatNumber, FractionsRoundToTheGivenDigits) {
    EXPECT_EQ(formatNumber(1234.567, 2, kComma), "1,234.57");
    EXPECT_EQ(formatNumber(0.25, 1, kDot), "0,2");  // 0.25 is exact: ties go to even
    EXPECT_EQ(formatNumber(-0.001, 0, kComma), "0.");
    EXPECT_EQ(formatNumber(-1500.0, 0, kComma), "-1,500.");
}

TEST(Separators, LocaleWithoutGroupingGetsCommaAndPoint) {
    EXPECT_EQ(separatorsFor("", ""), kComma);
    EXPECT_EQ(separatorsFor("", "."), kComma);
    EXPECT_EQ(separatorsFor("", ","), kDot);
    EXPECT_EQ(separatorsFor(".", ","), kDot);
    EXPECT_EQ(separatorsFor("\u202f", ","), kNarrowSpace);
}

// ---- fields ----

struct PadCase {
    const char* text;  // a text value, or nullptr for the number
    std::int64_t number;
    std::int16_t width;
    int decimals;
    const char* expected;
};
void PrintTo(const PadCase& c, std::ostream* os) {
    *os << '"' << (c.text != nullptr ? c.text : std::to_string(c.number)) << "\" in " << c.width;
}

class PadNumTest : public ::testing::TestWithParam<PadCase> {};

TEST_P(PadNumTest, RightAlignsAndKeepsTheLastCharacters) {
    const auto& c = GetParam();
    const std::string got = c.text != nullptr
                                ? PadNum(c.text, c.width, kComma, static_cast<std::int16_t>(c.decimals))
                                : PadNum(c.number, c.width, kComma, static_cast<std::int16_t>(c.decimals));
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, PadNumTest,
                         ::testing::Values(PadCase{nullptr, 1234567890, 12, 0, "234,567,890."},
                                           PadCase{nullptr, 0, 12, 0, "          0."},
                                           PadCase{nullptr, 42, 3, 0, "42."}, PadCase{nullptr, 42, 0, 0, ""},
                                           PadCase{nullptr, 7, 6, 2, "  7.00"}, PadCase{"3-98-09", 0, 8, 0, " 3-98-09"},
                                           PadCase{"12:00a", 0, 6, 0, "12:00a"}, PadCase{"2:05p", 0, 6, 0, " 2:05p"},
                                           PadCase{"abcdef", 0, 3, 0, "def"}, PadCase{" 1234 ", 0, 8, 0, "  1,234."},
                                           PadCase{"-12.5", 0, 8, 1, "   -12.5"}, PadCase{"1e3", 0, 6, 0, "1,000."},
                                           PadCase{"12abc", 0, 6, 0, " 12abc"}, PadCase{"+-1", 0, 4, 0, " +-1"},
                                           PadCase{"", 0, 2, 0, "  "}));

TEST(PadNum, MissingDecimalsCountAsNone) {
    EXPECT_EQ(PadNum(std::int64_t{1234}, 6, kComma), "1,234.");
    EXPECT_EQ(PadNum("1234", 6, kComma), "1,234.");
}

TEST(PadLeft, CountsCharactersNotBytes) {
    EXPECT_EQ(padLeft("\u00e9t\u00e9", 4), " \u00e9t\u00e9");
    EXPECT_EQ(padLeft("1\u202f234,", 6), "1\u202f234,");
    EXPECT_EQ(padLeft("1\u202f234,", 5), "\u202f234,");
    EXPECT_EQ(padLeft("\u00e9t\u00e9", 2), "t\u00e9");
}

// ---- dates and times ----

struct StampCase {
    CivilTime t;
    const char* date;
    const char* time;
    double day;
};
void PrintTo(const StampCase& c, std::ostream* os) {
    *os << c.t.year << '-' << c.t.month << '-' << c.t.day << ' ' << c.t.hour << ':' << c.t.minute;
}

class StampTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(StampTest, FormatsAndCountsDays) {
    const auto& c = GetParam();
    EXPECT_EQ(formatShortDate(c.t), c.date);
    EXPECT_EQ(formatShortTime(c.t), c.time);
    EXPECT_DOUBLE_EQ(dayNumber(c.t), c.day);
}

INSTANTIATE_TEST_SUITE_P(
    Stamps, StampTest,
    ::testing::Values(StampCase{{1998, 3, 9, 14, 5, 0}, "3-98-09", "2:05p", 35863 + (14 * 60 + 5) / 1440.0},
                      StampCase{{1998, 3, 9, 0, 0, 0}, "3-98-09", "12:00a", 35863},
                      StampCase{{2000, 12, 31, 12, 0, 0}, "12-00-31", "12:00p", 36891.5},
                      StampCase{{2023, 7, 4, 11, 59, 59}, "7-23-04", "11:59a", 45111 + 43199 / 86400.0},
                      StampCase{{1899, 12, 30, 0, 0, 0}, "12-99-30", "12:00a", 0},
                      StampCase{{1899, 12, 31, 18, 0, 0}, "12-99-31", "6:00p", 1.75},
                      StampCase{{1899, 12, 29, 6, 0, 0}, "12-99-29", "6:00a", -1.25},
                      StampCase{{1970, 1, 1, 0, 0, 0}, "1-70-01", "12:00a", 25569}));

// ---- the line ----

TEST(ListingLine, FieldsOverwriteTheirOwnColumns) {
    const CivilTime t{1998, 3, 9, 14, 5, 0};
    const std::string line = listingLine("abcdefghijklmnopqrst", 1234567890, t, 0, kComma);
    //                    1234567890123456789012345678901234567890123456789012
    EXPECT_EQ(line, "abcdefghijklmno234,567,890.   3-98-09   2:05p       ");
    ASSERT_EQ(line.size(), 52u);
}

TEST(ListingLine, FolderShowsZeroAndLettersFromColumn48) {
    const CivilTime t{2005, 11, 20, 9, 30, 0};
    const std::string line = listingLine("docs", 0, t, 16 | 1 | 4 | 2 | 32, kComma);
    EXPECT_EQ(line, "docs                     0.  11-05-20   9:30a  drsha");
    EXPECT_EQ(attributeLetters(16 | 2), "dh");
    EXPECT_EQ(attributeLetters(1 | 32), "ra");
}

TEST(ListingLine, LongNamesShowBetweenTheFieldsAndAreCutAt52) {
    const std::string name(60, 'x');
    const std::string line = listingLine(name, 5, CivilTime{2001, 1, 2, 3, 4, 0}, 0, kComma);
    EXPECT_EQ(line, "xxxxxxxxxxxxxxx          5.xx 1-01-02xx 3:04axxxxxxx");
}

TEST(ListingLine, NeverCutsACharacterInTwo) {
    // 16 two-byte characters: the 16th gives way to the length field whole.
    std::string name;
    for (int i = 0; i < 16; ++i) name += "\u00e9";
    const std::string line = listingLine(name, 1, CivilTime{2001, 1, 2, 3, 4, 0}, 0, kComma);
    EXPECT_EQ(characters(line).size(), 52u);
    EXPECT_EQ(line.substr(0, 30), std::string(name, 0, 30));
    EXPECT_EQ(line.substr(30, 12), "          1.");
}

TEST(Characters, BrokenSequencesStandAlone) {
    EXPECT_EQ(characters("a\u00e9\u20ac\U0001F600").size(), 4u);
    EXPECT_EQ(characters("\xC3").size(), 1u);
    EXPECT_EQ(characters("\x80\x80").size(), 2u);
    EXPECT_EQ(characters("\xE2\x82z").size(), 3u);
}

}  // namespace
}  // namespace farsend
