// Local time through the C library, which follows TZ and the system zone.

#include "platform/LocalTime.h"

#include <ctime>
#include <limits>

namespace farsend {

std::optional<CivilTime> localTimeOf(std::int64_t epochSeconds) {
    if (epochSeconds < std::numeric_limits<std::time_t>::min() ||
        epochSeconds > std::numeric_limits<std::time_t>::max())
        return std::nullopt;
    const auto t = static_cast<std::time_t>(epochSeconds);
    std::tm tm{};
    if (::localtime_r(&t, &tm) == nullptr) return std::nullopt;
    return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace farsend
