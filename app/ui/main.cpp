// Farsend 98: started by a file manager with the selected items as arguments.

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "about/ui/DesktopSysInfo.h"
#include "app/ui/DisplayStart.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/QtVolumes.h"
#include "app/ui/frmFSMain.h"
#include "prefs/ui/QtSettingsStore.h"

int main(int argc, char* argv[]) {
    // Every argument is one piece of the selection, so the toolkit must not
    // take any of them as its own option (a file may well be named "-style").
    std::vector<std::string> pieces(argv + 1, argv + argc);
    int qtArgc = 1;
    const std::unique_ptr<QApplication> app = farsend::openDisplay(qtArgc, argv);
    if (!app) return farsend::kNoDisplayExit;
    Q_INIT_RESOURCE(farsend);  // the icon lives in the window library
    QApplication::setApplicationName(farsend::kProgramTitle);
    QApplication::setWindowIcon(QIcon(":/farsend98.svg"));

    farsend::QtVolumes volumes;
    farsend::QtSettingsStore store;
    farsend::QtPrompts prompts;
    farsend::DesktopSysInfo sysInfo;
    farsend::Services services;
    services.fs = &farsend::realFileSystem();
    services.volumes = &volumes;
    services.store = &store;
    services.prompts = &prompts;
    services.sysInfo = &sysInfo;
    services.args = std::move(pieces);
    services.endNow = [](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
    };
    services.openUrl = [](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    };

    farsend::frmFSMain window(services);
    if (!window.Form_Load()) {
        window.Form_Unload();
        return 1;
    }
    window.show();
    return QApplication::exec();
}
