#pragma once
#include <cstdint>

namespace farsend {

// Attribute bits of a file-system entry, as the rest of the program tests them.
namespace attr {
inline constexpr std::uint8_t ReadOnly = 1;
inline constexpr std::uint8_t Hidden = 2;
inline constexpr std::uint8_t System = 4;
inline constexpr std::uint8_t VolumeLabel = 8;
inline constexpr std::uint8_t Directory = 16;
inline constexpr std::uint8_t Archive = 32;
}  // namespace attr

}  // namespace farsend
