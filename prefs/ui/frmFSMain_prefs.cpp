// Settings, favourites and the Options entry of the main window.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/frmFSMain.h"
#include "prefs/Favorites.h"
#include "prefs/LoadSettings.h"
#include "prefs/ui/Form1.h"
#include "prefs/ui/MainSettingsWindow.h"
#include "prefs/ui/frmOptions.h"
#include "progress/ui/PictureBox.h"

namespace farsend {

void MainSettingsWindow::setModeCaption(const std::string& caption) {
    w_.Command1[0]->setText(QString::fromStdString(caption));
}

void MainSettingsWindow::setModeChecks(bool copyChecked, bool moveChecked) {
    w_.mnuActionCopy->setChecked(copyChecked);
    w_.mnuActionMove->setChecked(moveChecked);
}

void MainSettingsWindow::setFavoritesMenuVisible(bool visible) { w_.mnuFavorites->menuAction()->setVisible(visible); }

Status MainSettingsWindow::setFolderPath(const std::string& path) { return w_.dirFSDir->setPath(path); }

void MainSettingsWindow::setToolTip(int order, const std::string& text) {
    QWidget* const controls[kToolTipCount] = {w_.lblFileName, w_.cmdFileUp,   w_.cmdFileDn, w_.drvFSDrive,
                                              w_.dirFSDir,    w_.picProgress, w_.Command2,  w_.Command3,
                                              w_.Command1[0], w_.Command1[1]};
    if (order < 0 || order >= kToolTipCount) return;
    controls[order]->setToolTip(QString::fromStdString(text));
}

void MainSettingsWindow::setFavoriteCaption(int index, const std::string& caption) {
    // Shown as stored: an "&" marks the access key, as in every caption.
    w_.mnuFavArray[static_cast<std::size_t>(index)]->setText(QString::fromStdString(caption));
}

// The default drive is the root volume, always listed; should it fail all
// the same, the drive list simply stays where it was.
void MainSettingsWindow::setDrive(const std::string& designation) { (void)w_.drvFSDrive->setDrive(designation); }

void MainSettingsWindow::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, "Farsend 98", QString::fromStdString(text), QMessageBox::Ok, &w_);
    box.exec();
}

std::vector<Volume> MainSettingsWindow::volumes() { return w_.services().volumes->volumes(); }

void frmFSMain::LoadSettings() {
    MainSettingsWindow target(*this);
    farsend::LoadSettings(*services_.store, target, settings);
}

void frmFSMain::LoadFavorites() {
    MainSettingsWindow target(*this);
    farsend::LoadFavorites(*services_.store, target);
}

// While a transfer runs, pending events are processed between chunks; none
// of these may move the destination or change the mode under it.

void frmFSMain::mnuFavArray_Click(int Index) {
    if (transferRunning_ || Index < 0 || Index >= kFavoriteSlots) return;
    MainSettingsWindow target(*this);
    chooseFavorite(*services_.store, target, Index);
}

void frmFSMain::showAddToFavorites() {
    if (transferRunning_) return;
    Form1 dialog(*this);
    dialog.exec();
}

void frmFSMain::mnuHelpOptions_Click() {
    if (transferRunning_) return;
    bool byButton = false;
    {
        frmOptions dialog(*this);
        dialog.exec();
        byButton = dialog.closedByButton();
    }
    // Unloaded first, then the main window takes up the stored preferences;
    // closing the dialog by its window command leaves everything as it was.
    if (byButton) LoadSettings();
}

void frmFSMain::saveSetting(const std::string& section, const std::string& key, const std::string& value) {
    const Status written = services_.store->write(section, key, value);
    if (written.ok() || settingsWriteFailureShown_) return;
    // Once per run: the reason will not go away by itself, and the program
    // carries on with what it has in memory.
    settingsWriteFailureShown_ = true;
    QMessageBox box(QMessageBox::Warning, "Farsend 98",
                    QString::fromStdString(writeFailureText(written.error(), services_.store->location())),
                    QMessageBox::Ok, this);
    box.exec();
}

}  // namespace farsend
