// The settings rules: loading the options, the favourites, the Options
// dialog's state, and storing what the user chose.
#include "prefs/LoadSettings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "prefs/Favorites.h"
#include "prefs/Options.h"
#include "support/MemoryStore.h"
#include "support/ScriptedPrompts.h"

namespace farsend {
namespace {

// A main window that logs what the settings rules do to it in the log it
// shares with the prompts, so their order shows. Tooltips are counted: 1 for
// a control's own text, 100 for any other.
struct RecordingWindow final : ISettingsWindow {
    explicit RecordingWindow(std::vector<std::string>& shared) : log(shared) {}
    void setModeCaption(const std::string& text) override { log.push_back(text); }
    void setModeChecks(bool c, bool m) override { log.push_back(std::string(c ? "C" : "") + (m ? "M" : "")); }
    void setFavoritesMenuVisible(bool visible) override { log.push_back("menu=" + std::to_string(visible)); }
    Status setFolderPath(const std::string& path) override {
        log.push_back("folder " + path);
        if (auto r = refuse.find(path); r != refuse.end()) return Error::fromErrno(r->second);
        return {};
    }
    void setToolTip(int i, const std::string& t) override {
        tips += t.empty() ? 0 : t == kToolTipTexts.at(i) ? 1 : 100;
    }
    void setFavoriteCaption(int i, const std::string& text) override { log.push_back(std::to_string(i) + text); }
    void setDrive(const std::string& designation) override { log.push_back("drive " + designation); }
    std::vector<Volume> volumes() override { return volumeList; }

    std::vector<std::string>& log;
    int tips = 0;
    std::map<std::string, int> refuse;  // folder paths the list refuses, with errno
    std::vector<Volume> volumeList{{"/", ""}, {"/media/usb", "STICK"}};
};

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "|" + line;
    return out;
}

struct Settings : ::testing::Test {
    // Stores "Section/Key=Value" entries, separated by ";", and loads them: the
    // window's log, its tooltips (with the number read) and the first-use writes.
    std::string load(const std::string& entries) {
        std::istringstream in(entries);
        for (std::string e; std::getline(in, e, ';');)
            store.values[{e.substr(0, e.find('/')), e.substr(e.find('/') + 1, e.find('=') - e.find('/') - 1)}] =
                e.substr(e.find('=') + 1);
        LoadSettings(store, window, settings);
        return joined(prompts.log) + " tips=" + std::to_string(window.tips) + "(" + std::to_string(settings.ToolTips) +
               ") init=" + std::to_string(store.writes.size());
    }

    test::MemoryStore store;
    test::ScriptedPrompts prompts;
    RecordingWindow window{prompts.log};
    InMemorySettings settings;
};

// Each step runs whatever the one before did; a refused folder leaves the list where it was.
TEST_F(Settings, LoadAppliesTheStoredOptionsStepByStep) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "|&Copy|C|menu=1|folder / tips=0(0) init=10"},  // an empty store: first use fills the five slots
        {"Options/DefaultMode=&Move", "|&Move|M|menu=1|folder / tips=0(0) init=10"},
        {"Options/DefaultMode=&cOPY", "|&cOPY|M|menu=1|folder / tips=0(0) init=10"},
        {"Options/ToolTips=1", "|&Copy|C|menu=1|folder / tips=10(1) init=10"},
        {"Options/ToolTips=2", "|&Copy|C|menu=1|folder / tips=0(2) init=10"},
        {"Options/Favorite=False", "|&Copy|C|menu=0|folder / tips=0(0) init=10"},
        {"Options/LDU=/home/u", "|&Copy|C|menu=1|folder / tips=0(0) init=10"},
        {"Options/DefRootDir=/media/usb [RENAMED]", "|&Copy|C|menu=1|folder /media/usb/ tips=0(0) init=10"},
        {"Options/DefRootDir=", "|&Copy|C|menu=1|folder / tips=0(0) init=10"},
        {"Options/DefRootDir=/media/gone [OLD];Options/ToolTips=1",
         "|&Copy|C|menu=1|folder /media/gone/ tips=10(1) init=10"},
        {"Options/RootDir=False;Options/DefRootDir=/media/usb [STICK]",
         "|&Copy|C|menu=1|folder /media/usb [STICK] tips=0(0) init=10"},  // LDU absent: the bare default drive
        {"Options/RootDir=false;Options/LDU=/home/u/Work", "|&Copy|C|menu=1|folder /home/u/Work tips=0(0) init=10"},
        // Unreadable Booleans on a first load leave both at False.
        {"Options/RootDir=1;Options/Favorite=yes;Options/LDU=/srv", "|&Copy|C|menu=0|folder /srv tips=0(0) init=10"},
        {"Favorites/1=Home", "|&Copy|C|menu=1|folder / tips=0(0) init=0"},  // only slot 1 tells first use
        {"Favorites/1=;Favorites/4=Music", "|&Copy|C|menu=1|folder / tips=0(0) init=10"},
    };
    window.refuse["/media/gone/"] = ENOENT;
    for (const auto& [presets, expected] : cases) {
        store = {}, settings = {}, prompts.log.clear(), window.tips = 0;
        EXPECT_EQ(load(presets), expected) << presets;
    }
    EXPECT_EQ((store.values[{"Favorites", "4"}] + "|" + store.values[{"Favorites", "Path4"}]), "Empty|");
}

// A second load keeps the values whose texts do not convert; the default
// drive is the root volume by its label.
TEST_F(Settings, LoadKeepsTheValuesOfFailedConversionsAndNamesTheRootVolume) {
    window.volumeList = {{"/boot", "BOOT"}, {"/", "SYSTEM"}};
    load("Options/ToolTips=1;Options/RootDir=False");
    EXPECT_EQ(load("Options/ToolTips=lots;Options/Favorite=perhaps;Options/RootDir="),
              "|&Copy|C|menu=1|folder / [SYSTEM]|&Copy|C|menu=1|folder / [SYSTEM] tips=20(1) init=10");
}

// A favourite the folder list refuses sends the user to the default drive;
// only a folder that is gone for good earns the message, before that. The
// slot is left as it was.
TEST_F(Settings, ChoosingARefusedFavourite) {
    const std::string missing = std::string("|message Farsend 98: ") + kFavoriteMissingText;
    const std::tuple<const char*, int, std::string> cases[] = {
        {"/srv/work", 0, ""},       {"/usb/gone", ENOENT, missing}, {"/usb/gone", ENOTDIR, missing},
        {nullptr, ENOENT, missing}, {"/usb/gone", ENOMEDIUM, ""},   {"/usb/gone", EIO, ""},
        {"/usb/gone", EACCES, ""}};
    window.volumeList = {{"/", "ROOT"}, {"/usb", ""}};
    for (const auto& [path, errnoValue, message] : cases) {
        prompts.log.clear(), window.refuse.clear(), store.values.clear();
        if (path) store.values[{"Favorites", "Path3"}] = path;
        if (errnoValue != 0) window.refuse[path ? path : ""] = errnoValue;
        chooseFavorite(store, window, prompts, 2);
        EXPECT_EQ(joined(prompts.log) + "|" + std::to_string(store.writes.size()),
                  "|folder " + std::string(path ? path : "") + message + (errnoValue ? "|drive / [ROOT]" : "") + "|0");
    }
}

// The menu shows the stored names as they are; a name of blanks is a name.
// A stored drive is found by designation or mount point, else the Options
// dialog takes the first drive.
TEST_F(Settings, FavouritesMenuAndOptionsDrive) {
    SettingsSaver saver(store, prompts);
    store.values = {{{"Favorites", "1"}, "Tom & Jerry"}, {{"Favorites", "3"}, "Empty"}};
    LoadFavorites(store, window);
    EXPECT_TRUE(addFavorite(saver, prompts, 4, "   ", "/w"));
    const std::vector<Volume> listed{{"/", "SYS"}, {"/usb", "STICK"}};
    std::string drives = optionsDrive({}, "/");
    for (const char* stored : {"/usb [STICK]", "/usb [OLD]", "/usb", "/ [SYS]", "/gone [OLD]", ""})
        drives += "|" + optionsDrive(listed, stored);
    EXPECT_EQ(joined(prompts.log) + joined(store.writes) + " " + drives,
              "|0Tom & Jerry|1|2Empty|3|4|Favorites/4=   |Favorites/Path4=/w |/usb|/usb|/usb|/|/ [SYS]|/ [SYS]");
}

// What the user chose is stored; a refused write is told once per run.
TEST_F(Settings, SaverTellsARefusedWriteOnce) {
    SettingsSaver saver(store, prompts);
    for (const bool fail : {false, true, true, false})
        store.failWrites = fail, saver.save("Options", "LDU", fail ? "/x" : "/kept");
    EXPECT_EQ(std::to_string(store.writes.size()) + (store.values[{"Options", "LDU"}]) + joined(prompts.log),
              "4/kept|message Farsend 98: Your settings could not be saved: " + std::string(std::strerror(EROFS)) +
                  ".\n\nSettings file: (memory)");
}

}  // namespace
}  // namespace farsend
