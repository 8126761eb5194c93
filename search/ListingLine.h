#pragma once
// The pure text rules of a directory listing line: day numbers, the number
// pattern "#,##0." and its relatives, right-aligned fields, and the 52-column
// line itself. Separators and local time come in as arguments, so every rule
// can be checked without a locale or a time zone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LocalTime.h"
#include "platform/NumberFormat.h"

namespace farsend {

// A local date and time as a day number: whole days since 30 December 1899,
// the fraction being the time of day. Before that day the whole part counts
// back while the fraction still counts forward (-1.25 is 29 December 1899,
// 06:00), as the platform's date values always have.
double dayNumber(const CivilTime& t);

// value written with the pattern "#,##0." plus decimals "0"s: thousands
// grouped, at least one digit, the decimal separator always written.
std::string formatNumber(std::int64_t value, int decimals, const NumberSeparators& sep);
std::string formatNumber(double value, int decimals, const NumberSeparators& sep);

// text split into its characters (UTF-8 sequences; a byte that starts none
// stands alone), so that column rules never cut a character in two.
std::vector<std::string_view> characters(std::string_view text);

// text behind width spaces, of which the last width characters are kept.
std::string padLeft(std::string_view text, int width);

// Right-aligns a value in a field of width characters. A number, or a text
// that reads as one, is written with formatNumber first (decimals missing
// counts as 0); any other text is taken as it is.
std::string PadNum(std::int64_t value, std::int16_t width, const NumberSeparators& sep,
                   std::optional<std::int16_t> decimals = {});
std::string PadNum(std::string_view value, std::int16_t width, const NumberSeparators& sep,
                   std::optional<std::int16_t> decimals = {});

// "m-yy-dd": 9 March 1998 gives 3-98-09.
std::string formatShortDate(const CivilTime& t);
// "h:mma/p": 14:05 gives 2:05p, midnight 12:00a.
std::string formatShortTime(const CivilTime& t);
// The attribute letters in the order d (16), r (1), s (4), h (2), a (32).
std::string attributeLetters(std::uint8_t attributes);

// The 52-character listing line of one entry.
std::string listingLine(std::string_view name, std::int64_t length, const CivilTime& stamp, std::uint8_t attributes,
                        const NumberSeparators& sep);

}  // namespace farsend
