#pragma once
// Reading the "Options" section into memory and applying it to the main
// window, at start-up and whenever the Options dialog closes. The window is
// reached through the few things this needs of it, so the rules can be
// exercised without a window.

#include <array>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/Volumes.h"
#include "prefs/InMemorySettings.h"
#include "prefs/SettingsStore.h"

namespace farsend {

// What LoadSettings and the favourites change on the main window.
class ISettingsWindow {
public:
    virtual ~ISettingsWindow() = default;
    // Caption of the Copy/Move button, Command1(0).
    virtual void setModeCaption(const std::string& caption) = 0;
    // Check marks of the Action menu's Copy and Move entries.
    virtual void setModeChecks(bool copyChecked, bool moveChecked) = 0;
    // Whether the whole Favorites menu is shown.
    virtual void setFavoritesMenuVisible(bool visible) = 0;
    // Makes path the destination folder list's current folder; fails, leaving
    // it as it was, when the folder list refuses the path.
    virtual Status setFolderPath(const std::string& path) = 0;
    // Tooltip of the control at position order (0..9) of kToolTipTexts.
    virtual void setToolTip(int order, const std::string& text) = 0;
    // Caption of Favorites menu entry index (0..4).
    virtual void setFavoriteCaption(int index, const std::string& caption) = 0;
    // Selects a drive in the destination drive list.
    virtual void setDrive(const std::string& designation) = 0;
    // The mounted volumes, as the drive lists show them.
    virtual std::vector<Volume> volumes() = 0;
};

inline constexpr const char* kOptions = "Options";
inline constexpr const char* kFavorites = "Favorites";
inline constexpr int kFavoriteSlots = 5;

// The tooltip texts, in the order of the controls: lblFileName, cmdFileUp,
// cmdFileDn, drvFSDrive, dirFSDir, picProgress, Command2, Command3,
// Command1(0), Command1(1). Their wording, stops and blanks are kept exactly
// as users have always read them.
inline constexpr int kToolTipCount = 10;
extern const std::array<const char*, kToolTipCount> kToolTipTexts;

// The designation of the default drive: the volume mounted at "/", as the
// drive list shows it ("/" itself when it is not listed).
std::string defaultDriveDesignation(const std::vector<Volume>& volumes);

// The root folder of the drive a designation names: its mount point with a
// trailing separator. A designation that carries a volume label reaches the
// same root as the bare mount point.
std::string driveRootOf(const std::vector<Volume>& volumes, const std::string& designation);

// Reads the "Options" section into settings and applies it to window, step
// by step; a step that fails (a text that does not convert, a folder the list
// refuses, a store write that fails) is skipped and the next one runs.
void LoadSettings(ISettingsStore& store, ISettingsWindow& window, InMemorySettings& settings);

}  // namespace farsend
