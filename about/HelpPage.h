#pragma once
// Where the help page is. An installed program finds it relative to its own
// folder (<bindir>/../share/farsend98/FSHelp/index.html), so a package or an
// install under any prefix, moved afterwards or not, opens its own page; the
// source tree's page is only for a program run from the build folder before
// it has been installed.

#include <functional>
#include <string>

namespace farsend {

struct HelpPageLayout {
    std::string fromProgramFolder;  // relative path from the program's folder to the installed page
    std::string buildFolder;        // the build folder of this build, as a real path
    std::string sourcePage;         // the page in the source tree
};

// programPath: the running program's real path (links resolved).
// exists: whether a file is at the given path.
std::string helpPagePath(const std::string& programPath, const HelpPageLayout& layout,
                         const std::function<bool(const std::string&)>& exists);

}  // namespace farsend
