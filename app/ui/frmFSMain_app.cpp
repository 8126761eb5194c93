// Start-up, the selection display, the destination chooser and closing.
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "app/Chooser.h"
#include "app/Selection.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/FileListBox.h"
#include "app/ui/frmFSMain.h"
#include "app/ui/frmNewDir.h"

namespace farsend {

namespace {

const char* const kCannotFind =
    "Cannot find the specified source file.\r\n"
    "Farsend 98 is meant to be run from the SendTo menu.\r\n"
    "The program will abort.";

// A message box with an OK button only and no icon.
void tell(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void centreOnScreen(QWidget& window) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize size = window.frameGeometry().size();
    window.move(screen.x() + (screen.width() - size.width()) / 2, screen.y() + (screen.height() - size.height()) / 2);
}

}  // namespace

bool frmFSMain::Form_Load() {
    // One trap for every step: whatever fails ends the start-up, and the
    // caller unloads the window without showing it.
    try {
        LoadFavorites();
        adjustSize();
        centreOnScreen(*this);
        LoadSettings();
        // Until a start folder is set (none stored yet, or the stored one is
        // gone) the folder list starts at the root volume's mount point.
        if (dirFSDir->Path().empty()) {
            const auto volumes = services_.volumes->volumes();
            const auto root = volumeOf(volumes, "/");
            if (root)
                (void)dirFSDir->setPath(root->mountPoint);
            else if (!volumes.empty())
                (void)dirFSDir->setPath(volumes.front().mountPoint);
        }
        ParseCommand();
        showCurrentEntry();
        const std::string first = FileCount == 1 && !services_.args.empty() ? services_.args.front() : SelectedFiles[0];
        if (!fileFSFile->setFileName(first)) return false;
        if (FileCount == 1) {
            cmdFileUp->hide();
            cmdFileDn->hide();
        }
        attachProgressBar();
        lblStatus->setText(QString());
    } catch (const ParseCommandError& e) {
        if (e.failure().kind == ParseFailureKind::NotFound) tell(kProgramTitle, kCannotFind);
        return false;
    } catch (...) {
        return false;
    }
    // The first control in the keyboard order takes the focus.
    (FileCount > 1 ? static_cast<QWidget*>(cmdFileDn) : Command2)->setFocus();
    return true;
}

void frmFSMain::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    saveSetting("Options", "LDU", dirFSDir->Path());
}

std::int16_t frmFSMain::ParseCommand() {
    if (auto failure = parseCommand(*services_.fs, services_.args, SelectedFiles, FileCount))
        throw ParseCommandError(std::move(*failure));
    return FileCount;
}

void frmFSMain::showCurrentEntry() {
    const std::string& entry = SelectedFiles[static_cast<std::size_t>(CurrentFile)];
    const std::string text = selectionDisplay(*services_.fs, Command1[0]->text().toStdString(), entry);
    lblFileName->setText(QString::fromStdString(text));
    // A label raises no change event of its own; this is the one place
    // that shows an entry.
    lblFileName_Change();
}

void frmFSMain::cmdFileUp_Click() {
    if (CurrentFile <= 0) return;
    --CurrentFile;
    showCurrentEntry();
}

void frmFSMain::cmdFileDn_Click() {
    if (CurrentFile >= FileCount - 1) return;
    ++CurrentFile;
    showCurrentEntry();
}

void frmFSMain::lblFileName_Change() {
    // An entry the file list cannot take leaves it as it was.
    (void)fileFSFile->setFileName(SelectedFiles[static_cast<std::size_t>(CurrentFile)]);
}

void frmFSMain::Command2_Click() { showAddToFavorites(); }

void frmFSMain::Command3_Click() {
    frmNewDir dialog(*this);
    dialog.exec();
}

void frmFSMain::mnuActionCreateDir_Click() { Command3_Click(); }

void frmFSMain::mnuActionExit_Click() { close(); }

void frmFSMain::drvFSDrive_Change() {
    // The folder list follows to the chosen drive's current folder.
    const Status moved = dirFSDir->setPath(dirFSDir->currentFolderOf(drvFSDrive->Drive()));
    if (moved || driveFailureOf(moved.error()) == DriveFailure::None) return;
    tell(kProgramTitle, "Unable to access this drive. Program will Quit");
    endProgramNow(1);
}

void frmFSMain::dirFSDir_Change() {
    const std::string path = dirFSDir->Path();
    // The drive list follows; its own change handler then finds the folder
    // list already on that drive's current folder, so the two settle at once.
    (void)drvFSDrive->setDrive(path);
    if (endedNow_) return;
    for (std::size_t i = 0, n = matchedWordPatterns(path).size(); i < n; ++i) tell("Easter Egg!", "Naughty Naughty!!");
}

}  // namespace farsend
