#pragma once
// The main window as the settings code sees it.

#include "app/ui/frmFSMain.h"
#include "prefs/LoadSettings.h"

namespace farsend {

class MainSettingsWindow final : public ISettingsWindow {
public:
    explicit MainSettingsWindow(frmFSMain& window) : w_(window) {}

    void setModeCaption(const std::string& caption) override;
    void setModeChecks(bool copyChecked, bool moveChecked) override;
    void setFavoritesMenuVisible(bool visible) override;
    Status setFolderPath(const std::string& path) override;
    void setToolTip(int order, const std::string& text) override;
    void setFavoriteCaption(int index, const std::string& caption) override;
    void setDrive(const std::string& designation) override;
    void showMessage(const std::string& text) override;
    std::vector<Volume> volumes() override;

private:
    frmFSMain& w_;
};

}  // namespace farsend
