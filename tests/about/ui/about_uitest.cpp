// The help entry and the About box on the real main window.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <map>

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
        auto it = values.find(key);
        KeyVal = it == values.end() ? std::string() : it->second;
        return it != values.end();
    }
    bool startProgram(const std::string& path) override {
        started.push_back(path);
        return true;
    }
    std::map<SysInfoKey, std::string> values;
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

    void helpThatCannotBeOpenedShowsNothing() {
        MainHarness h;
        h.openUrlResult = false;
        QVERIFY(h.start({h.tree.file("a.txt")}));
        h.window().mnuHelpFSHelp->trigger();
        QApplication::processEvents();
        QCOMPARE(h.openedUrls.size(), std::size_t(1));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void aboutBoxShowsTheProgramsProperties() {
        MainHarness h;
        QVERIFY(h.start({h.tree.file("a.txt")}));
        bool checked = false;
        QStringList cutCaptions;  // buttons too narrow for their caption
        onNextModal([&checked, &cutCaptions, &h](QWidget* w) {
            auto* about = qobject_cast<frmAbout*>(w);
            QVERIFY2(about != nullptr, "expected the About box");
            QCOMPARE(about->parentWidget(), static_cast<QWidget*>(&h.window()));
            QCOMPARE(about->windowTitle(), QString("About Farsend 98"));
            QCOMPARE(about->lblTitle->text(), QString("Farsend 98"));
            QCOMPARE(about->lblVersion->text(), QString("Version 3.1 (3/9/98)"));
            QCOMPARE(about->lblDescription->text(), QString("Farsend 98 Send To Utility"));
            QVERIFY(about->lblDisclaimer->text().contains("MIT License"));
            QVERIFY(!about->picIcon->pixmap().isNull());
            QCOMPARE(about->size(), QSize(382, 237));
            QCOMPARE(about->cmdSysInfo->text(), QString("&System Info..."));
            for (QPushButton* b : {about->cmdOK, about->cmdSysInfo})
                if (b->width() < b->sizeHint().width()) cutCaptions << b->text();
            QVERIFY(about->cmdOK->isDefault());
            checked = true;
            QTest::keyClick(about, Qt::Key_Escape);  // OK is also the cancel button
        });
        h.window().mnuHelpAbout->trigger();
        QVERIFY(checked);
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(cutCaptions, QStringList());
    }

    void sysInfoFromTheSecondSourceWithTheProgram() {
        MainHarness h;
        FakeSysInfo fake;
        h.tree.file(std::string("tools/") + kSysInfoProgramName, "#!/bin/sh\n");
        fake.values[SysInfoKey::ToolFolder] = h.tree.path("tools");
        QVERIFY(h.start({h.tree.file("a.txt")}));
        h.window().sysInfo = &fake;
        onNextModal([](QWidget* w) {
            auto* about = qobject_cast<frmAbout*>(w);
            QVERIFY(about != nullptr);
            QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
            QVERIFY(QApplication::activeModalWidget() == about);  // no message
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        });
        h.window().mnuHelpAbout->trigger();
        QCOMPARE(fake.started, std::vector<std::string>{h.tree.path("tools/") + kSysInfoProgramName});
    }

    void sysInfoFromTheSecondSourceWithoutTheProgram() {
        MainHarness h;
        FakeSysInfo fake;
        fake.values[SysInfoKey::ToolFolder] = h.tree.dir("tools");
        QVERIFY(h.start({h.tree.file("a.txt")}));
        h.window().sysInfo = &fake;
        SeenMessage seen;
        onNextModal([](QWidget* w) {
            auto* about = qobject_cast<frmAbout*>(w);
            QVERIFY(about != nullptr);
            QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
        });
        answerMessageBox("OK", &seen);
        clickInNextModal("cmdOK");
        h.window().mnuHelpAbout->trigger();
        QCOMPARE(pendingModalAnswers(), 0);
        QVERIFY(fake.started.empty());
        QCOMPARE(seen.text, QString("System Information Is Unavailable At This Time"));
        QCOMPARE(seen.title, QString("Farsend 98"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"OK"});
    }

    void desktopLookupOrder_data() {
        QTest::addColumn<QString>("sysinfo");  // FARSEND_SYSINFO
        QTest::addColumn<QString>("desktop");  // XDG_CURRENT_DESKTOP
        QTest::addColumn<QString>("folder");   // FARSEND_SYSINFO_DIR
        QTest::addColumn<QString>("path");     // first source, empty: none
        QTest::addColumn<QString>("expectedFolder");
        QTest::newRow("override") << "/opt/x/info"
                                  << "KDE"
                                  << ""
                                  << "/opt/x/info"
                                  << "/usr/bin";
        QTest::newRow("unknown desktop") << ""
                                         << "NoSuchDesktop"
                                         << "/opt/tools"
                                         << ""
                                         << "/opt/tools";
        QTest::newRow("nothing set") << ""
                                     << ""
                                     << ""
                                     << ""
                                     << "/usr/bin";
    }
    void desktopLookupOrder() {
        QFETCH(QString, sysinfo);
        QFETCH(QString, desktop);
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QFETCH(QString, expectedFolder);
        qputenv("FARSEND_SYSINFO", sysinfo.toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        qputenv("FARSEND_SYSINFO_DIR", folder.toUtf8());
        DesktopSysInfo source;
        std::string value = "stale";
        QCOMPARE(source.GetKeyValue(SysInfoKey::ToolPath, value), !path.isEmpty());
        QCOMPARE(QString::fromStdString(value), path);
        QVERIFY(source.GetKeyValue(SysInfoKey::ToolFolder, value));
        QCOMPARE(QString::fromStdString(value), expectedFolder);
        // A program that is not there is not started.
        QVERIFY(!source.startProgram("/nonexistent/farsend-sysinfo"));
        qunsetenv("FARSEND_SYSINFO");
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("FARSEND_SYSINFO_DIR");
    }
};

QTEST_MAIN(AboutTest)
#include "about_uitest.moc"
