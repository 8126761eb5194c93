// Settings, favourites and the Options entry of the main window.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/frmFSMain.h"
#include "prefs/Favorites.h"
#include "prefs/LoadSettings.h"
#include "prefs/ui/Form1.h"
#include "prefs/ui/frmOptions.h"
#include "progress/ui/PictureBox.h"

namespace farsend {

class frmFSMain::SettingsTarget final : public ISettingsWindow {
public:
    explicit SettingsTarget(frmFSMain& window) : w_(window) {}

    void setModeCaption(const std::string& caption) override {
        w_.Command1[0]->setText(QString::fromStdString(caption));
    }
    void setModeChecks(bool copyChecked, bool moveChecked) override {
        w_.mnuActionCopy->setChecked(copyChecked);
        w_.mnuActionMove->setChecked(moveChecked);
    }
    void setFavoritesMenuVisible(bool visible) override { w_.mnuFavorites->menuAction()->setVisible(visible); }
    Status setFolderPath(const std::string& path) override { return w_.dirFSDir->setPath(path); }
    void setToolTip(int order, const std::string& text) override {
        QWidget* const controls[kToolTipCount] = {w_.lblFileName, w_.cmdFileUp,   w_.cmdFileDn, w_.drvFSDrive,
                                                  w_.dirFSDir,    w_.picProgress, w_.Command2,  w_.Command3,
                                                  w_.Command1[0], w_.Command1[1]};
        if (order < 0 || order >= kToolTipCount) return;
        controls[order]->setToolTip(QString::fromStdString(text));
    }
    void setFavoriteCaption(int index, const std::string& caption) override {
        // Shown as stored: an "&" marks the access key, as in every caption.
        w_.mnuFavArray[static_cast<std::size_t>(index)]->setText(QString::fromStdString(caption));
    }
    // The default drive is the root volume, always listed; should it fail all
    // the same, the drive list simply stays where it was.
    void setDrive(const std::string& designation) override { (void)w_.drvFSDrive->setDrive(designation); }
    std::vector<Volume> volumes() override { return w_.services_.volumes->volumes(); }

private:
    frmFSMain& w_;
};

void frmFSMain::LoadSettings() {
    SettingsTarget target(*this);
    farsend::LoadSettings(*services_.store, target, settings);
}

void frmFSMain::LoadFavorites() {
    SettingsTarget target(*this);
    farsend::LoadFavorites(*services_.store, target);
}

// While a transfer runs, pending events are processed between chunks; none
// of these may move the destination or change the mode under it.

void frmFSMain::mnuFavArray_Click(int Index) {
    if (transferRunning_ || Index < 0 || Index >= kFavoriteSlots) return;
    SettingsTarget target(*this);
    chooseFavorite(*services_.store, target, *services_.prompts, Index);
}

void frmFSMain::Command2_Click() {
    if (transferRunning_) return;
    Form1 dialog(saver_, *services_.prompts, dirFSDir->Path(), [this] { LoadFavorites(); });
    dialog.exec();
}

void frmFSMain::mnuHelpOptions_Click() {
    if (transferRunning_) return;
    bool byButton = false;
    {
        frmOptions dialog(settings, *services_.volumes, saver_);
        dialog.exec();
        byButton = dialog.closedByButton();
    }
    // Unloaded first, then the main window takes up the stored preferences;
    // closing the dialog by its window command leaves everything as it was.
    if (byButton) LoadSettings();
}

}  // namespace farsend
