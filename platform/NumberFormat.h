#pragma once
// The separators the user's locale writes numbers with.

#include <string>

namespace farsend {

struct NumberSeparators {
    std::string group;    // between groups of three digits, e.g. ","
    std::string decimal;  // before the fraction digits, e.g. "."
    bool operator==(const NumberSeparators&) const = default;
};

// The separators of the user's numeric locale (from the environment, read
// once). A locale without grouping, such as the C locale, gets "," with a
// "." decimal separator; should its decimal separator be "," the group
// separator becomes "." so the two never look alike.
const NumberSeparators& userNumberSeparators();

// The same rule applied to a locale's own group and decimal texts.
NumberSeparators separatorsFor(const std::string& localeGroup, const std::string& localeDecimal);

}  // namespace farsend
