#include "app/Chooser.h"

#include <cerrno>

#include "platform/Paths.h"

namespace farsend {

const std::vector<std::string>& checkedWordPatterns() {
    static const std::vector<std::string> patterns{"*sex*", "*tits*", "*pussy*", "*babes*", "*porn*"};
    return patterns;
}

std::vector<std::string> matchedWordPatterns(const std::string& path) {
    std::vector<std::string> matched;
    for (const std::string& p : checkedWordPatterns())
        if (likeMatch(p, path)) matched.push_back(p);
    return matched;
}

DriveFailure driveFailureOf(const Error& error) {
    switch (error.number) {
        case ENODEV:
        case ENXIO:
            return DriveFailure::DeviceUnavailable;
        case EIO:
        case ENOMEDIUM:
        case ESTALE:
        case ETIMEDOUT:
            return DriveFailure::DiskNotReady;
        case EACCES:
        case EPERM:
            return DriveFailure::AccessError;
        default:
            return DriveFailure::None;
    }
}

std::string normalizedFolder(const std::string& path, const std::string& base) {
    const std::string full = !path.empty() && path.front() == kSep ? path : withTrailingSep(base) + path;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= full.size()) {
        std::size_t end = full.find(kSep, start);
        if (end == std::string::npos) end = full.size();
        const std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += kSep + part;
    return out.empty() ? std::string(1, kSep) : out;
}

std::vector<std::string> folderChain(const std::string& root, const std::string& path) {
    std::vector<std::string> chain{root};
    const std::string prefix = withTrailingSep(root);
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return chain;
    std::size_t pos = prefix.size();
    while (pos <= path.size()) {
        std::size_t end = path.find(kSep, pos);
        if (end == std::string::npos) end = path.size();
        if (end > pos) chain.push_back(path.substr(0, end));
        pos = end + 1;
    }
    return chain;
}

std::string upperPathOf(const std::string& folderPath) { return withTrailingSep(folderPath); }

bool newFolderNameAllowed(const std::string& name) {
    return name.find(kSep) == std::string::npos && name != "." && name != "..";
}

bool makeNewFolder(IFileSystem& fs, IPrompts& prompts, const std::string& upperPath, const std::string& name,
                   const std::function<Status(const std::string& folder)>& enter) {
    // An empty name would name the parent itself, which the file system
    // would answer only with "File exists".
    if (name.empty()) {
        prompts.message(kFolderNameEmpty, kProgramTitle);
        return false;
    }
    if (!newFolderNameAllowed(name)) {
        prompts.message(kFolderNameRefusal, kProgramTitle);
        return false;
    }
    const std::string folder = upperPath + name + kSep;
    if (Status made = fs.makeDir(folder); !made) {
        prompts.message(made.error().description, kProgramTitle);
        return false;
    }
    // The folder exists now; should the list fail to enter it, say why and
    // leave the destination where it was.
    if (Status moved = enter(folder); !moved) prompts.message(moved.error().description, kProgramTitle);
    return true;
}

}  // namespace farsend
