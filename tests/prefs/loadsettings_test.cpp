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

TEST_F(LoadSettingsTest, EmptyStoreAppliesEveryDefaultInOrder) {
    load();
    std::vector<std::string> expected = {"caption &Copy", "checks copy=1 move=0", "favorites shown", "folder /"};
    for (int i = 0; i < kToolTipCount; ++i) expected.push_back("tip " + std::to_string(i));
    EXPECT_EQ(window.calls, expected);
    EXPECT_EQ(window.tips, std::vector<std::string>(kToolTipCount, ""));

    EXPECT_TRUE(settings.Favorite);
    EXPECT_TRUE(settings.RootDir);
    EXPECT_EQ(settings.DefRootDir, "/");
    EXPECT_EQ(settings.DefaultMode, "&Copy");
    EXPECT_EQ(settings.LDU, "/");
    // The absent key reads as the text "True", which is no number: kept at 0.
    EXPECT_EQ(settings.ToolTips, 0);

    EXPECT_EQ(store.writes, (std::vector<std::string>{"Favorites/1=Empty", "Favorites/Path1=", "Favorites/2=Empty",
                                                      "Favorites/Path2=", "Favorites/3=Empty",
                                                      "Favorites/Path3=", "Favorites/4=Empty",
                                                      "Favorites/Path4=", "Favorites/5=Empty", "Favorites/Path5="}));
}

TEST_F(LoadSettingsTest, DefaultDriveIsTheRootVolumeWithItsLabel) {
    window.volumeList = {{"/boot", "BOOT"}, {"/", "SYSTEM"}};
    load();
    EXPECT_EQ(settings.DefRootDir, "/ [SYSTEM]");
    EXPECT_EQ(settings.LDU, "/ [SYSTEM]");
    EXPECT_EQ(window.folder, "/");
}

TEST_F(LoadSettingsTest, ReadsNothingButOptionsAndSlotOne) {
    store.values[{"Favorites", "1"}] = "Home";
    load();
    EXPECT_TRUE(store.writes.empty());
}

struct ModeCase {
    const char* stored;
    bool copyChecked;
};

class DefaultModeTest : public LoadSettingsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(DefaultModeTest, CaptionIsTheTextAndOnlyExactCopyChecksCopy) {
    set("DefaultMode", GetParam().stored);
    load();
    EXPECT_EQ(window.modeCaption, GetParam().stored);
    EXPECT_EQ(settings.DefaultMode, GetParam().stored);
    EXPECT_EQ(window.copyChecked, GetParam().copyChecked);
    EXPECT_EQ(window.moveChecked, !GetParam().copyChecked);
}

INSTANTIATE_TEST_SUITE_P(LoadSettings, DefaultModeTest,
                         ::testing::Values(ModeCase{"&Copy", true}, ModeCase{"&Move", false}, ModeCase{"&copy", false},
                                           ModeCase{"&COPY", false}, ModeCase{"Copy", false}, ModeCase{"", false}));

struct TipsCase {
    const char* stored;
    std::int16_t value;
    bool on;
};

class ToolTipsTest : public LoadSettingsTest, public ::testing::WithParamInterface<TipsCase> {};

TEST_P(ToolTipsTest, OnlyOneSetsTheTexts) {
    set("ToolTips", GetParam().stored);
    load();
    EXPECT_EQ(settings.ToolTips, GetParam().value);
    ASSERT_EQ(window.tips.size(), static_cast<std::size_t>(kToolTipCount));
    for (int i = 0; i < kToolTipCount; ++i)
        EXPECT_EQ(window.tips[static_cast<std::size_t>(i)],
                  GetParam().on ? kToolTipTexts[static_cast<std::size_t>(i)] : "");
}

INSTANTIATE_TEST_SUITE_P(LoadSettings, ToolTipsTest,
                         ::testing::Values(TipsCase{"1", 1, true}, TipsCase{"0", 0, false}, TipsCase{"-1", -1, false},
                                           TipsCase{"2", 2, false}, TipsCase{"on", 0, false},
                                           TipsCase{"True", 0, false}, TipsCase{"40000", 0, false},
                                           TipsCase{"", 0, false}));

TEST_F(LoadSettingsTest, ToolTipTextsAreTheProgramsOwn) {
    set("ToolTips", "1");
    load();
    EXPECT_EQ(window.tips[0], "List of files/folders currently selected.");
    EXPECT_EQ(window.tips[3], "Select the drive containing the location to copy/move to");
    EXPECT_EQ(window.tips[8], "Right click to change between Copy or Move.  Left click to Copy/Move.");
    EXPECT_EQ(window.tips[9],
              "Click here to cancel the operation. (Once Copy/Move has been pressed, the action cannot be canceled).");
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
    EXPECT_EQ(window.tips[0 + kToolTipCount], kToolTipTexts[0]);
    EXPECT_FALSE(settings.Favorite);
    EXPECT_FALSE(window.favoritesVisible);
    EXPECT_FALSE(settings.RootDir);
}

TEST_F(LoadSettingsTest, UnreadableBooleansOnTheFirstLoadKeepFalse) {
    set("Favorite", "yes");
    set("RootDir", "1");
    set("LDU", "/srv/data");
    load();
    EXPECT_FALSE(window.favoritesVisible);
    EXPECT_EQ(window.folder, "/srv/data");
}

TEST_F(LoadSettingsTest, BooleansAreReadInAnyCase) {
    set("Favorite", "FALSE");
    set("RootDir", "false");
    set("LDU", "/srv/data");
    load();
    EXPECT_FALSE(window.favoritesVisible);
    EXPECT_EQ(window.folder, "/srv/data");
}

struct StartCase {
    const char* rootDir;     // nullptr: absent
    const char* defRootDir;  // nullptr: absent
    const char* ldu;         // nullptr: absent
    const char* folder;      // where the folder list is sent
};

class StartFolderTest : public LoadSettingsTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartFolderTest, FollowsRootDir) {
    const StartCase& c = GetParam();
    if (c.rootDir) set("RootDir", c.rootDir);
    if (c.defRootDir) set("DefRootDir", c.defRootDir);
    if (c.ldu) set("LDU", c.ldu);
    load();
    EXPECT_EQ(window.folder, c.folder);
}

INSTANTIATE_TEST_SUITE_P(
    LoadSettings, StartFolderTest,
    ::testing::Values(StartCase{nullptr, nullptr, "/home/u", "/"},                      // root of the default drive
                      StartCase{"True", "/media/usb [STICK]", nullptr, "/media/usb/"},  // the label is dropped
                      StartCase{"True", "/media/usb [RENAMED]", nullptr, "/media/usb/"},
                      StartCase{"True", "/media/usb", nullptr, "/media/usb/"},
                      StartCase{"False", "/media/usb [STICK]", nullptr, "/media/usb [STICK]"},  // bare designation
                      StartCase{"False", nullptr, nullptr, "/"},
                      StartCase{"False", nullptr, "/home/u/Work", "/home/u/Work"},
                      StartCase{"True", "", nullptr, "/"}));

TEST_F(LoadSettingsTest, RefusedStartFolderIsSkippedAndLaterStepsRun) {
    set("DefRootDir", "/media/gone [OLD]");
    set("ToolTips", "1");
    window.refuse["/media/gone/"] = ENOENT;
    load();
    EXPECT_EQ(window.folder, "(unset)");
    EXPECT_EQ(window.tips.size(), static_cast<std::size_t>(kToolTipCount));
    EXPECT_EQ(window.tips[0], kToolTipTexts[0]);
}

TEST_F(LoadSettingsTest, KeyStoredEmptyIsEmptyNotTheDefault) {
    set("DefRootDir", "");
    set("DefaultMode", "");
    load();
    EXPECT_EQ(settings.DefRootDir, "");
    EXPECT_EQ(settings.LDU, "");
    EXPECT_EQ(window.modeCaption, "");
}

TEST_F(LoadSettingsTest, SlotOneStoredEmptyResetsAllFive) {
    store.values[{"Favorites", "1"}] = "";
    store.values[{"Favorites", "3"}] = "Work";
    store.values[{"Favorites", "Path3"}] = "/srv/work";
    load();
    EXPECT_EQ(store.read("Favorites", "1"), "Empty");
    EXPECT_EQ(store.read("Favorites", "3"), "Empty");
    EXPECT_EQ(store.read("Favorites", "Path3"), "");
    EXPECT_EQ(store.writes.size(), 10u);
}

TEST_F(LoadSettingsTest, FailingStoreWritesAreSkippedSilently) {
    store.failWrites = true;
    set("ToolTips", "1");
    load();
    EXPECT_EQ(store.writes.size(), 10u);  // every slot write was tried
    EXPECT_EQ(window.folder, "/");
    EXPECT_EQ(window.tips.back(), kToolTipTexts[9]);
}

}  // namespace
}  // namespace farsend
