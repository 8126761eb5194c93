// Where the desktop's system-information program is found (the About box
// itself is walked through from the main window).
#include "about/ui/DesktopSysInfo.h"
#include "support/ui/MainHarness.h"

using namespace farsend;

class AboutUiTest : public QObject {
    Q_OBJECT
private slots:
    // FARSEND_SYSINFO, else the running desktop's own program; a folder from
    // FARSEND_SYSINFO_DIR, else /usr/bin; a missing program is not started.
    void desktopLookupOrder() {
        const char* names[] = {"FARSEND_SYSINFO", "XDG_CURRENT_DESKTOP", "FARSEND_SYSINFO_DIR"};
        const std::pair<QStringList, QString> cases[] = {{{"/opt/x/info", "KDE", ""}, "11 /opt/x/info|/usr/bin"},
                                                         {{"", "NoSuchDesktop", "/opt/tools"}, "01 |/opt/tools"},
                                                         {{"", "", ""}, "01 |/usr/bin"}};
        for (const auto& [env, found] : cases) {
            for (int i = 0; i < 3; ++i) qputenv(names[i], env[i].toUtf8());
            DesktopSysInfo source;
            std::string path = "stale", dir;
            const bool first = source.GetKeyValue(SysInfoKey::ToolPath, path);
            const bool second = source.GetKeyValue(SysInfoKey::ToolFolder, dir);
            QCOMPARE(QString("%1%2 %3|%4").arg(first).arg(second).arg(path.c_str(), dir.c_str()), found);
        }
        QVERIFY(!DesktopSysInfo().startProgram("/nonexistent/farsend-sysinfo"));
        for (const char* name : names) qunsetenv(name);
    }
};

QTEST_MAIN(AboutUiTest)
#include "about_uitest.moc"
