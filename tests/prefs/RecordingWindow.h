#pragma once
// A main window that records what the settings code does to it, in order.

#include <map>
#include <string>
#include <vector>

#include "prefs/LoadSettings.h"

namespace farsend::test {

class RecordingWindow final : public ISettingsWindow {
public:
    void setModeCaption(const std::string& caption) override {
        calls.push_back("caption " + caption);
        modeCaption = caption;
    }
    void setModeChecks(bool copy, bool move) override {
        calls.push_back(std::string("checks copy=") + (copy ? "1" : "0") + " move=" + (move ? "1" : "0"));
        copyChecked = copy;
        moveChecked = move;
    }
    void setFavoritesMenuVisible(bool visible) override {
        calls.push_back(std::string("favorites ") + (visible ? "shown" : "hidden"));
        favoritesVisible = visible;
    }
    Status setFolderPath(const std::string& path) override {
        calls.push_back("folder " + path);
        auto refused = refuse.find(path);
        if (refused != refuse.end()) return Error::fromErrno(refused->second);
        folder = path;
        return {};
    }
    void setToolTip(int order, const std::string& text) override {
        calls.push_back("tip " + std::to_string(order));
        tips.push_back(text);
    }
    void setFavoriteCaption(int index, const std::string& caption) override {
        calls.push_back("fav " + std::to_string(index) + " " + caption);
    }
    void setDrive(const std::string& designation) override { calls.push_back("drive " + designation); }
    void showMessage(const std::string& text) override { calls.push_back("message " + text); }
    std::vector<Volume> volumes() override { return volumeList; }

    std::vector<std::string> calls;
    std::vector<std::string> tips;  // in the order they were set
    std::string modeCaption;
    std::string folder = "(unset)";
    bool copyChecked = false;
    bool moveChecked = false;
    bool favoritesVisible = false;

    std::map<std::string, int> refuse;  // folder paths the list refuses, with errno
    std::vector<Volume> volumeList{{"/", ""}, {"/media/usb", "STICK"}};
};

}  // namespace farsend::test
