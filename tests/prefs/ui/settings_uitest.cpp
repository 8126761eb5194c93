// Start-up preferences on the real main window, with a scratch store.
#include <QAction>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolTip>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "PrefsUi.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "prefs/LoadSettings.h"
#include "prefs/ui/QtSettingsStore.h"
#include "progress/ui/PictureBox.h"

using namespace farsend;
using namespace farsend::test;

namespace {

QList<QWidget*> tipControls(frmFSMain& w) {
    return {w.lblFileName, w.cmdFileUp, w.cmdFileDn, w.drvFSDrive,  w.dirFSDir,
            w.picProgress, w.Command2,  w.Command3,  w.Command1[0], w.Command1[1]};
}

// The tip a user sees when resting the mouse at pos in target (empty: none).
QString tipShownAt(QWidget* target, const QPoint& pos) {
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &help);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void emptyStoreStartsWithEveryDefault() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QVERIFY(w.mnuFavorites->menuAction()->isVisible());
        QCOMPARE(w.dirFSDir->Path(), std::string("/"));
        QCOMPARE(w.Command1[0]->text(), QString("&Copy"));
        QVERIFY(w.mnuActionCopy->isChecked());
        QVERIFY(!w.mnuActionMove->isChecked());
        for (QWidget* c : tipControls(w)) QCOMPARE(c->toolTip(), QString());
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(h.stored("Favorites", std::to_string(n)), std::optional<std::string>("Empty"));
            QCOMPARE(h.stored("Favorites", "Path" + std::to_string(n)), std::optional<std::string>(""));
        }
        // The menu was filled before the slots were: it shows them empty
        // until the next refresh.
        for (QAction* a : w.mnuFavArray) QCOMPARE(a->text(), QString());
        QCOMPARE(w.settings.ToolTips, std::int16_t(0));
        // Nothing in "Options" is written by starting.
        QCOMPARE(h.stored("Options", "RootDir"), std::nullopt);
        QCOMPARE(h.stored("Options", "ToolTips"), std::nullopt);
    }

    void defaultMode_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("copy");
        QTest::newRow("&Move") << "&Move" << false;
        QTest::newRow("&Copy") << "&Copy" << true;
        QTest::newRow("other case") << "&cOPY" << false;
    }
    void defaultMode() {
        QFETCH(QString, stored);
        QFETCH(bool, copy);
        MainHarness h;
        h.preset("Options", "DefaultMode", stored.toStdString());
        QVERIFY(startMain(h));
        QCOMPARE(h.window().Command1[0]->text(), stored);
        QCOMPARE(h.window().mnuActionCopy->isChecked(), copy);
        QCOMPARE(h.window().mnuActionMove->isChecked(), !copy);
    }

    void toolTips_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-1") << "-1" << false;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("garbage") << "lots please" << false;
    }
    void toolTips() {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        MainHarness h;
        h.preset("Options", "ToolTips", stored.toStdString());
        QVERIFY(startMain(h));
        const QList<QWidget*> controls = tipControls(h.window());
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(controls[i]->toolTip(), on ? QString(kToolTipTexts[static_cast<std::size_t>(i)]) : QString());
        // Resting on a folder of the list shows the list's own tip, or none.
        DirListBox* list = h.window().dirFSDir;
        QVERIFY(list->count() > 0);
        QCOMPARE(tipShownAt(list->viewport(), list->visualItemRect(list->item(0)).center()),
                 on ? QString(kToolTipTexts[4]) : QString());
        if (on) {
            QCOMPARE(h.window().Command1[0]->toolTip(),
                     QString("Right click to change between Copy or Move.  Left click to Copy/Move."));
        }
    }

    void favoritesMenuHiddenByFalse() {
        MainHarness h;
        h.preset("Options", "Favorite", "False");
        QVERIFY(startMain(h));
        QVERIFY(!h.window().mnuFavorites->menuAction()->isVisible());
    }

    void rootDirFalseWithoutLduGoesToTheBareDrive() {
        MainHarness h;
        useScratchVolumes(h);
        const std::string usb = h.tree.path("usb");
        h.tree.dir("usb/inner");
        h.preset("Options", "RootDir", "False");
        h.preset("Options", "DefRootDir", usb + " [STICK]");
        QVERIFY(startMain(h));
        QCOMPARE(h.window().settings.LDU, usb + " [STICK]");
        // A bare drive designation lands on that drive's current folder: at
        // first its root.
        QCOMPARE(h.window().dirFSDir->Path(), usb);
    }

    void rootDirFalseWithLduGoesThere() {
        MainHarness h;
        const std::string last = h.tree.dir("last used");
        h.preset("Options", "RootDir", "False");
        h.preset("Options", "LDU", last);
        QVERIFY(startMain(h));
        QCOMPARE(h.window().dirFSDir->Path(), last);
    }

    void labelledDefaultDriveStartsAtItsRoot() {
        MainHarness h;
        useScratchVolumes(h);
        h.tree.dir("usb/inner");
        h.preset("Options", "DefRootDir", h.tree.path("usb") + " [OLD LABEL]");
        QVERIFY(startMain(h));
        const std::string path = h.window().dirFSDir->Path();
        QVERIFY2(path == h.tree.path("usb") || path == h.tree.path("usb/"), path.c_str());
    }

    void slotOnePresentMeansNoInitialisation() {
        MainHarness h;
        h.preset("Favorites", "1", "Home");
        QVERIFY(startMain(h));
        QCOMPARE(h.stored("Favorites", "2"), std::nullopt);
        QCOMPARE(h.stored("Favorites", "Path1"), std::nullopt);
    }

    void slotOneStoredEmptyResetsAllSlots() {
        MainHarness h;
        h.preset("Favorites", "1", "");
        h.preset("Favorites", "4", "Music");
        h.preset("Favorites", "Path4", "/srv/music");
        QVERIFY(startMain(h));
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("Empty"));
        QCOMPARE(h.stored("Favorites", "4"), std::optional<std::string>("Empty"));
        QCOMPARE(h.stored("Favorites", "Path4"), std::optional<std::string>(""));
    }

    void lastFolderIsReadBackAtTheNextStart() {
        MainHarness h;
        const std::string work = h.tree.dir("work");
        h.preset("Options", "RootDir", "False");
        QVERIFY(startMain(h));
        QVERIFY(h.window().dirFSDir->setPath(work).ok());
        h.window().close();
        QCOMPARE(h.stored("Options", "LDU"), std::optional<std::string>(work));
        QVERIFY(startMain(h));
        QCOMPARE(h.window().dirFSDir->Path(), work);
    }

    // ---- a store that cannot be read or written ----

    void corruptStoreLeavesTheDefaults() {
        MainHarness h;
        {
            QFile f(h.storeFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            QByteArray junk;
            for (int i = 0; i < 512; ++i) junk.append(static_cast<char>((i * 37 + 11) % 256));
            f.write(junk);
        }
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QCOMPARE(w.Command1[0]->text(), QString("&Copy"));
        QCOMPARE(w.dirFSDir->Path(), std::string("/"));
        QVERIFY(w.mnuFavorites->menuAction()->isVisible());
        // The store heals by being written: the slots and the last folder land.
        w.close();
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("Empty"));
        QCOMPARE(h.stored("Options", "LDU"), std::optional<std::string>("/"));
        QCOMPARE(pendingModalAnswers(), 0);
    }

    void unwritableStore_data() {
        QTest::addColumn<bool>("folderInPlaceOfFile");
        QTest::addColumn<int>("errnoValue");
        QTest::newRow("folder where the file should be") << true << EISDIR;
        QTest::newRow("file where the folder should be") << false << ENOTDIR;
    }
    void unwritableStore() {
        QFETCH(bool, folderInPlaceOfFile);
        QFETCH(int, errnoValue);
        MainHarness h;
        if (folderInPlaceOfFile) {
            h.tree.dir("config/VA30.ini");
        } else {
            h.tree.file("plain", "not a folder");
            h.store =
                std::make_unique<QtSettingsStore>(QString::fromStdString(h.tree.path("plain/Farsend98/VA30.ini")));
        }
        // Starting shows nothing: the failing slot writes are skipped.
        QVERIFY(startMain(h));
        QCOMPARE(h.window().Command1[0]->text(), QString("&Copy"));

        // The first failing write outside the start is reported, once.
        SeenMessage seen;
        answerMessageBox("OK", &seen);
        h.window().saveSetting("Favorites", "1", "Docs");
        QCOMPARE(pendingModalAnswers(), 0);
        QVERIFY2(seen.text.contains(QString::fromUtf8(std::strerror(errnoValue))), qPrintable(seen.text));
        QVERIFY2(seen.text.contains(QString::fromStdString(h.store->location())), qPrintable(seen.text));
        QCOMPARE(seen.title, QString("Farsend 98"));
        QCOMPARE(seen.buttons, QStringList{"OK"});

        // Closing writes the last folder, fails again, and says nothing more.
        SeenMessage again;
        answerMessageBox("OK", &again);  // answers a second message, should one come
        h.window().close();
        settle();
        QCOMPARE(again.text, QString());
        QCOMPARE(pendingModalAnswers(), 1);
    }

    // ---- the store itself ----

    void storeReportsFailedWritesAndRecovers() {
        TempTree tree;
        const std::string file = tree.path("cfg/VA30.ini");
        tree.dir("cfg/VA30.ini");
        QtSettingsStore store(QString::fromStdString(file));
        Status s = store.write("Options", "LDU", "/a");
        QVERIFY(!s.ok());
        QCOMPARE(s.error().number, EISDIR);
        QCOMPARE(store.read("Options", "Missing"), std::nullopt);
        // Once the obstacle is gone, writes succeed again and are reported so.
        std::filesystem::remove(file);
        QVERIFY(store.write("Options", "LDU", "/b").ok());
        QCOMPARE(QSettings(QString::fromStdString(file), QSettings::IniFormat).value("Options/LDU").toString(),
                 QString("/b"));
    }

    void storeUnderAFileReportsNotADirectory() {
        TempTree tree;
        tree.file("home", "x");
        QtSettingsStore store(QString::fromStdString(tree.path("home/.config/Farsend98/VA30.ini")));
        const Status s = store.write("Options", "LDU", "/a");
        QVERIFY(!s.ok());
        QCOMPARE(s.error().number, ENOTDIR);
        QCOMPARE(s.error().description, std::string(std::strerror(ENOTDIR)));
    }

    void storeCreatesItsFolderAndKeepsTexts() {
        TempTree tree;
        QtSettingsStore store(QString::fromStdString(tree.path("new/deeper/VA30.ini")));
        QVERIFY(store.write("Options", "DefaultMode", "&Move").ok());
        QVERIFY(store.write("Favorites", "Path1", "").ok());
        QVERIFY(store.write("Favorites", "1", "a, b @c").ok());
        QVERIFY(store.write("Options", "LDU", "/x/y,z").ok());
        QCOMPARE(store.read("Options", "DefaultMode"), std::optional<std::string>("&Move"));
        QCOMPARE(store.read("Favorites", "Path1"), std::optional<std::string>(""));
        QCOMPARE(store.read("Favorites", "1"), std::optional<std::string>("a, b @c"));
        QCOMPARE(store.read("Options", "LDU"), std::optional<std::string>("/x/y,z"));
        QCOMPARE(store.read("Favorites", "Path2"), std::nullopt);
    }

    void handEditedListValueReadsAsOneText() {
        TempTree tree;
        const std::string file = tree.file("VA30.ini", "[Options]\nLDU=/srv/a, b\n");
        QtSettingsStore store(QString::fromStdString(file));
        QCOMPARE(store.read("Options", "LDU"), std::optional<std::string>("/srv/a, b"));
    }

    void twoCopiesShareOneStore() {
        TempTree tree;
        tree.dir("cfg");
        // The second copy reaches the file through another path, so it keeps
        // its own view of it, as a second process would.
        std::filesystem::create_directory_symlink(tree.path("cfg"), tree.path("alias"));
        QtSettingsStore first(QString::fromStdString(tree.path("cfg/VA30.ini")));
        QtSettingsStore second(QString::fromStdString(tree.path("alias/VA30.ini")));
        QVERIFY(first.write("Favorites", "1", "Home").ok());
        QVERIFY(second.write("Options", "LDU", "/from/second").ok());
        QVERIFY(first.write("Options", "LDU", "/from/first").ok());  // closes last
        QVERIFY(second.write("Favorites", "2", "Work").ok());

        QSettings check(QString::fromStdString(tree.path("cfg/VA30.ini")), QSettings::IniFormat);
        QCOMPARE(check.status(), QSettings::NoError);
        QCOMPARE(check.value("Options/LDU").toString(), QString("/from/first"));
        QCOMPARE(check.value("Favorites/1").toString(), QString("Home"));
        QCOMPARE(check.value("Favorites/2").toString(), QString("Work"));
        QCOMPARE(second.read("Options", "LDU"), std::optional<std::string>("/from/first"));
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_uitest.moc"
