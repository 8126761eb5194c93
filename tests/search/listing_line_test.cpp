#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "search/ListingLine.h"

namespace farsend {
namespace {

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
