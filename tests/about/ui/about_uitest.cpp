// The About box, and where the desktop's system-information program is found.
#include <QLabel>
#include <QPushButton>

#include "about/SysInfo.h"
#include "about/ui/DesktopSysInfo.h"
#include "about/ui/frmAbout.h"
#include "support/ui/MainHarness.h"

using namespace farsend;
using namespace farsend::test;

class AboutUiTest : public QObject {
    Q_OBJECT
private slots:
    // Its texts and icon, no button cut off, System Info telling when the
    // program cannot be started, and OK as both the Enter and the Esc button.
    void aboutBox() {
        struct Nowhere final : ISysInfoSource {
            bool GetKeyValue(SysInfoKey, std::string& value) override { return value.clear(), false; }
            bool startProgram(const std::string&) override { return false; }
        } nowhere;
        FaultyFileSystem fs;
        ScriptedPrompts prompts;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            frmAbout d(nullptr, nowhere, fs, prompts);
            d.show();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QStringList seen{d.windowTitle()};
            for (const char* name : {"lblTitle", "lblVersion", "lblDescription"})
                seen << child<QLabel>(d, name)->text();
            for (auto* b : {child<QPushButton>(d, "cmdOK"), child<QPushButton>(d, "cmdSysInfo")})
                seen << b->text() + (b->width() < b->sizeHint().width() ? " (cut)" : "");
            seen << QString::number(child<QLabel>(d, "lblDisclaimer")->text().contains("MIT License")) +
                        QString::number(child<QLabel>(d, "picIcon")->pixmap().isNull());
            child<QPushButton>(d, "cmdSysInfo")->click();
            seen << QApplication::focusWidget()->objectName() + QString::number(d.isVisible());
            press(key);
            QCOMPARE(seen.join('|') + QString::number(d.isVisible()),
                     "About Farsend 98|Farsend 98|Version 3.1 (3/9/98)|Farsend 98 Send To Utility|OK|&System Info...|"
                     "10|cmdOK10");
        }
        QCOMPARE(lines(prompts.log),
                 QStringList(2, "message Farsend 98: System Information Is Unavailable At This Time"));
    }

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
