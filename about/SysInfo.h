#pragma once
// Finding and starting the desktop's system-information program for the
// About box. Two sources are asked in turn: the first names the program's
// full path; the second names a folder, in which the program is looked for
// under kSysInfoProgramName. Where each source looks is up to the platform
// (see DesktopSysInfo on Linux).

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"

namespace farsend {

enum class SysInfoKey {
    ToolPath,    // the program's full path
    ToolFolder,  // the folder that holds kSysInfoProgramName
};

// The program looked for in the folder of the second source.
extern const char* const kSysInfoProgramName;

// Capitals and all, as users have always read it.
inline constexpr const char* kSysInfoUnavailableText = "System Information Is Unavailable At This Time";

class ISysInfoSource {
public:
    virtual ~ISysInfoSource() = default;
    // Sets KeyVal to the value the source holds for key and returns true;
    // returns false with KeyVal empty when it holds none.
    virtual bool GetKeyValue(SysInfoKey key, std::string& KeyVal) = 0;
    // Starts the program at path without waiting for it; false when it could
    // not be started.
    virtual bool startProgram(const std::string& path) = 0;
};

// Starts the system-information program and returns its path. When it
// cannot be found or started, tells the user kSysInfoUnavailableText and
// returns nothing. The folder of the second source is searched through fs.
std::optional<std::string> StartSysInfo(ISysInfoSource& source, IFileSystem& fs, IPrompts& prompts);

}  // namespace farsend
