#include "about/HelpPage.h"

#include <filesystem>

namespace farsend {

std::string helpPagePath(const std::string& programPath, const HelpPageLayout& layout,
                         const std::function<bool(const std::string&)>& exists) {
    const std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    // The program's path has its links resolved, so ".." can be taken out of
    // the text: the browser is shown a plain path.
    const std::string installed = (folder / layout.fromProgramFolder).lexically_normal().string();
    if (exists(installed)) return installed;
    std::string build = std::filesystem::path(layout.buildFolder).lexically_normal().string();
    if (!build.empty() && build.back() != '/') build += '/';
    const std::string here = folder.lexically_normal().string() + "/";
    const bool inBuildFolder = build.size() > 1 && here.compare(0, build.size(), build) == 0;
    // Elsewhere a page that has gone missing is still asked for where it
    // belongs: the browser then says what is missing.
    return inBuildFolder && exists(layout.sourcePage) ? layout.sourcePage : installed;
}

}  // namespace farsend
