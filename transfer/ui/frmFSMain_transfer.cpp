// The Copy/Move command, the mode, and the walk over the selection.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "app/ui/DirListBox.h"
#include "app/ui/frmFSMain.h"
#include "progress/CProgressBar.h"
#include "transfer/TransferEngine.h"
#include "transfer/TransferMode.h"
#include "transfer/ui/TransferHost.h"

namespace farsend {

void frmFSMain::setSelectionCaption(const QString& text) {
    if (lblFileName->text() == text) return;
    lblFileName->setText(text);
    // The change handler points the name list at the entry on display,
    // which cannot change while a transfer runs: once is enough then.
    if (!transferRunning_ || !transferCaptionChanged_) lblFileName_Change();
    if (transferRunning_) transferCaptionChanged_ = true;
}

void frmFSMain::Command1_Click(int Index) {
    // One run performs at most one transfer, and nothing interrupts it.
    if (transferRunning_ || transferDone_) return;
    if (Index == 0) {
        if (modeOfCaption(Command1[0]->text().toStdString()) == TransferMode::Copy)
            CopyFiles();
        else
            MoveFiles();
        if (endedNow_) return;
        close();
    } else if (Index == 1) {
        close();
    }
}

void frmFSMain::Command1_MouseDown(int Index, Qt::MouseButton Button) {
    if (transferRunning_ || transferDone_) return;
    if (Index == 0 && Button == Qt::RightButton) {
        const bool toMove = Command1[0]->text() == kCopyCaption;
        Command1[0]->setText(QString::fromStdString(switchedCaption(Command1[0]->text().toStdString())));
        mnuActionCopy->setChecked(!toMove);
        mnuActionMove->setChecked(toMove);
    }
    const int current = std::clamp<int>(CurrentFile, 0, kSelectionCapacity - 1);
    const SelectionDisplay display =
        pressDisplay(Command1[0]->text().toStdString(), FileCount, SelectedFiles[current], *services().fs);
    setSelectionCaption(QString::fromStdString(display.text));
    if (display.threeLine) {
        cmdFileUp->hide();
        cmdFileDn->hide();
    }
}

void frmFSMain::mnuActionCopy_Click() {
    if (transferRunning_ || transferDone_) {
        mnuActionCopy->setChecked(!mnuActionCopy->isChecked());  // undo the action's own toggle
        return;
    }
    Command1[0]->setText(kCopyCaption);
    mnuActionMove->setChecked(false);
    mnuActionCopy->setChecked(true);
}

void frmFSMain::mnuActionMove_Click() {
    if (transferRunning_ || transferDone_) {
        mnuActionMove->setChecked(!mnuActionMove->isChecked());
        return;
    }
    Command1[0]->setText(kMoveCaption);
    mnuActionCopy->setChecked(false);
    mnuActionMove->setChecked(true);
}

void frmFSMain::CopyFiles() { runTransfer(false); }

void frmFSMain::MoveFiles() { runTransfer(true); }

void frmFSMain::runTransfer(bool move) {
    if (transferRunning_) return;
    const int count = std::clamp<int>(FileCount, 0, kSelectionCapacity);
    const std::vector<std::string> entries(SelectedFiles.begin(), SelectedFiles.begin() + count);
    StepOutcome outcome;
    {
        transferRunning_ = true;
        TransferInputGuard guard(*this);
        TransferHost host(
            *this, *lblStatus, [this](const std::string& text) { setSelectionCaption(QString::fromStdString(text)); },
            [this](std::int32_t value) {
                if (!cpbProgress) attachProgressBar();
                if (cpbProgress) cpbProgress->setValue(value);
            });
        Transfer transfer(*services_.fs, *services_.prompts, host, move ? TransferMode::Move : TransferMode::Copy,
                          dirFSDir->Path());
        outcome = transfer.walk(entries);
        transferRunning_ = false;
    }
    transferDone_ = true;
    if (outcome == StepOutcome::EndProgram) endProgramNow(0);
}

}  // namespace farsend
