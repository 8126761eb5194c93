// The Help menu's help page and About entries.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "about/HelpPage.h"
#include "about/SysInfo.h"
#include "about/ui/DesktopSysInfo.h"
#include "about/ui/frmAbout.h"
#include "app/ui/frmFSMain.h"

namespace farsend {

// The help page beside the installed program (see HelpPage.h).
static QString helpPageUrl() {
    const HelpPageLayout layout{FARSEND_HELP_FROM_BINDIR, FARSEND_BUILD_DIR, FARSEND_SOURCE_HELP_DIR "/index.html"};
    const std::string page =
        helpPagePath(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(), layout,
                     [](const std::string& path) { return QFileInfo(QFile::decodeName(path.c_str())).isFile(); });
    return QUrl::fromLocalFile(QFile::decodeName(page.c_str())).toString();
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
