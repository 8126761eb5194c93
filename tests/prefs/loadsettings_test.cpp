#include "prefs/LoadSettings.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "RecordingWindow.h"
#include "support/MemoryStore.h"

namespace farsend {
namespace {

class LoadSettingsTest : public ::testing::Test {
protected:
    // Stores "Section/Key=Value" entries, separated by ";".
    void preset(const std::string& entries) {
        for (std::size_t at = 0; at < entries.size();) {
            const std::size_t end = std::min(entries.find(';', at), entries.size()), slash = entries.find('/', at),
                              equals = entries.find('=', slash);
            store.values[{entries.substr(at, slash - at), entries.substr(slash + 1, equals - slash - 1)}] =
                entries.substr(equals + 1, end - equals - 1);
            at = end + 1;
        }
    }
    // The window and the store in one line: caption, checks, Favorites menu,
    // folder, tooltips (with the number read) and the first-use writes.
    std::string state() const {
        std::array<std::string, kToolTipCount> on;
        std::copy(kToolTipTexts.begin(), kToolTipTexts.end(), on.begin());
        const std::string tips = window.tips == on ? "on" : window.tips == decltype(on){} ? "off" : "mixed";
        return window.caption + " " + window.checks + " menu=" + std::to_string(window.favoritesVisible) + " " +
               window.folder + " tips=" + tips + "(" + std::to_string(settings.ToolTips) +
               ") init=" + std::to_string(store.writes.size());
    }

    test::MemoryStore store;
    std::vector<std::string> log;
    test::RecordingWindow window{log};
    InMemorySettings settings;
};

TEST_F(LoadSettingsTest, AppliesTheStoredOptionsStepByStep) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "&Copy C menu=1 / tips=off(0) init=10"},  // an empty store: first use fills the five slots
        {"Options/DefaultMode=&Move", "&Move M menu=1 / tips=off(0) init=10"},
        {"Options/DefaultMode=&cOPY", "&cOPY M menu=1 / tips=off(0) init=10"},
        {"Options/ToolTips=1", "&Copy C menu=1 / tips=on(1) init=10"},
        {"Options/ToolTips=2", "&Copy C menu=1 / tips=off(2) init=10"},
        {"Options/ToolTips=-1", "&Copy C menu=1 / tips=off(-1) init=10"},
        {"Options/ToolTips=40000", "&Copy C menu=1 / tips=off(0) init=10"},
        {"Options/Favorite=False", "&Copy C menu=0 / tips=off(0) init=10"},
        {"Options/LDU=/home/u", "&Copy C menu=1 / tips=off(0) init=10"},
        {"Options/DefRootDir=/media/usb [RENAMED]", "&Copy C menu=1 /media/usb/ tips=off(0) init=10"},
        {"Options/DefRootDir=/media/usb", "&Copy C menu=1 /media/usb/ tips=off(0) init=10"},
        {"Options/DefRootDir=", "&Copy C menu=1 / tips=off(0) init=10"},
        {"Options/DefRootDir=/media/gone [OLD]", "&Copy C menu=1 (unset) tips=off(0) init=10"},  // refused
        {"Options/RootDir=False;Options/DefRootDir=/media/usb [STICK]",
         "&Copy C menu=1 /media/usb [STICK] tips=off(0) init=10"},  // LDU absent: the bare default drive
        {"Options/RootDir=false;Options/LDU=/home/u/Work", "&Copy C menu=1 /home/u/Work tips=off(0) init=10"},
        // Unreadable Booleans on a first load leave both at False.
        {"Options/RootDir=1;Options/Favorite=yes;Options/LDU=/srv", "&Copy C menu=0 /srv tips=off(0) init=10"},
        {"Favorites/1=Home", "&Copy C menu=1 / tips=off(0) init=0"},  // only slot 1 tells first use
        {"Favorites/1=;Favorites/4=Music", "&Copy C menu=1 / tips=off(0) init=10"},
    };
    for (const auto& [presets, expected] : cases) {
        store = {};
        window = test::RecordingWindow{log};
        settings = {};
        window.refuse["/media/gone/"] = ENOENT;
        preset(presets);
        LoadSettings(store, window, settings);
        EXPECT_EQ(state(), expected) << presets;
    }
    EXPECT_EQ((store.values[{"Favorites", "4"}] + "|" + store.values[{"Favorites", "Path4"}]), "Empty|");
}

TEST_F(LoadSettingsTest, DefaultDriveIsTheRootVolumeWithItsLabel) {
    window.volumeList = {{"/boot", "BOOT"}, {"/", "SYSTEM"}};
    LoadSettings(store, window, settings);
    EXPECT_EQ(settings.DefRootDir + "|" + settings.LDU + "|" + window.folder, "/ [SYSTEM]|/ [SYSTEM]|/");
}

TEST_F(LoadSettingsTest, FailedConversionsKeepTheValuesOfTheLastLoad) {
    preset("Options/ToolTips=1;Options/Favorite=False;Options/RootDir=False");
    LoadSettings(store, window, settings);
    preset("Options/ToolTips=lots;Options/Favorite=perhaps;Options/RootDir=");
    LoadSettings(store, window, settings);
    EXPECT_EQ(std::tuple(settings.ToolTips, settings.Favorite, settings.RootDir), std::tuple(1, false, false));
    EXPECT_EQ(state(), "&Copy C menu=0 / tips=on(1) init=10");
}

}  // namespace
}  // namespace farsend
