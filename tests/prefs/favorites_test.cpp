#include "prefs/Favorites.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "RecordingWindow.h"
#include "prefs/Options.h"
#include "support/MemoryStore.h"
#include "support/ScriptedPrompts.h"

namespace farsend {
namespace {

// A favourite the folder list refuses sends the user to the default drive;
// only a folder that is gone for good earns the message, before that. The
// slot is left as it was.
TEST(Favorites, ChoosingARefusedFolder) {
    const std::string missing = std::string("|message Farsend 98: ") + kFavoriteMissingText;
    const std::tuple<const char*, int, std::string> cases[] = {
        {"/srv/work", 0, ""},       {"/usb/gone", ENOENT, missing}, {"/usb/gone", ENOTDIR, missing},
        {nullptr, ENOENT, missing}, {"/usb/gone", ENOMEDIUM, ""},   {"/usb/gone", EIO, ""},
        {"/usb/gone", EACCES, ""}};
    for (const auto& [path, errnoValue, message] : cases) {
        test::MemoryStore store;
        test::ScriptedPrompts prompts;
        test::RecordingWindow window{prompts.log};
        window.volumeList = {{"/", "ROOT"}, {"/usb", ""}};
        if (path) store.values[{"Favorites", "Path3"}] = path;
        if (errnoValue != 0) window.refuse[path ? path : ""] = errnoValue;
        chooseFavorite(store, window, prompts, 2);
        std::string seen;
        for (const std::string& line : prompts.log) seen += "|" + line;
        EXPECT_EQ(seen + "|" + std::to_string(store.writes.size()),
                  "|folder " + std::string(path ? path : "") + message + (errnoValue ? "|drive / [ROOT]" : "") + "|0");
    }
}

// The menu shows the stored names as they are; Add stores a name of at
// least one character (blanks count) and the folder, in the slot chosen.
TEST(Favorites, MenuAndAdd) {
    test::MemoryStore store;
    test::ScriptedPrompts prompts;
    test::RecordingWindow window{prompts.log};
    SettingsSaver saver(store, prompts);
    store.values = {{{"Favorites", "1"}, "Tom & Jerry"}, {{"Favorites", "3"}, "Empty"}};
    LoadFavorites(store, window);
    std::string seen = positionEntry(2, "Projects");
    for (const std::string& caption : window.favorites) seen += "|" + caption;
    for (const char* name : {"", "   ", "Work"})
        seen += "|" + std::to_string(addFavorite(saver, prompts, 4, name, "/w"));
    for (const std::string& line : store.writes) seen += "|" + line;
    EXPECT_EQ(seen + "|" + prompts.log.at(0),
              "2 - Projects|Tom & Jerry||Empty|||0|1|1|Favorites/4=   |Favorites/Path4=/w|"
              "Favorites/4=Work|Favorites/Path4=/w|message Add To Favorites...: Name "
              "must contain at least one character");
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
TEST(SettingsSaver, TellsARefusedWriteOnce) {
    test::MemoryStore store;
    test::ScriptedPrompts prompts;
    SettingsSaver saver(store, prompts);
    for (const bool fail : {false, true, true, false})
        store.failWrites = fail, saver.save("Options", "LDU", fail ? "/x" : "/kept");
    EXPECT_EQ(std::to_string(store.writes.size()) + (store.values[{"Options", "LDU"}]) + "|" + prompts.log.at(0),
              "4/kept|message Farsend 98: Your settings could not be saved: " + std::string(std::strerror(EROFS)) +
                  ".\n\nSettings file: (memory)");
    EXPECT_EQ(prompts.log.size(), 1u);
}

}  // namespace
}  // namespace farsend
