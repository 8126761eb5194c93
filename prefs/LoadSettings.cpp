#include "prefs/LoadSettings.h"

#include "platform/Paths.h"
#include "prefs/Conversions.h"
#include "prefs/Favorites.h"
#include "transfer/TransferMode.h"

namespace farsend {

// Kept as users have always read them: the missing stop after "move to",
// the two blanks after "Move.", and "canceled)." with its stop outside.
const std::array<const char*, kToolTipCount> kToolTipTexts = {
    "List of files/folders currently selected.",
    "Scroll through the list of selected files/folders.",
    "Scroll through the list of selected files/folders.",
    "Select the drive containing the location to copy/move to",
    "Select the destination to copy/move files/folders. To create a new directory, click the 'Create Directory' "
    "button below.",
    "Shows the progress (in percent) of the current file transfer.",
    "Click to add the current target folder to your Favorites Menu.",
    "Click to create a new directory in the current target folder.",
    "Right click to change between Copy or Move.  Left click to Copy/Move.",
    "Click here to cancel the operation. (Once Copy/Move has been pressed, the action cannot be canceled).",
};

std::string defaultDriveDesignation(const std::vector<Volume>& volumes) {
    for (const Volume& v : volumes) {
        if (v.mountPoint == std::string(1, kSep)) return v.designation();
    }
    return std::string(1, kSep);
}

std::string driveRootOf(const std::vector<Volume>& volumes, const std::string& designation) {
    return withTrailingSep(mountPointOf(volumes, designation));
}

void LoadSettings(ISettingsStore& store, ISettingsWindow& window, InMemorySettings& settings) {
    const std::vector<Volume> volumes = window.volumes();

    // 1, 2: the Booleans; a text that is not a Boolean leaves the old value.
    if (auto v = toBoolean(GetSetting(store, kOptions, "Favorite", fromBoolean(true)))) settings.Favorite = *v;
    if (auto v = toBoolean(GetSetting(store, kOptions, "RootDir", fromBoolean(true)))) settings.RootDir = *v;
    // 3-5: texts, taken as they are.
    settings.DefRootDir = GetSetting(store, kOptions, "DefRootDir", defaultDriveDesignation(volumes));
    settings.DefaultMode = GetSetting(store, kOptions, "DefaultMode", kCopyCaption);
    settings.LDU = GetSetting(store, kOptions, "LDU", settings.DefRootDir);
    // 6: the default is the Boolean True in its text form, which is no number:
    // an absent key is a failed conversion and ToolTips keeps its value (0 on
    // the first load), so tooltips stay off and the Options check box starts
    // unchecked until the dialog has stored "1" or "0".
    if (auto v = toInteger16(GetSetting(store, kOptions, "ToolTips", fromBoolean(true)))) settings.ToolTips = *v;

    // 7, 8: the mode, compared exactly.
    window.setModeCaption(settings.DefaultMode);
    const bool copy = settings.DefaultMode == kCopyCaption;
    window.setModeChecks(copy, !copy);

    // 9
    window.setFavoritesMenuVisible(settings.Favorite);

    // 10: first use, judged by slot 1 alone.
    if (GetSetting(store, kFavorites, favoriteNameKey(1), "").empty()) {
        for (int n = 1; n <= kFavoriteSlots; ++n) {
            (void)store.write(kFavorites, favoriteNameKey(n), "Empty");
            (void)store.write(kFavorites, favoritePathKey(n), "");
        }
    }

    // 11: the start folder; a refused folder leaves the list where it was.
    const std::string start = settings.RootDir ? driveRootOf(volumes, settings.DefRootDir) : settings.LDU;
    (void)window.setFolderPath(start);

    // 12
    for (int i = 0; i < kToolTipCount; ++i)
        window.setToolTip(i, settings.ToolTips == 1 ? kToolTipTexts[static_cast<std::size_t>(i)] : "");
}

}  // namespace farsend
