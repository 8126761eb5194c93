// The Help menu's help page and About entries. (Being written.)
#include "app/ui/frmFSMain.h"

namespace farsend {

void frmFSMain::mnuHelpFSHelp_Click() {}
void frmFSMain::mnuHelpAbout_Click() {}

}  // namespace farsend
