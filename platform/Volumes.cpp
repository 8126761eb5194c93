#include "platform/Volumes.h"

#include "platform/Paths.h"

namespace farsend {

std::string Volume::designation() const {
    return label.empty() ? mountPoint : mountPoint + " [" + label + "]";
}

// Returns whether mount is path itself or one of its leading folders.
static bool isUnder(const std::string& mount, const std::string& path) {
    if (path.compare(0, mount.size(), mount) != 0) return false;
    if (path.size() == mount.size()) return true;
    return mount.back() == kSep || path[mount.size()] == kSep;
}

std::optional<Volume> volumeOf(const std::vector<Volume>& volumes, const std::string& path) {
    const Volume* best = nullptr;
    for (const Volume& v : volumes) {
        if (v.mountPoint.empty() || !isUnder(v.mountPoint, path)) continue;
        if (best == nullptr || v.mountPoint.size() > best->mountPoint.size()) best = &v;
    }
    if (best == nullptr) return std::nullopt;
    return *best;
}

std::string mountPointOf(const std::vector<Volume>& volumes, const std::string& designation) {
    for (const Volume& v : volumes) {
        if (v.designation() == designation || v.mountPoint == designation) return v.mountPoint;
    }
    if (!designation.empty() && designation.back() == ']') {
        const auto open = designation.rfind(" [");
        if (open != std::string::npos && open > 0) return designation.substr(0, open);
    }
    return designation;
}

}  // namespace farsend
