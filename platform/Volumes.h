#pragma once
// Drives, as mounted file systems. The windows get the list from the
// toolkit; the rules that relate paths and designations live here.

#include <optional>
#include <string>
#include <vector>

namespace farsend {

struct Volume {
    std::string mountPoint;  // e.g. "/" or "/media/usb"
    std::string label;       // empty when the volume has none

    // The designation a drive list shows: the mount point, then " [label]"
    // when the volume has a label.
    std::string designation() const;
    bool operator==(const Volume&) const = default;
};

class IVolumes {
public:
    virtual ~IVolumes() = default;
    // The mounted real file systems, pseudo file systems left out.
    virtual std::vector<Volume> volumes() = 0;
};

// Returns the volume whose mount point is the longest prefix of path (as
// whole components), or nothing when none is.
std::optional<Volume> volumeOf(const std::vector<Volume>& volumes, const std::string& path);

// Returns the mount point a designation names: the one of the listed volume
// whose designation or mount point it equals, else the text before a
// trailing " [label]", else the text itself.
std::string mountPointOf(const std::vector<Volume>& volumes, const std::string& designation);

}  // namespace farsend
