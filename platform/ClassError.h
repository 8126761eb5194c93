#pragma once
// The error a class raises when it is misused: a number, the member that
// raised it ("CProgressBar.Canvas") and a description for the user.

#include <cstdint>
#include <string>

namespace farsend {

// Class errors are numbered from this base upwards.
inline constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);

struct ClassError {
    std::int32_t number = 0;
    std::string source;
    std::string description;
};

}  // namespace farsend
