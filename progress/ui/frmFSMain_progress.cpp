// The main window's progress bar.
#include "app/ui/frmFSMain.h"
#include "progress/CProgressBar.h"
#include "progress/ui/PictureBox.h"

namespace farsend {

void frmFSMain::attachProgressBar() {
    if (!cpbProgress) cpbProgress = std::make_unique<CProgressBar>();
    cpbProgress->setCanvas(picProgress);
}

}  // namespace farsend
