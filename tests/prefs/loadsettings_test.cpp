// The settings rules: loading the options, the favourites, the Options
// dialog's state, and storing what the user chose.
#include "prefs/LoadSettings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "prefs/Favorites.h"
#include "prefs/Options.h"
#include "support/MemoryStore.h"
#include "support/ScriptedPrompts.h"

namespace farsend {
namespace {

// A main window that records what the settings rules do to it; folder moves
// and drive changes go to a log shared with the prompts, so their order shows.
struct RecordingWindow final : ISettingsWindow {
    explicit RecordingWindow(std::vector<std::string>& shared) : log(&shared) {}
    void setModeCaption(const std::string& text) override { caption = text; }
    void setModeChecks(bool copy, bool move) override { checks = std::string(copy ? "C" : "") + (move ? "M" : ""); }
    void setFavoritesMenuVisible(bool visible) override { favoritesVisible = visible; }
    Status setFolderPath(const std::string& path) override {
        log->push_back("folder " + path);
        if (auto r = refuse.find(path); r != refuse.end()) return Error::fromErrno(r->second);
        return folder = path, Status{};
    }
    void setToolTip(int order, const std::string& text) override { tips.at(order) = text; }
    void setFavoriteCaption(int index, const std::string& text) override { favorites.at(index) = text; }
    void setDrive(const std::string& designation) override { log->push_back("drive " + designation); }
    std::vector<Volume> volumes() override { return volumeList; }

    std::vector<std::string>* log;
    std::string caption, checks, folder = "(unset)";
    bool favoritesVisible = false;
    std::array<std::string, kToolTipCount> tips;
    std::array<std::string, kFavoriteSlots> favorites;
    std::map<std::string, int> refuse;  // folder paths the list refuses, with errno
    std::vector<Volume> volumeList{{"/", ""}, {"/media/usb", "STICK"}};
};

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "|" + line;
    return out;
}

struct Settings : ::testing::Test {
    // Stores "Section/Key=Value" entries, separated by ";".
    void preset(const std::string& entries) {
        for (std::size_t at = 0, end, slash, equals; at < entries.size(); at = end + 1) {
            end = std::min(entries.find(';', at), entries.size()), slash = entries.find('/', at);
            equals = entries.find('=', slash);
            store.values[{entries.substr(at, slash - at), entries.substr(slash + 1, equals - slash - 1)}] =
                entries.substr(equals + 1, end - equals - 1);
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
    test::ScriptedPrompts prompts;
    RecordingWindow window{prompts.log};
    InMemorySettings settings;
};

TEST_F(Settings, LoadAppliesTheStoredOptionsStepByStep) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "&Copy C menu=1 / tips=off(0) init=10"},  // an empty store: first use fills the five slots
        {"Options/DefaultMode=&Move", "&Move M menu=1 / tips=off(0) init=10"},
        {"Options/DefaultMode=&cOPY", "&cOPY M menu=1 / tips=off(0) init=10"},
        {"Options/ToolTips=1", "&Copy C menu=1 / tips=on(1) init=10"},
        {"Options/ToolTips=2", "&Copy C menu=1 / tips=off(2) init=10"},
        {"Options/Favorite=False", "&Copy C menu=0 / tips=off(0) init=10"},
        {"Options/LDU=/home/u", "&Copy C menu=1 / tips=off(0) init=10"},
        {"Options/DefRootDir=/media/usb [RENAMED]", "&Copy C menu=1 /media/usb/ tips=off(0) init=10"},
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
        store = {}, window = RecordingWindow{prompts.log}, settings = {};
        window.refuse["/media/gone/"] = ENOENT;
        preset(presets);
        LoadSettings(store, window, settings);
        EXPECT_EQ(state(), expected) << presets;
    }
    EXPECT_EQ((store.values[{"Favorites", "4"}] + "|" + store.values[{"Favorites", "Path4"}]), "Empty|");
}

TEST_F(Settings, LoadKeepsTheValuesOfFailedConversionsAndNamesTheRootVolume) {
    window.volumeList = {{"/boot", "BOOT"}, {"/", "SYSTEM"}};
    preset("Options/ToolTips=1;Options/Favorite=False;Options/RootDir=False");
    LoadSettings(store, window, settings);
    preset("Options/ToolTips=lots;Options/Favorite=perhaps;Options/RootDir=");
    LoadSettings(store, window, settings);
    EXPECT_EQ(state() + " " + settings.DefRootDir + "|" + settings.LDU,
              "&Copy C menu=0 / [SYSTEM] tips=on(1) init=10 / [SYSTEM]|/ [SYSTEM]");
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

// The menu shows the stored names as they are; Add stores a name of at
// least one character (blanks count) and the folder, in the slot chosen.
TEST_F(Settings, FavouritesMenuAndAdd) {
    SettingsSaver saver(store, prompts);
    store.values = {{{"Favorites", "1"}, "Tom & Jerry"}, {{"Favorites", "3"}, "Empty"}};
    LoadFavorites(store, window);
    std::string seen = positionEntry(2, "Projects") + joined({window.favorites.begin(), window.favorites.end()});
    for (const char* name : {"", "   ", "Work"})
        seen += "|" + std::to_string(addFavorite(saver, prompts, 4, name, "/w"));
    EXPECT_EQ(seen + joined(store.writes) + joined(prompts.log),
              "2 - Projects|Tom & Jerry||Empty|||0|1|1|Favorites/4=   |Favorites/Path4=/w|Favorites/4=Work|"
              "Favorites/Path4=/w|message Add To Favorites...: Name must contain at least one character");
}

// The Options dialog starts from the in-memory settings: any non-zero
// ToolTips checks the box, only "&Copy" exactly is Copy; a stored drive is
// found by designation or mount point, else the first drive is taken; OK
// stores four keys in order.
TEST(Options, StartingStateAndWrites) {
    std::string seen;
    const std::pair<const char*, int> starts[] = {{"&Copy", 0}, {"&Move", 1}, {"&copy", 2}, {"Copy", -1}};
    for (const auto& [mode, tips] : starts) {
        const OptionsChoice c = optionsFrom({false, tips == 1, "/", mode, "", static_cast<std::int16_t>(tips)});
        seen += std::to_string(c.rootDir) + std::to_string(c.copy) + std::to_string(c.tips) + c.drive + " ";
    }
    const std::vector<Volume> listed{{"/", "SYS"}, {"/usb", "STICK"}};
    for (const char* stored : {"/usb [STICK]", "/usb [OLD]", "/usb", "/ [SYS]", "/gone [OLD]", ""})
        seen += optionsDrive(listed, stored) + "|";
    seen += optionsDrive({}, "/") + "|";
    for (const auto& c : {OptionsChoice{true, "/ [SYS]", true, true}, OptionsChoice{false, "/usb", false, false}})
        for (const auto& [key, value] : optionsWrites(c)) seen += key + "=" + value + " ";
    EXPECT_EQ(seen,
              "010/ 101/ 001/ 001/ /usb|/usb|/usb|/|/ [SYS]|/ [SYS]||RootDir=True DefRootDir=/ [SYS] DefaultMode=&Copy "
              "ToolTips=1 RootDir=False DefRootDir=/usb DefaultMode=&Move ToolTips=0 ");
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
