#pragma once
// Calendar date and clock time of an instant in the user's time zone.

#include <cstdint>
#include <optional>

namespace farsend {

struct CivilTime {
    int year = 1970;  // e.g. 1998
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int hour = 0;     // 0..23
    int minute = 0;   // 0..59
    int second = 0;   // 0..60 (a leap second shows as 60)
    bool operator==(const CivilTime&) const = default;
};

// The local date and time of epochSeconds (seconds since 1970-01-01 UTC);
// nothing when the platform cannot represent it.
std::optional<CivilTime> localTimeOf(std::int64_t epochSeconds);

}  // namespace farsend
