#pragma once
// A main window that records what the settings rules do to it. Folder moves
// and drive changes go to a log shared with whoever else writes to it (the
// prompts, say), so their order shows.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "prefs/LoadSettings.h"

namespace farsend::test {

class RecordingWindow final : public ISettingsWindow {
public:
    explicit RecordingWindow(std::vector<std::string>& log) : log_(&log) {}
    void setModeCaption(const std::string& text) override { caption = text; }
    void setModeChecks(bool copy, bool move) override { checks = std::string(copy ? "C" : "") + (move ? "M" : ""); }
    void setFavoritesMenuVisible(bool visible) override { favoritesVisible = visible; }
    Status setFolderPath(const std::string& path) override {
        log_->push_back("folder " + path);
        if (auto r = refuse.find(path); r != refuse.end()) return Error::fromErrno(r->second);
        return folder = path, Status{};
    }
    void setToolTip(int order, const std::string& text) override { tips.at(order) = text; }
    void setFavoriteCaption(int index, const std::string& text) override { favorites.at(index) = text; }
    void setDrive(const std::string& designation) override { log_->push_back("drive " + designation); }
    std::vector<Volume> volumes() override { return volumeList; }

    std::string caption, checks, folder = "(unset)";
    bool favoritesVisible = false;
    std::array<std::string, kToolTipCount> tips;
    std::array<std::string, kFavoriteSlots> favorites;
    std::map<std::string, int> refuse;  // folder paths the list refuses, with errno
    std::vector<Volume> volumeList{{"/", ""}, {"/media/usb", "STICK"}};

private:
    std::vector<std::string>* log_;
};

}  // namespace farsend::test
