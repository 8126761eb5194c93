#include "prefs/Favorites.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "RecordingWindow.h"
#include "prefs/Options.h"
#include "support/MemoryStore.h"

namespace farsend {
namespace {

// A favourite the folder list refuses sends the user to the default drive;
// only a folder that is gone for good earns the message.
TEST(Favorites, ChoosingARefusedFolder) {
    struct Case {
        const char* path;  // nullptr: slot never filled
        int errnoValue;    // 0: the list takes it
        bool message;
    } cases[] = {
        {"/srv/work", 0, false},           {"/media/usb/gone", ENOENT, true},     {"/media/usb/gone", ENOTDIR, true},
        {nullptr, ENOENT, true},           {"/media/usb/gone", ENOMEDIUM, false}, {"/media/usb/gone", EIO, false},
        {"/media/usb/gone", EACCES, false}};
    for (const Case& c : cases) {
        test::MemoryStore store;
        test::RecordingWindow window;
        window.volumeList = {{"/", "ROOT"}, {"/media/usb", ""}};
        const std::string path = c.path ? c.path : "";
        if (c.path) store.values[{"Favorites", "Path3"}] = path;
        if (c.errnoValue != 0) window.refuse[path] = c.errnoValue;
        chooseFavorite(store, window, 2);
        std::vector<std::string> expected = {"folder " + path};
        if (c.message) expected.push_back(std::string("message ") + kFavoriteMissingText);
        if (c.errnoValue != 0) expected.push_back("drive / [ROOT]");
        EXPECT_EQ(window.calls, expected) << path << " errno " << c.errnoValue;
        EXPECT_EQ(store.writes, std::vector<std::string>{});  // the slot is left as it was
    }
}

TEST(Options, OkWritesTheFourKeysInOrder) {
    using Writes = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(optionsWrites({true, "/ [SYS]", true, true}),
              (Writes{{"RootDir", "True"}, {"DefRootDir", "/ [SYS]"}, {"DefaultMode", "&Copy"}, {"ToolTips", "1"}}));
    EXPECT_EQ(
        optionsWrites({false, "/media/usb", false, false}),
        (Writes{{"RootDir", "False"}, {"DefRootDir", "/media/usb"}, {"DefaultMode", "&Move"}, {"ToolTips", "0"}}));
}

}  // namespace
}  // namespace farsend
