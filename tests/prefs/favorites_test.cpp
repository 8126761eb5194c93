#include "prefs/Favorites.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "RecordingWindow.h"
#include "prefs/Options.h"
#include "support/MemoryStore.h"

namespace farsend {
namespace {

using test::MemoryStore;
using test::RecordingWindow;

TEST(Favorites, KeysAndPositionEntries) {
    EXPECT_EQ(favoriteNameKey(1), "1");
    EXPECT_EQ(favoritePathKey(5), "Path5");
    EXPECT_EQ(positionEntry(2, "Projects"), "2 - Projects");
    EXPECT_EQ(positionEntry(1, "A&B"), "1 - A&B");
}

TEST(Favorites, LoadFavoritesShowsStoredNamesAndEmptyForAbsentSlots) {
    MemoryStore store;
    RecordingWindow window;
    store.values[{"Favorites", "1"}] = "Home";
    store.values[{"Favorites", "2"}] = "Empty";
    store.values[{"Favorites", "4"}] = "&Work";
    LoadFavorites(store, window);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"fav 0 Home", "fav 1 Empty", "fav 2 ", "fav 3 &Work", "fav 4 "}));
}

TEST(Favorites, ChoosingAnExistingFolderOnlyMovesTheList) {
    MemoryStore store;
    RecordingWindow window;
    store.values[{"Favorites", "Path3"}] = "/srv/work";
    chooseFavorite(store, window, 2);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"folder /srv/work"}));
}

struct RefusalCase {
    int errnoValue;
    bool message;
};

class ChooseRefusedTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ChooseRefusedTest, GoesToTheDefaultDriveWithMessageOnlyForAMissingFolder) {
    MemoryStore store;
    RecordingWindow window;
    window.volumeList = {{"/", "ROOT"}, {"/media/usb", ""}};
    store.values[{"Favorites", "Path1"}] = "/media/usb/gone";
    window.refuse["/media/usb/gone"] = GetParam().errnoValue;
    chooseFavorite(store, window, 0);
    std::vector<std::string> expected = {"folder /media/usb/gone"};
    if (GetParam().message)
        expected.push_back("message This favorite path doesn't exist anymore.\r\nPlease update this favorite");
    expected.push_back("drive / [ROOT]");
    EXPECT_EQ(window.calls, expected);
    EXPECT_EQ(store.read("Favorites", "Path1"), "/media/usb/gone");  // the slot is left as it was
}

INSTANTIATE_TEST_SUITE_P(Favorites, ChooseRefusedTest,
                         ::testing::Values(RefusalCase{ENOENT, true}, RefusalCase{ENOTDIR, true},
                                           RefusalCase{ENOMEDIUM, false}, RefusalCase{EIO, false},
                                           RefusalCase{EACCES, false}));

TEST(Favorites, ANeverFilledSlotHandsTheEmptyPathToTheList) {
    MemoryStore store;
    RecordingWindow window;
    window.refuse[""] = ENOENT;
    chooseFavorite(store, window, 4);
    ASSERT_EQ(window.calls.size(), 3u);
    EXPECT_EQ(window.calls[0], "folder ");
    EXPECT_EQ(window.calls[2], "drive /");
}

struct OptionsCase {
    InMemorySettings settings;
    OptionsChoice choice;
};

class OptionsFromTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(OptionsFromTest, StartsFromTheInMemorySettings) {
    const OptionsChoice c = optionsFrom(GetParam().settings);
    EXPECT_EQ(c.rootDir, GetParam().choice.rootDir);
    EXPECT_EQ(c.drive, GetParam().choice.drive);
    EXPECT_EQ(c.copy, GetParam().choice.copy);
    EXPECT_EQ(c.tips, GetParam().choice.tips);
}

InMemorySettings mem(bool rootDir, const char* drive, const char* mode, std::int16_t tips) {
    InMemorySettings s;
    s.RootDir = rootDir;
    s.DefRootDir = drive;
    s.DefaultMode = mode;
    s.ToolTips = tips;
    return s;
}

INSTANTIATE_TEST_SUITE_P(Options, OptionsFromTest,
                         ::testing::Values(OptionsCase{mem(true, "/", "&Copy", 0), {true, "/", true, false}},
                                           OptionsCase{mem(false, "/media/usb [STICK]", "&Move", 1),
                                                       {false, "/media/usb [STICK]", false, true}},
                                           OptionsCase{mem(true, "/", "&copy", 2), {true, "/", false, true}},
                                           OptionsCase{mem(true, "/", "", -1), {true, "/", false, true}}));

TEST(Options, OkWritesTheFourKeysInOrder) {
    EXPECT_EQ(optionsWrites({true, "/ [SYS]", true, true}),
              (std::vector<std::pair<std::string, std::string>>{
                  {"RootDir", "True"}, {"DefRootDir", "/ [SYS]"}, {"DefaultMode", "&Copy"}, {"ToolTips", "1"}}));
    EXPECT_EQ(optionsWrites({false, "/media/usb", false, false}),
              (std::vector<std::pair<std::string, std::string>>{
                  {"RootDir", "False"}, {"DefRootDir", "/media/usb"}, {"DefaultMode", "&Move"}, {"ToolTips", "0"}}));
}

}  // namespace
}  // namespace farsend
