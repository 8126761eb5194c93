// The Copy/Move command and the walk over the selection. (Being written.)
#include "app/ui/frmFSMain.h"

namespace farsend {

void frmFSMain::Command1_Click(int Index) {
    if (Index == 1) close();
}
void frmFSMain::Command1_MouseDown(int, Qt::MouseButton) {}
void frmFSMain::mnuActionCopy_Click() {}
void frmFSMain::mnuActionMove_Click() {}
void frmFSMain::CopyFiles() {}
void frmFSMain::MoveFiles() {}

}  // namespace farsend
