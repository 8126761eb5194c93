// Start-up, the selection display, the destination chooser and closing.
#include <QLabel>
#include <QPushButton>

#include "app/Chooser.h"
#include "app/Selection.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/FileListBox.h"
#include "app/ui/frmFSMain.h"
#include "app/ui/frmNewDir.h"
#include "prefs/ui/DialogLayout.h"

namespace farsend {

namespace {

// The program's older words, "SendTo" included, as users have always read them.
const char* const kCannotFind =
    "Cannot find the specified source file.\r\n"
    "Farsend 98 is meant to be run from the SendTo menu.\r\n"
    "The program will abort.";

// "Quit" with its capital, as users have always read it.
const char* const kDriveUnreadable = "Unable to access this drive. Program will Quit";

// The word check's box: a joke of the original program, kept word for word.
const char* const kWordCheckText = "Naughty Naughty!!";
const char* const kWordCheckTitle = "Easter Egg!";

}  // namespace

bool frmFSMain::Form_Load() {
    // One trap for every step: whatever fails ends the start-up, and the
    // caller unloads the window without showing it.
    try {
        LoadFavorites();
        adjustSize();
        centreOnScreen(this);
        LoadSettings();
        // A start folder that cannot be set leaves the folder list in the
        // current folder it began in; only where that could not be listed
        // either does it start at the root volume's mount point.
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
        if (e.failure().kind == ParseFailureKind::NotFound) services_.prompts->message(kCannotFind, kProgramTitle);
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
    saver_.save("Options", "LDU", dirFSDir->Path());
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

void frmFSMain::Command3_Click() {
    // The dialog moves the folder list into the folder it creates.
    frmNewDir dialog(*services_.fs, *services_.prompts, dirFSDir->Path(),
                     [this](const std::string& folder) { return dirFSDir->setPath(folder); });
    dialog.exec();
}

void frmFSMain::mnuActionCreateDir_Click() { Command3_Click(); }

void frmFSMain::mnuActionExit_Click() { close(); }

void frmFSMain::drvFSDrive_Change() {
    // The folder list follows to the chosen drive's current folder.
    const Status moved = dirFSDir->setPath(dirFSDir->currentFolderOf(drvFSDrive->Drive()));
    if (moved || driveFailureOf(moved.error()) == DriveFailure::None) return;
    services_.prompts->message(kDriveUnreadable, kProgramTitle);
    endProgramNow(1);
}

void frmFSMain::dirFSDir_Change() {
    const std::string path = dirFSDir->Path();
    // The drive list follows; its own change handler then finds the folder
    // list already on that drive's current folder, so the two settle at once.
    (void)drvFSDrive->setDrive(path);
    if (endedNow_) return;
    for (std::size_t i = 0, n = matchedWordPatterns(path).size(); i < n; ++i)
        services_.prompts->message(kWordCheckText, kWordCheckTitle);
}

}  // namespace farsend
