#pragma once
// A main window that records what the settings code does to it, in order.

#include <map>
#include <string>
#include <vector>

#include "prefs/LoadSettings.h"

namespace farsend::test {

class RecordingWindow final : public ISettingsWindow {
public:
    void setModeCaption(const std::string& caption) override { calls.push_back("caption " + caption); }
    void setModeChecks(bool copy, bool) override { calls.push_back(copy ? "copy" : "move"); }
    void setFavoritesMenuVisible(bool visible) override { favoritesVisible = visible; }
    Status setFolderPath(const std::string& path) override {
        calls.push_back("folder " + path);
        auto refused = refuse.find(path);
        if (refused != refuse.end()) return Error::fromErrno(refused->second);
        folder = path;
        return {};
    }
    void setToolTip(int, const std::string& text) override { tips.push_back(text); }
    void setFavoriteCaption(int index, const std::string&) override { calls.push_back("fav " + std::to_string(index)); }
    void setDrive(const std::string& designation) override { calls.push_back("drive " + designation); }
    void showMessage(const std::string& text) override { calls.push_back("message " + text); }
    std::vector<Volume> volumes() override { return volumeList; }

    std::vector<std::string> calls;
    std::vector<std::string> tips;  // in the order they were set
    std::string folder = "(unset)";
    bool favoritesVisible = false;
    std::map<std::string, int> refuse;  // folder paths the list refuses, with errno
    std::vector<Volume> volumeList{{"/", ""}, {"/media/usb", "STICK"}};
};

}  // namespace farsend::test
