#include "about/SysInfo.h"

#include "platform/Paths.h"

namespace farsend {

const char* const kSysInfoProgramName = "hardinfo";

namespace {

std::optional<std::string> findAndStart(ISysInfoSource& source, IFileSystem& fs) {
    std::string path;
    std::string found;
    if (source.GetKeyValue(SysInfoKey::ToolPath, path)) {
        found = path;
    } else if (source.GetKeyValue(SysInfoKey::ToolFolder, path)) {
        const std::string candidate = withTrailingSep(path) + kSysInfoProgramName;
        // A plain file of that name; a folder of that name cannot be started.
        auto listed = fs.list(candidate, 0);
        if (!listed.ok() || listed->empty()) return std::nullopt;
        found = candidate;
    } else {
        return std::nullopt;
    }
    if (found.empty() || !source.startProgram(found)) return std::nullopt;
    return found;
}

}  // namespace

std::optional<std::string> StartSysInfo(ISysInfoSource& source, IFileSystem& fs, IPrompts& prompts) {
    auto started = findAndStart(source, fs);
    if (!started) prompts.message(kSysInfoUnavailableText, kProgramTitle);
    return started;
}

}  // namespace farsend
