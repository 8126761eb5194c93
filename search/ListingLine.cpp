#include "search/ListingLine.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Attributes.h"

namespace farsend {

namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// Inserts group separators into a run of digits.
std::string groupDigits(std::string_view digits, const std::string& group) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3 * group.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += group;
        out += digits[i];
    }
    return out;
}

int clampDecimals(int decimals) { return decimals < 0 ? 0 : (decimals > 60 ? 60 : decimals); }

// Whether text reads as a number: blanks, an optional sign, digits with at
// most one ".", an optional exponent, blanks. Returns the value if so.
std::optional<double> readNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

double dayNumber(const CivilTime& t) {
    const std::int64_t days = daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
                              daysFromCivil(1899, 12, 30);
    const double fraction = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

std::string formatNumber(std::int64_t value, int decimals, const NumberSeparators& sep) {
    // The magnitude as unsigned, so the most negative value is safe too.
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    std::array<char, 24> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude);
    (void)ec;
    std::string out = value < 0 ? "-" : "";
    out += groupDigits(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())), sep.group);
    out += sep.decimal;
    out.append(static_cast<std::size_t>(clampDecimals(decimals)), '0');
    return out;
}

std::string formatNumber(double value, int decimals, const NumberSeparators& sep) {
    if (!std::isfinite(value)) return {};
    const int places = clampDecimals(decimals);
    // %f rounds the binary value to the nearest representable text; the
    // largest double has 309 digits, the places are at most 60.
    char text[400];
    const int size = std::snprintf(text, sizeof text, "%.*f", places, value);
    if (size <= 0 || static_cast<std::size_t>(size) >= sizeof text) return {};
    std::string_view body(text, static_cast<std::size_t>(size));
    std::string out;
    if (!body.empty() && body.front() == '-') {
        body.remove_prefix(1);
        // -0 and values that round to zero show no sign.
        if (body.find_first_not_of("0.") != std::string_view::npos) out = "-";
    }
    const auto point = body.find('.');
    out += groupDigits(body.substr(0, point), sep.group);
    out += sep.decimal;
    if (point != std::string_view::npos) out += body.substr(point + 1);
    return out;
}

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t n = 1;
        if (lead >= 0xC2 && lead <= 0xF4) {
            const std::size_t want = lead >= 0xF0 ? 4 : (lead >= 0xE0 ? 3 : 2);
            while (n < want && i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
            if (n != want) n = 1;  // a broken sequence: its lead byte stands alone
        }
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string padLeft(std::string_view text, int width) {
    if (width <= 0) return {};
    const auto chars = characters(text);
    const auto w = static_cast<std::size_t>(width);
    std::string out;
    if (chars.size() < w) out.assign(w - chars.size(), ' ');
    for (std::size_t i = chars.size() > w ? chars.size() - w : 0; i < chars.size(); ++i) out += chars[i];
    return out;
}

std::string PadNum(std::int64_t value, std::int16_t width, const NumberSeparators& sep,
                   std::optional<std::int16_t> decimals) {
    return padLeft(formatNumber(value, decimals.value_or(0), sep), width);
}

std::string PadNum(std::string_view value, std::int16_t width, const NumberSeparators& sep,
                   std::optional<std::int16_t> decimals) {
    if (const auto number = readNumber(value)) return padLeft(formatNumber(*number, decimals.value_or(0), sep), width);
    return padLeft(value, width);
}

std::string formatShortDate(const CivilTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d", t.month, ((t.year % 100) + 100) % 100, t.day);
    return buffer;
}

std::string formatShortTime(const CivilTime& t) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d%c", hour12, t.minute, t.hour < 12 ? 'a' : 'p');
    return buffer;
}

std::string attributeLetters(std::uint8_t attributes) {
    std::string letters;
    if (attributes & attr::Directory) letters += 'd';
    if (attributes & attr::ReadOnly) letters += 'r';
    if (attributes & attr::System) letters += 's';
    if (attributes & attr::Hidden) letters += 'h';
    if (attributes & attr::Archive) letters += 'a';
    return letters;
}

std::string listingLine(std::string_view name, std::int64_t length, const CivilTime& stamp, std::uint8_t attributes,
                        const NumberSeparators& sep) {
    constexpr std::size_t kWidth = 52;
    std::array<std::string_view, kWidth> columns;
    columns.fill(" ");
    // Each field overwrites only its own columns (counted from 1).
    const auto put = [&columns](std::size_t firstColumn, std::string_view text) {
        std::size_t c = firstColumn - 1;
        for (const std::string_view ch : characters(text)) {
            if (c >= kWidth) break;
            columns[c++] = ch;
        }
    };
    const std::string lengthText = PadNum(length, 12, sep);
    const std::string dateText = PadNum(formatShortDate(stamp), 8, sep);
    const std::string timeText = PadNum(formatShortTime(stamp), 6, sep);
    const std::string letters = attributeLetters(attributes);
    put(1, name);
    put(16, lengthText);
    put(30, dateText);
    put(40, timeText);
    put(48, letters);
    std::string line;
    line.reserve(kWidth + name.size());
    for (const std::string_view ch : columns) line += ch;
    return line;
}

}  // namespace farsend
