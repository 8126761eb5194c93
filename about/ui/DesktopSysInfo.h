#pragma once
// Where the desktop's system-information program is found on Linux.
//
// First source, the program's full path:
//   - the environment variable FARSEND_SYSINFO, when it is set and not empty
//     (taken as it stands, so a wrong path gives the "unavailable" message);
//   - otherwise the program of the running desktop (XDG_CURRENT_DESKTOP), from
//     kDesktopSysInfoPrograms, when it is installed there.
// Second source, a folder: FARSEND_SYSINFO_DIR when set and not empty, else
// /usr/bin; the program looked for in it is kSysInfoProgramName.
// The program is started detached: the About box does not wait for it.

#include <string>

#include "about/SysInfo.h"

namespace farsend {

struct DesktopSysInfoProgram {
    const char* desktop;  // as XDG_CURRENT_DESKTOP names it
    const char* path;
};
extern const DesktopSysInfoProgram kDesktopSysInfoPrograms[5];

class DesktopSysInfo final : public ISysInfoSource {
public:
    bool GetKeyValue(SysInfoKey key, std::string& KeyVal) override;
    bool startProgram(const std::string& path) override;
};

}  // namespace farsend
