#include "prefs/Favorites.h"

#include <cerrno>

#include "prefs/LoadSettings.h"

namespace farsend {

std::string favoriteNameKey(int n) { return std::to_string(n); }
std::string favoritePathKey(int n) { return "Path" + std::to_string(n); }

std::string positionEntry(int n, const std::string& name) { return std::to_string(n) + " - " + name; }

bool addFavorite(SettingsSaver& settings, IPrompts& prompts, int n, const std::string& name,
                 const std::string& folder) {
    if (name.empty()) {
        // The dialog's caption titles it; no stop, as users have always read it.
        prompts.message("Name must contain at least one character", "Add To Favorites...");
        return false;
    }
    settings.save(kFavorites, favoriteNameKey(n), name);
    settings.save(kFavorites, favoritePathKey(n), folder);
    return true;
}

void LoadFavorites(ISettingsStore& store, ISettingsWindow& window) {
    for (int n = 1; n <= kFavoriteSlots; ++n)
        window.setFavoriteCaption(n - 1, GetSetting(store, kFavorites, favoriteNameKey(n), ""));
}

void chooseFavorite(ISettingsStore& store, ISettingsWindow& window, IPrompts& prompts, int index) {
    const std::string path = GetSetting(store, kFavorites, favoritePathKey(index + 1), "");
    const Status moved = window.setFolderPath(path);
    if (moved.ok()) return;
    // Path not found: the folder or one of the folders above it is gone (or
    // is no longer a folder).
    const int number = moved.error().number;
    if (number == ENOENT || number == ENOTDIR) prompts.message(kFavoriteMissingText, kProgramTitle);
    window.setDrive(defaultDriveDesignation(window.volumes()));
}

}  // namespace farsend
