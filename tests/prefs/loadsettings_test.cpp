// The settings rules: reading stored texts, loading the options, the
// favourites, and storing what the user chose.
#include "prefs/LoadSettings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <tuple>

#include "prefs/Conversions.h"
#include "prefs/Favorites.h"
#include "support/MemoryStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

// Each stored text read both ways: as a Boolean word and as a 16-bit number.
TEST(Conversions, ReadStoredTexts) {
    const std::nullopt_t no = std::nullopt;
    const std::tuple<std::string_view, std::optional<bool>, std::optional<std::int16_t>> cases[] = {
        {"false", false, no}, {"tRuE", true, no},   {" True", no, no},      {"Truex", no, no},
        {"", no, no},         {"1", no, 1},         {"+7", no, 7},          {"007", no, 7},
        {" 2\t", no, 2},      {"32767", no, 32767}, {"-32768", no, -32768}, {"32768", no, no},
        {"-32769", no, no},   {"-", no, no},        {"1.5", no, no},        {"99999999999999999999", no, no},
        {"1 2", no, no},      {"--1", no, no},
    };
    for (const auto& [text, boolean, number] : cases)
        EXPECT_EQ(std::tuple(toBoolean(text), toInteger16(text)), std::tuple(boolean, number)) << '"' << text << '"';
}

// The lines, each after a "|".
std::string joined(const std::vector<std::string>& lines) { return lines.empty() ? "" : "|" + test::join(lines, "|"); }

// The fixture is the main window: it logs what the settings rules do to it in
// the log it shares with the prompts, so their order shows, and counts the
// tooltips, 1 for a control's own text, 99 for any other.
struct Settings : ::testing::Test, ISettingsWindow {
    void setModeCaption(const std::string& text) override { log.push_back(text); }
    void setModeChecks(bool c, bool m) override { log.push_back(std::string(c ? "C" : "") + (m ? "M" : "")); }
    void setFavoritesMenuVisible(bool visible) override { log.push_back("menu=" + std::to_string(visible)); }
    Status setFolderPath(const std::string& path) override {
        log.push_back("folder " + path);
        if (auto r = refuse.find(path); r != refuse.end()) return Error::fromErrno(r->second);
        return {};
    }
    void setToolTip(int i, const std::string& t) override { tips += t.empty() ? 0 : t == kToolTipTexts.at(i) ? 1 : 99; }
    void setFavoriteCaption(int i, const std::string& text) override { log.push_back(std::to_string(i) + text); }
    void setDrive(const std::string& designation) override { log.push_back("drive " + designation); }
    std::vector<Volume> volumes() override { return volumeList; }

    // Stores "Key=Value" entries of the Options section, or "Section/Key=Value",
    // separated by ";", and loads them: the window's log, its tooltips (with
    // the number read) and the first-use writes.
    std::string load(const std::string& entries) {
        std::istringstream in(entries);
        for (std::string e; std::getline(in, e, ';');) {
            if (e.find('/') > e.find('=')) e = "Options/" + e;
            store.values[{e.substr(0, e.find('/')), e.substr(e.find('/') + 1, e.find('=') - e.find('/') - 1)}] =
                e.substr(e.find('=') + 1);
        }
        LoadSettings(store, *this, settings);
        return joined(log) + " tips=" + std::to_string(tips) + "(" + std::to_string(settings.ToolTips) +
               ") init=" + std::to_string(store.writes.size());
    }

    test::MemoryStore store;
    test::ScriptedPrompts prompts;
    std::vector<std::string>& log = prompts.log;
    SettingsSaver saver{store, prompts};
    InMemorySettings settings;
    int tips = 0;
    std::map<std::string, int> refuse;  // folder paths the list refuses, with errno
    std::vector<Volume> volumeList{{"/", ""}, {"/media/usb", "STICK"}};
};

// Each step runs whatever the one before did; a refused folder leaves the list where it was.
TEST_F(Settings, LoadAppliesTheStoredOptionsStepByStep) {
    const std::pair<const char*, const char*> cases[] = {
        // An empty store: first use fills the five slots.
        {"", "|&Copy|C|menu=1|folder / tips=0(0) init=10"},
        {"DefaultMode=&Move;Favorite=False;ToolTips=1", "|&Move|M|menu=0|folder / tips=10(1) init=10"},
        {"DefaultMode=&cOPY;ToolTips=2", "|&cOPY|M|menu=1|folder / tips=0(2) init=10"},
        {"LDU=/home/u;DefRootDir=/media/usb [RENAMED]", "|&Copy|C|menu=1|folder /media/usb/ tips=0(0) init=10"},
        {"DefRootDir=/media/gone [OLD];ToolTips=1", "|&Copy|C|menu=1|folder /media/gone/ tips=10(1) init=10"},
        // LDU absent: the bare default drive.
        {"RootDir=False;DefRootDir=/media/usb [STICK]", "|&Copy|C|menu=1|folder /media/usb [STICK] tips=0(0) init=10"},
        // Only slot 1 tells first use.
        {"RootDir=false;LDU=/home/u/Work;Favorites/1=Home", "|&Copy|C|menu=1|folder /home/u/Work tips=0(0) init=0"},
        // Unreadable Booleans on a first load leave both at False.
        {"RootDir=1;Favorite=yes;LDU=/srv", "|&Copy|C|menu=0|folder /srv tips=0(0) init=10"},
        {"Favorites/1=;Favorites/4=Music", "|&Copy|C|menu=1|folder / tips=0(0) init=10"},
    };
    refuse["/media/gone/"] = ENOENT;
    for (const auto& [presets, expected] : cases) {
        store = {}, settings = {}, log.clear(), tips = 0;
        EXPECT_EQ(load(presets), expected) << presets;
    }
    EXPECT_EQ((store.values[{"Favorites", "4"}] + "|" + store.values[{"Favorites", "Path4"}]), "Empty|");
}

// A second load keeps the values whose texts do not convert; the default
// drive is the root volume by its label.
TEST_F(Settings, LoadKeepsTheValuesOfFailedConversionsAndNamesTheRootVolume) {
    volumeList = {{"/boot", "BOOT"}, {"/", "SYSTEM"}};
    load("ToolTips=1;RootDir=False");
    EXPECT_EQ(load("ToolTips=lots;Favorite=perhaps;RootDir="),
              "|&Copy|C|menu=1|folder / [SYSTEM]|&Copy|C|menu=1|folder / [SYSTEM] tips=20(1) init=10");
}

// A favourite the folder list refuses sends the user to the default drive;
// only a folder that is gone for good earns the message, before that. The
// slot is left as it was.
TEST_F(Settings, ChoosingARefusedFavourite) {
    const std::string missing = std::string("|message Farsend 98: ") + kFavoriteMissingText;
    const std::pair<int, std::string> cases[] = {{0, ""},         {ENOENT, missing}, {ENOTDIR, missing},
                                                 {ENOMEDIUM, ""}, {EIO, ""},         {EACCES, ""}};
    volumeList = {{"/", "ROOT"}, {"/usb", ""}};
    store.values[{"Favorites", "Path3"}] = "/usb/gone";
    for (const auto& [errnoValue, message] : cases) {
        log.clear(), refuse.clear();
        if (errnoValue != 0) refuse["/usb/gone"] = errnoValue;
        chooseFavorite(store, *this, prompts, 2);
        EXPECT_EQ(joined(log) + "|" + std::to_string(store.writes.size()),
                  "|folder /usb/gone" + message + (errnoValue ? "|drive / [ROOT]" : "") + "|0");
    }
}

// The menu shows the stored names as they are; a name of blanks is a name.
TEST_F(Settings, FavouritesMenuAndAdd) {
    store.values = {{{"Favorites", "1"}, "Tom & Jerry"}, {{"Favorites", "3"}, "Empty"}};
    LoadFavorites(store, *this);
    EXPECT_TRUE(addFavorite(saver, prompts, 4, "   ", "/w"));
    EXPECT_EQ(joined(log) + joined(store.writes), "|0Tom & Jerry|1|2Empty|3|4|Favorites/4=   |Favorites/Path4=/w");
}

// What the user chose is stored; a refused write is told once per run.
TEST_F(Settings, SaverTellsARefusedWriteOnce) {
    for (const bool fail : {false, true, true, false})
        store.failWrites = fail, saver.save("Options", "LDU", fail ? "/x" : "/kept");
    EXPECT_EQ(std::to_string(store.writes.size()) + (store.values[{"Options", "LDU"}]) + joined(log),
              "4/kept|message Farsend 98: Your settings could not be saved: " + std::string(std::strerror(EROFS)) +
                  ".\n\nSettings file: (memory)");
}

}  // namespace
}  // namespace farsend
