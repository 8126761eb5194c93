// Numeric locale facts through POSIX locale objects, so the program's global
// locale (which the toolkit may or may not have set) does not matter.

#include "platform/NumberFormat.h"

#include <langinfo.h>
#include <locale.h>

namespace farsend {

NumberSeparators separatorsFor(const std::string& localeGroup, const std::string& localeDecimal) {
    NumberSeparators s{localeGroup, localeDecimal};
    if (s.decimal.empty()) s.decimal.assign(1, '.');
    if (s.group.empty()) s.group.assign(1, s.decimal == "," ? '.' : ',');
    return s;
}

namespace {

NumberSeparators readUserSeparators() {
    locale_t loc = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return separatorsFor("", "");
    const char* group = ::nl_langinfo_l(THOUSANDS_SEP, loc);
    const char* decimal = ::nl_langinfo_l(RADIXCHAR, loc);
    NumberSeparators s = separatorsFor(group != nullptr ? group : "", decimal != nullptr ? decimal : "");
    ::freelocale(loc);
    return s;
}

}  // namespace

const NumberSeparators& userNumberSeparators() {
    static const NumberSeparators separators = readUserSeparators();
    return separators;
}

}  // namespace farsend
