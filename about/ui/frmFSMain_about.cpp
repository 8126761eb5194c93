// The Help menu's help page and About entries.
#include <QFileInfo>
#include <QUrl>

#include "about/SysInfo.h"
#include "about/ui/DesktopSysInfo.h"
#include "about/ui/frmAbout.h"
#include "app/ui/frmFSMain.h"

namespace farsend {

// The help page installed with the program, or, when running from the build
// tree, the one in the sources.
static QString helpPageUrl() {
    const QString installed = QStringLiteral(FARSEND_HELP_DIR "/index.html");
    const QString page =
        QFileInfo::exists(installed) ? installed : QStringLiteral(FARSEND_SOURCE_HELP_DIR "/index.html");
    return QUrl::fromLocalFile(page).toString();
}

void frmFSMain::mnuHelpFSHelp_Click() {
    // Whatever the desktop makes of it; nothing is shown when it cannot open it.
    if (services_.openUrl) (void)services_.openUrl(helpPageUrl().toStdString());
}

void frmFSMain::mnuHelpAbout_Click() {
    DesktopSysInfo desktop;
    frmAbout about(this, services_.sysInfo != nullptr ? *services_.sysInfo : desktop, *services_.fs,
                   *services_.prompts);
    about.exec();
}

}  // namespace farsend
