// The main window's progress bar. (Being written.)
#include "app/ui/frmFSMain.h"
#include "progress/CProgressBar.h"

namespace farsend {

void frmFSMain::attachProgressBar() {
    if (!cpbProgress) cpbProgress = std::make_unique<CProgressBar>();
}

}  // namespace farsend
