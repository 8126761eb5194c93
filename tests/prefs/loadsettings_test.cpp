#include "prefs/LoadSettings.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "RecordingWindow.h"
#include "support/MemoryStore.h"

namespace farsend {
namespace {

using test::MemoryStore;
using test::RecordingWindow;

class LoadSettingsTest : public ::testing::Test {
protected:
    void set(const std::string& key, const std::string& value) { store.values[{"Options", key}] = value; }
    void load() { LoadSettings(store, window, settings); }

    MemoryStore store;
    RecordingWindow window;
    InMemorySettings settings;
};

// Where the folder list starts, and whether the Favorites menu shows, from
// the stored options; a refused start folder is skipped and the tips still set.
TEST_F(LoadSettingsTest, StartFolderAndFavoritesMenu) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> options;
        const char* folder;
        bool favorites;
    } cases[] = {
        {{{"LDU", "/home/u"}}, "/", true},
        {{{"DefRootDir", "/media/usb [RENAMED]"}}, "/media/usb/", true},
        {{{"DefRootDir", "/media/usb"}}, "/media/usb/", true},
        {{{"DefRootDir", ""}}, "/", true},
        {{{"RootDir", "False"}, {"DefRootDir", "/media/usb [STICK]"}}, "/media/usb [STICK]", true},
        {{{"RootDir", "False"}}, "/", true},
        {{{"RootDir", "False"}, {"LDU", "/home/u/Work"}}, "/home/u/Work", true},
        {{{"RootDir", "false"}, {"Favorite", "FALSE"}, {"LDU", "/srv/data"}}, "/srv/data", false},
        // Unreadable Booleans on a first load leave the settings at False.
        {{{"RootDir", "1"}, {"Favorite", "yes"}, {"LDU", "/srv/data"}}, "/srv/data", false},
        {{{"DefRootDir", "/media/gone [OLD]"}}, "(unset)", true},
    };
    for (const Case& c : cases) {
        store = MemoryStore{};
        window = RecordingWindow{};
        settings = InMemorySettings{};
        window.refuse["/media/gone/"] = ENOENT;
        for (const auto& [key, value] : c.options) set(key, value);
        set("ToolTips", "1");
        load();
        const std::string row = c.options.front().first + "=" + c.options.front().second;
        EXPECT_EQ(window.folder, c.folder) << row;
        EXPECT_EQ(window.favoritesVisible, c.favorites) << row;
        EXPECT_EQ(window.tips.back(), kToolTipTexts.back()) << row;
    }
}

TEST_F(LoadSettingsTest, DefaultDriveIsTheRootVolumeWithItsLabel) {
    window.volumeList = {{"/boot", "BOOT"}, {"/", "SYSTEM"}};
    load();
    EXPECT_EQ(settings.DefRootDir + "|" + settings.LDU + "|" + window.folder, "/ [SYSTEM]|/ [SYSTEM]|/");
}

TEST_F(LoadSettingsTest, FailedConversionsKeepTheValuesOfTheLastLoad) {
    set("ToolTips", "1");
    set("Favorite", "False");
    set("RootDir", "False");
    load();
    set("ToolTips", "lots");
    set("Favorite", "perhaps");
    set("RootDir", "");
    load();
    EXPECT_EQ(settings.ToolTips, 1);
    EXPECT_EQ(window.tips.back(), kToolTipTexts.back());
    EXPECT_FALSE(settings.Favorite);
    EXPECT_FALSE(window.favoritesVisible);
    EXPECT_FALSE(settings.RootDir);
}

}  // namespace
}  // namespace farsend
