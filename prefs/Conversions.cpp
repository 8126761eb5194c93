#include "prefs/Conversions.h"

#include <cctype>
#include <cstdint>

namespace farsend {

std::string fromBoolean(bool value) { return value ? "True" : "False"; }

static bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

std::optional<bool> toBoolean(std::string_view text) {
    if (equalsIgnoringCase(text, "True")) return true;
    if (equalsIgnoringCase(text, "False")) return false;
    return std::nullopt;
}

std::string fromInteger(long long value) { return std::to_string(value); }

static bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<std::int16_t> toInteger16(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulate with a ceiling so that a long run of digits cannot overflow.
    std::int32_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 32768) return std::nullopt;
    }
    const std::int32_t value = negative ? -magnitude : magnitude;
    if (value > 32767) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

}  // namespace farsend
