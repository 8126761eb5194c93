#pragma once
// The in-memory copies of the "Options" keys, as the last settings load left
// them. The Options dialog starts from these, not from the store.

#include <cstdint>
#include <string>

namespace farsend {

struct InMemorySettings {
    bool Favorite = false;
    bool RootDir = false;
    std::string DefRootDir;
    std::string DefaultMode;
    std::string LDU;
    std::int16_t ToolTips = 0;
};

}  // namespace farsend
