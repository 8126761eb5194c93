#include "about/ProgramInfo.h"

namespace farsend {

std::string versionLine(int major, int minor) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + " (3/9/98)";
}

}  // namespace farsend
