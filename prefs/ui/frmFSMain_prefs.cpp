// Settings, favourites and the Options entry of the main window. (Being written.)
#include "app/ui/frmFSMain.h"

namespace farsend {

void frmFSMain::LoadSettings() {}
void frmFSMain::LoadFavorites() {}
void frmFSMain::mnuFavArray_Click(int) {}
void frmFSMain::mnuHelpOptions_Click() {}
void frmFSMain::saveSetting(const std::string& section, const std::string& key, const std::string& value) {
    (void)services_.store->write(section, key, value);
}

}  // namespace farsend
