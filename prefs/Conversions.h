#pragma once
// The text forms of the settings. Booleans are stored as the words True and
// False, integers in decimal. Reading is forgiving where a hand-edited store
// would otherwise be refused for no good reason (letter case, blanks around a
// number) and strict everywhere else: a text that is not exactly one of the
// forms is a failed conversion, and the caller keeps what it had.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace farsend {

// "True" or "False".
std::string fromBoolean(bool value);

// The words True and False in any letter case ("TRUE", "false"); anything
// else, numbers and surrounding blanks included, fails.
std::optional<bool> toBoolean(std::string_view text);

// Decimal, "-" for negatives, no leading zeros padding: 1 gives "1".
std::string fromInteger(long long value);

// A decimal integer in the 16-bit signed range, with an optional sign and
// optional blanks (spaces, tabs) around it. Empty text, any other character,
// or a value outside -32768..32767 fails.
std::optional<std::int16_t> toInteger16(std::string_view text);

}  // namespace farsend
