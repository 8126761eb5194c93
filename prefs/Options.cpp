#include "prefs/Options.h"

#include "prefs/Conversions.h"
#include "prefs/LoadSettings.h"
#include "transfer/TransferMode.h"

namespace farsend {

OptionsChoice optionsFrom(const InMemorySettings& settings) {
    OptionsChoice c;
    c.rootDir = settings.RootDir;
    c.drive = settings.DefRootDir;
    c.copy = settings.DefaultMode == kCopyCaption;
    // Any non-zero value checks the box, though only 1 turns tooltips on.
    c.tips = settings.ToolTips != 0;
    return c;
}

std::string optionsDrive(const std::vector<Volume>& listed, const std::string& designation) {
    std::string mount = mountPointOf(listed, designation);
    for (const Volume& v : listed)
        if (v.designation() == designation || v.mountPoint == mount) return mount;
    return listed.empty() ? std::string() : listed.front().designation();
}

std::vector<std::pair<std::string, std::string>> optionsWrites(const OptionsChoice& choice) {
    return {
        {"RootDir", fromBoolean(choice.rootDir)},
        {"DefRootDir", choice.drive},
        {"DefaultMode", choice.copy ? kCopyCaption : kMoveCaption},
        {"ToolTips", fromInteger(choice.tips ? 1 : 0)},
    };
}

}  // namespace farsend
