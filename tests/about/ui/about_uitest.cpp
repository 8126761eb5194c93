// The help entry and the About box on the real main window.
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "about/SysInfo.h"
#include "about/ui/DesktopSysInfo.h"
#include "about/ui/frmAbout.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

using namespace farsend;
using namespace farsend::test;

namespace {

class FakeSysInfo final : public ISysInfoSource {
public:
    bool GetKeyValue(SysInfoKey key, std::string& KeyVal) override {
        KeyVal = key == SysInfoKey::ToolFolder ? folder : std::string();
        return !KeyVal.empty();
    }
    bool startProgram(const std::string& path) override {
        started.push_back(path);
        return true;
    }
    std::string folder;
    std::vector<std::string> started;
};

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void helpOpensTheHelpPage() {
        MainHarness h;
        QVERIFY(h.start({h.tree.file("a.txt")}));
        h.window().mnuHelpFSHelp->trigger();
        QCOMPARE(h.openedUrls.size(), std::size_t(1));
        const QUrl url(QString::fromStdString(h.openedUrls[0]));
        QCOMPARE(url.scheme(), QString("file"));
        QVERIFY2(url.path().contains("/FSHelp/"), qPrintable(url.toString()));
        QVERIFY(QFileInfo(url.toLocalFile()).isFile());
    }

    void aboutBoxShowsTheProgramsProperties() {
        MainHarness h;
        QVERIFY(h.start({h.tree.file("a.txt")}));
        QStringList texts;
        onNextModal([&texts, &h](QWidget* w) {
            auto* about = qobject_cast<frmAbout*>(w);
            QVERIFY2(about != nullptr, "expected the About box");
            QCOMPARE(about->parentWidget(), static_cast<QWidget*>(&h.window()));
            texts << about->windowTitle() << about->lblTitle->text() << about->lblVersion->text()
                  << about->lblDescription->text() << about->cmdOK->text() << about->cmdSysInfo->text();
            QVERIFY(about->lblDisclaimer->text().contains("MIT License"));
            QVERIFY(!about->picIcon->pixmap().isNull());
            for (QPushButton* b : {about->cmdOK, about->cmdSysInfo})
                QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text() + " is cut"));
            QVERIFY(about->cmdOK->isDefault());
            QTest::keyClick(about, Qt::Key_Escape);  // OK is also the cancel button
        });
        h.window().mnuHelpAbout->trigger();
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(texts.join('|'), QString("About Farsend 98|Farsend 98|Version 3.1 (3/9/98)|Farsend 98 Send To "
                                          "Utility|OK|&System Info..."));
    }

    // Only the second source is set, without the program in its folder.
    void sysInfoUnavailable() {
        MainHarness h;
        FakeSysInfo fake;
        fake.folder = h.tree.dir("tools");
        QVERIFY(h.start({h.tree.file("a.txt")}));
        h.window().sysInfo = &fake;
        SeenMessage seen;
        clickInNextModal("cmdSysInfo");
        answerMessageBox("OK", &seen);
        clickInNextModal("cmdOK");
        h.window().mnuHelpAbout->trigger();
        QCOMPARE(pendingModalAnswers(), 0);
        QVERIFY(fake.started.empty());
        QCOMPARE(seen.text + "|" + seen.title + "|" + seen.buttons.join(','),
                 QString("System Information Is Unavailable At This Time|Farsend 98|OK"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
    }

    void desktopLookupOrder_data() {
        QTest::addColumn<QStringList>("env");  // FARSEND_SYSINFO, XDG_CURRENT_DESKTOP, FARSEND_SYSINFO_DIR
        QTest::addColumn<QString>("found");    // first source (empty: none) | second source
        QTest::newRow("override") << QStringList{"/opt/x/info", "KDE", ""} << "/opt/x/info|/usr/bin";
        QTest::newRow("unknown desktop") << QStringList{"", "NoSuchDesktop", "/opt/tools"} << "|/opt/tools";
        QTest::newRow("nothing set") << QStringList{"", "", ""} << "|/usr/bin";
    }
    void desktopLookupOrder() {
        QFETCH(QStringList, env);
        QFETCH(QString, found);
        const char* names[] = {"FARSEND_SYSINFO", "XDG_CURRENT_DESKTOP", "FARSEND_SYSINFO_DIR"};
        for (int i = 0; i < 3; ++i) qputenv(names[i], env[i].toUtf8());
        DesktopSysInfo source;
        std::string path = "stale", dir;
        QCOMPARE(source.GetKeyValue(SysInfoKey::ToolPath, path), !found.startsWith('|'));
        QVERIFY(source.GetKeyValue(SysInfoKey::ToolFolder, dir));
        QCOMPARE(QString::fromStdString(path + "|" + dir), found);
        QVERIFY(!source.startProgram("/nonexistent/farsend-sysinfo"));  // a missing program is not started
        for (const char* name : names) qunsetenv(name);
    }
};

QTEST_MAIN(AboutTest)
#include "about_uitest.moc"
