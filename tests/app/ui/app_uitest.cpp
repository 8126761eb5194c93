// The main window (start-up, selection display, destination chooser, menus,
// keys, closing) and the dialogs it opens: Create New Directory and About.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <filesystem>

#include "about/SysInfo.h"
#include "app/Chooser.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/FileListBox.h"
#include "prefs/LoadSettings.h"
#include "support/ui/MainHarness.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// The selection display, and the name the hidden file list selects (none for a folder).
QString shown(frmFSMain& w) {
    return child<QLabel>(w, "lblFileName")->text().replace("\r\n", " ") + "|" +
           QString::fromStdString(child<FileListBox>(w, "fileFSFile")->FileName());
}

DirListBox* folders(frmFSMain& w) { return child<DirListBox>(w, "dirFSDir"); }
DriveListBox* drives(frmFSMain& w) { return child<DriveListBox>(w, "drvFSDrive"); }

// A shortcut of the window, pressed once the window has the keyboard (back).
void shortcut(frmFSMain& w, Qt::Key key) {
    w.activateWindow();
    (void)QTest::qWaitForWindowActive(&w);
    QTest::keyClick(&w, key, Qt::ControlModifier);
}

const char* const kNaughty = "message Easter Egg!: Naughty Naughty!!";

}  // namespace

class AppUiTest : public QObject {
    Q_OBJECT
private slots:
    // The display, the scroll buttons and the focus; a failed start-up says
    // why only for a missing item, and unloads the window all the same.
    void startUp() {
        const QString cannotFind =
            "message Farsend 98: Cannot find the specified source file.\r\nFarsend 98 is "
            "meant to be run from the SendTo menu.\r\nThe program will abort. LDU=/";
        const std::tuple<int, bool, QString> cases[] = {{1, false, "Copy /a.txt To:|a.txt Command2"},
                                                        {2, false, "Copy /a.txt To:|a.txt cmdFileDn scroll"},
                                                        {2, true, cannotFind},
                                                        {22, false, " LDU=/"}};  // silently
        for (const auto& [count, missing, expected] : cases) {
            MainHarness h;
            std::vector<std::string> items(std::size_t(count), h.tree.file("a.txt"));
            if (missing) items.back() = h.tree.path("gone");
            frmFSMain& w = (h.start(items), h.window());
            const bool several = child(w, "cmdFileUp")->isVisible() && child(w, "cmdFileDn")->isVisible();
            QCOMPARE(w.isVisible() && QTest::qWaitForWindowActive(&w)
                         ? shown(w) + " " + QApplication::focusWidget()->objectName() + (several ? " scroll" : "") +
                               child<QAction>(w, "mnuFavArray_4")->text()  // filled before first use stored "Empty"
                         : lines(h.prompts.log).join("") + " LDU=" + h.stored("Options", "LDU").value_or("-").c_str(),
                     expected);
        }
    }

    // The stored settings applied, the display scrolled, the menus, the
    // keyboard order, and each dialog the window opens, wired to the window.
    void walkThroughTheWindow() {
        struct Source final : ISysInfoSource {
            std::string started;
            bool GetKeyValue(SysInfoKey, std::string& value) override { return value = "/opt/info", true; }
            bool startProgram(const std::string& path) override { return started = path, true; }
        } source;
        MainHarness h;
        h.sysInfo = &source;
        h.store.values = {{{"Options", "DefaultMode"}, "&Move"},
                          {{"Options", "ToolTips"}, "1"},
                          {{"Favorites", "1"}, "Gone"},
                          {{"Favorites", "Path1"}, "/gone"}};
        QVERIFY(h.start({h.tree.file("b.txt"), h.tree.dir("Letters")}));
        frmFSMain& w = h.window();
        const char* tipped[] = {"lblFileName", "cmdFileUp", "cmdFileDn", "drvFSDrive", "dirFSDir",
                                "picProgress", "Command2",  "Command3",  "Command1_0", "Command1_1"};
        for (std::size_t i = 0; i < kToolTipTexts.size(); ++i)
            QCOMPARE(child(w, tipped[i])->toolTip(), QString(kToolTipTexts[i]));
        QStringList seen;  // the display as scrolled; then the menus ("-" a separator) and the keyboard order
        for (const char* name : {"cmdFileUp", "cmdFileDn", "cmdFileDn"}) click(child(w, name)), seen << shown(w);
        shortcut(w, Qt::Key_C);  // the next scroll shows the mode as it is now
        QTest::keyClick(child(w, "cmdFileUp"), Qt::Key_Space);
        seen << shown(w);
        for (QAction* m : w.menuBar()->actions()) {
            seen << m->text();
            for (QAction* a : m->menu()->actions())
                seen << (a->isSeparator() ? "-" : a->text() + a->shortcut().toString());
        }
        QVERIFY(!child<QMenu>(w, "mnuHelp")->separatorsCollapsible());
        child(w, "cmdFileDn")->setFocus();
        for (int i = 0; i < 8; ++i) press(Qt::Key_Tab), seen << QApplication::focusWidget()->objectName();
        QCOMPARE(seen.join(' ').remove(QString::fromStdString(h.tree.root())),
                 "Move /b.txt To:|b.txt Move /Letters/ To:| Move /Letters/ To:| Copy /b.txt To:|b.txt &Action "
                 "&CopyCtrl+C &MoveCtrl+M - Create &DirectoryCtrl+D - E&xitCtrl+X &Favorites Gone     &Help "
                 "Farsend 98 &Help &Options - - &About Command2 drvFSDrive dirFSDir Command1_1 Command1_0 cmdFileUp "
                 "Command3 cmdFileDn");

        QVERIFY(folders(w)->setPath(h.tree.dir("Work")).ok());
        onNextModal([](QWidget* d) {  // Add To Favorites stores the destination; the menu shows it at once
            child<QComboBox>(*d, "cboPosition")->setCurrentIndex(1);
            QTest::keyClicks(child(*d, "txtName"), "Work\r");
        });
        click(child(w, "Command2"));
        QVERIFY(folders(w)->setPath(h.tree.root()).ok());
        child<QAction>(w, "mnuFavArray_1")->trigger();  // to the favourite's folder
        seen = QStringList{child<QAction>(w, "mnuFavArray_1")->text(), QString::fromStdString(folders(w)->Path())};
        child<QAction>(w, "mnuFavArray_0")->trigger();  // gone: a message, then the default drive
        // Create New Directory: a refused name stays, to be mended; Esc makes none.
        onNextModal([&seen](QWidget* d) {
            seen << child<QLabel>(*d, "lblUpperPath")->text() + " " + d->windowTitle();
            QVERIFY(QTest::qWaitForWindowActive(d));
            QTest::keyClicks(QApplication::focusWidget(), "..");
            click(child(*d, "cmdOK"));
            QTest::keyClicks(QApplication::focusWidget(), "porn\r");  // the destination moves into the new folder
        });
        click(child(w, "Command3"));
        onNextModal([](QWidget* d) { QTest::keyClicks(child(*d, "txtNewName"), "x\x1b"); });
        shortcut(w, Qt::Key_D);
        shortcut(w, Qt::Key_C);
        onNextModal([](QWidget* d) { d->close(); });  // Options: its close command changes nothing
        child<QAction>(w, "mnuHelpOptions")->trigger();
        seen << child<QPushButton>(w, "Command1_0")->text() + QString::fromStdString(folders(w)->Path());
        onNextModal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });  // Esc: the settings loaded again
        child<QAction>(w, "mnuHelpOptions")->trigger();
        seen << child<QPushButton>(w, "Command1_0")->text() + QString::fromStdString(folders(w)->Path());
        onNextModal([&seen](QWidget* d) {  // About: owned by the window, System Info asks the services' source
            seen << d->parentWidget()->objectName() + " " + d->windowTitle();
            for (const char* name : {"lblTitle", "lblVersion", "lblDescription"})
                seen << child<QLabel>(*d, name)->text();
            seen << QString::number(child<QLabel>(*d, "lblDisclaimer")->text().contains("MIT License")) +
                        QString::number(child<QLabel>(*d, "picIcon")->pixmap().isNull());
            child<QPushButton>(*d, "cmdSysInfo")->click();
            QTest::keyClick(d, Qt::Key_Return);  // OK is the Enter button
        });
        child<QAction>(w, "mnuHelpAbout")->trigger();
        child<QAction>(w, "mnuHelpFSHelp")->trigger();
        const QFileInfo page(QUrl(QString::fromStdString(h.openedUrls.at(0))).toLocalFile());
        seen << QString::fromStdString(source.started) + " " + page.dir().dirName() + page.fileName()
             << lines(h.prompts.log);
        shortcut(w, Qt::Key_X);  // Exit stores the destination
        seen << QString::fromStdString(h.stored("Options", "LDU").value_or("-")) << QString::number(w.isVisible());
        QCOMPARE(seen.join('|').remove(QString::fromStdString(h.tree.root())),
                 "Work|/Work|/Work/ Create New Directory|&Copy/Work/..porn|&Move/|frmFSMain About Farsend 98|"
                 "Farsend 98|Version 3.1 (3/9/98)|Farsend 98 Send To Utility|10|/opt/info FSHelpindex.html|"
                 "message Farsend 98: This favorite path doesn't exist anymore.\r\nPlease update this favorite|"
                 "message Farsend 98: " +
                     QString(kFolderNameRefusal) + "|" + kNaughty + "|/|0");
    }

    // Each list follows the other once, no ping-pong; each drive keeps its
    // own folder, a removed one gives way to the drive's root; the word check
    // runs on every folder entered; an unreadable drive ends the program at
    // once, without storing the folder, and any other failure is ignored.
    void chooser() {
        MainHarness h;
        const std::string a = h.tree.dir("A"), b = h.tree.dir("B"), x = h.tree.dir("A/x"), sub = h.tree.dir("B/sub");
        h.tree.dir("A/porn");
        h.volumes.list = {{a, ""}, {b, "USB"}};
        QVERIFY(h.start({h.tree.file("item.txt")}));
        frmFSMain& w = h.window();
        QStringList seen;
        const auto where = [&] { seen << QString::fromStdString(drives(w)->Drive() + ":" + folders(w)->Path()); };
        const auto pick = [&](Qt::Key key) { drives(w)->setFocus(), press(key); };  // as a user would
        QVERIFY(folders(w)->setPath(x).ok());
        QSignalSpy folderMoves(folders(w), &DirListBox::changed), driveMoves(drives(w), &DriveListBox::changed);
        QVERIFY(folders(w)->setPath(sub).ok());
        where(), seen << QString("%1 %2").arg(folderMoves.count()).arg(driveMoves.count());
        pick(Qt::Key_Up), where();
        QVERIFY(std::filesystem::remove(sub));
        pick(Qt::Key_Down), where(), pick(Qt::Key_Up);
        QVERIFY(folders(w)->setPath(a).ok());
        const QPoint at = folders(w)->visualItemRect(folders(w)->item(folders(w)->rowOf(a + "/porn"))).center();
        QTest::mouseClick(folders(w)->viewport(), Qt::LeftButton, {}, at);  // a click, then a double click's second
        QTest::mouseDClick(folders(w)->viewport(), Qt::LeftButton, {}, at);
        where();
        QVERIFY(folders(w)->setPath(h.tree.dir("A/sex/porn")).ok() &&
                folders(w)->setPath(h.tree.dir("A/PORN/Sex")).ok());
        for (const int fault : {ENOTDIR, ENOMEDIUM}) {
            h.fs.clearFaults();
            h.fs.failOn(Op::List, b, fault);
            pick(Qt::Key_Up), pick(Qt::Key_Down), where();
        }
        w.close();
        seen << lines(h.prompts.log) << QString::number(h.endedWith.value_or(0))
             << (h.stored("Options", "LDU") ? "LDU" : "");
        QCOMPARE(
            seen.join('|').remove(QString::fromStdString(h.tree.root())),
            QString("/B [USB]:/B/sub|1 1|/A:/A/x|/B [USB]:/B|/A:/A/porn|/B [USB]:/A/PORN/Sex|/B [USB]:/A/PORN/Sex|") +
                kNaughty + "|" + kNaughty + "|" + kNaughty +
                "|message Farsend 98: Unable to access this drive. Program will Quit|1|");
    }
};

QTEST_MAIN(AppUiTest)
#include "app_uitest.moc"
