#pragma once
// The five favourite slots: their keys, the Favorites menu captions, and
// choosing a favourite.

#include <string>

#include "platform/Prompts.h"
#include "prefs/SettingsStore.h"

namespace farsend {

class ISettingsWindow;

// Key of slot n's name ("1".."5") and of its folder ("Path1".."Path5").
std::string favoriteNameKey(int n);
std::string favoritePathKey(int n);

// An entry of the Add To Favorites position list: "2 - Projects".
std::string positionEntry(int n, const std::string& name);

// Without a closing stop, as users have always read it.
inline constexpr const char* kFavoriteMissingText =
    "This favorite path doesn't exist anymore.\r\nPlease update this favorite";

// Add in the Add To Favorites dialog: stores name and folder in slot n,
// whatever it held. A name of no characters is refused with a message and
// nothing is stored. Returns whether the slot was stored.
bool addFavorite(SettingsSaver& settings, IPrompts& prompts, int n, const std::string& name, const std::string& folder);

// Gives the five menu entries the stored names (empty when a slot is absent).
void LoadFavorites(ISettingsStore& store, ISettingsWindow& window);

// Moves the destination to the folder of entry index (0..4). When the folder
// list refuses it, the default drive is selected; a folder that no longer
// exists is reported first, any other refusal (a drive not ready) is not.
void chooseFavorite(ISettingsStore& store, ISettingsWindow& window, IPrompts& prompts, int index);

}  // namespace farsend
