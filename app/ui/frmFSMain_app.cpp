// Start-up, the selection display, the destination chooser and closing. (Being written.)
#include "app/ui/DirListBox.h"
#include "app/ui/frmFSMain.h"

namespace farsend {

bool frmFSMain::Form_Load() { return true; }

void frmFSMain::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    saveSetting("Options", "LDU", dirFSDir->Path());
}

std::int16_t frmFSMain::ParseCommand() { return FileCount; }
void frmFSMain::cmdFileUp_Click() {}
void frmFSMain::cmdFileDn_Click() {}
void frmFSMain::lblFileName_Change() {}
void frmFSMain::Command2_Click() {}
void frmFSMain::Command3_Click() {}
void frmFSMain::mnuActionCreateDir_Click() {}
void frmFSMain::mnuActionExit_Click() { close(); }
void frmFSMain::drvFSDrive_Change() {}
void frmFSMain::dirFSDir_Change() {}
void frmFSMain::showCurrentEntry() {}

}  // namespace farsend
