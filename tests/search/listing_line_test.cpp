#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "search/ListingLine.h"

namespace farsend {
namespace {

const NumberSeparators kComma{",", "."};
const NumberSeparators kDot{".", ","};
const NumberSeparators kNarrowSpace{"\u202f", ","};

TEST(Separators, LocaleWithoutGroupingGetsCommaAndPointUnlessItsDecimalIsAComma) {
    EXPECT_EQ(separatorsFor("", ""), kComma);
    EXPECT_EQ(separatorsFor("", "."), kComma);
    EXPECT_EQ(separatorsFor("", ","), kDot);
    EXPECT_EQ(separatorsFor("\u202f", ","), kNarrowSpace);
}

// Numbers, and texts that read as numbers, are grouped with the decimal separator always written;
// the field keeps its last width characters.
TEST(PadNum, RightAlignsAndKeepsTheLastCharacters) {
    // text (nullptr: the number is padded), number, width, decimals, separators, field
    const std::tuple<const char*, std::int64_t, std::int16_t, std::int16_t, const NumberSeparators&, const char*>
        cases[] = {
            {nullptr, 1234567890, 12, 0, kComma, "234,567,890."},
            {nullptr, std::numeric_limits<std::int64_t>::min(), 27, 0, kComma, "-9,223,372,036,854,775,808."},
            {nullptr, -1234, 9, 2, kComma, "-1,234.00"},
            {nullptr, 1234567, 10, -3, kComma, "1,234,567."},
            {nullptr, 1234567, 10, 0, kDot, "1.234.567,"},
            {nullptr, 1234567, 10, 0, kNarrowSpace, "1\u202f234\u202f567,"},
            {nullptr, 42, 0, 0, kComma, ""},
            {" 1234 ", 0, 8, 0, kComma, "  1,234."},
            {"1234.567", 0, 8, 2, kComma, "1,234.57"},
            {"-0.001", 0, 2, 0, kComma, "0."},
            {"-12.5", 0, 8, 1, kComma, "   -12.5"},
            {"12abc", 0, 6, 0, kComma, " 12abc"},
            {"\u00e9t\u00e9", 0, 2, 0, kComma, "t\u00e9"},
        };
    for (const auto& [text, number, width, decimals, sep, expected] : cases)
        EXPECT_EQ(text != nullptr ? PadNum(text, width, sep, decimals) : PadNum(number, width, sep, decimals), expected)
            << (text != nullptr ? text : std::to_string(number)) << " in " << width;
}

TEST(Stamps, ShortDateShortTimeAndDayNumber) {
    const std::tuple<CivilTime, const char*, double> cases[] = {
        {{1998, 3, 9, 14, 5, 0}, "3-98-09 2:05p", 35863 + (14 * 60 + 5) / 1440.0},
        {{1998, 3, 9, 0, 0, 0}, "3-98-09 12:00a", 35863},
        {{2000, 12, 31, 12, 0, 0}, "12-00-31 12:00p", 36891.5},
        {{2023, 7, 4, 11, 59, 59}, "7-23-04 11:59a", 45111 + 43199 / 86400.0},
        {{1899, 12, 29, 6, 0, 0}, "12-99-29 6:00a", -1.25},
    };
    for (const auto& [t, dateTime, day] : cases) {
        EXPECT_EQ(formatShortDate(t) + " " + formatShortTime(t), dateTime);
        EXPECT_DOUBLE_EQ(dayNumber(t), day) << dateTime;
    }
}

TEST(ListingLine, LettersInOrderAndLongNamesBetweenTheFieldsInWholeCharacters) {
    const CivilTime t{2001, 1, 2, 3, 4, 0};
    std::string accents;
    for (int i = 0; i < 16; ++i) accents += "\u00e9";
    EXPECT_EQ(listingLine("docs", 0, {2005, 11, 20, 9, 30, 0}, 16 | 1 | 4 | 2 | 32, kComma),
              "docs                     0.  11-05-20   9:30a  drsha");
    EXPECT_EQ(listingLine(std::string(60, 'x'), 5, t, 0, kComma),
              "xxxxxxxxxxxxxxx          5.xx 1-01-02xx 3:04axxxxxxx");
    // The 16th two-byte character gives way to the length field whole.
    EXPECT_EQ(listingLine(accents, 1, t, 0, kComma), accents.substr(0, 30) + "          1.   1-01-02   3:04a       ");
}

TEST(Characters, BrokenSequencesStandAlone) {
    EXPECT_EQ(characters("a\u00e9\u20ac\U0001F600").size(), 4u);
    EXPECT_EQ(characters("\xC3").size(), 1u);
    EXPECT_EQ(characters("\x80\x80").size(), 2u);
    EXPECT_EQ(characters("\xE2\x82z").size(), 3u);
}

}  // namespace
}  // namespace farsend
