// The Add To Favorites and Options dialogs, and the settings store in its
// INI file.
#include <QComboBox>
#include <QSettings>

#include "prefs/ui/Form1.h"
#include "prefs/ui/QtSettingsStore.h"
#include "prefs/ui/frmOptions.h"
#include "support/ui/MainHarness.h"

using namespace farsend;
using namespace farsend::test;

class PrefsUiTest : public QObject {
    Q_OBJECT
private slots:
    // The position list and the keys; a refused name keeps it open with the
    // focus on the name; Add (or Enter) stores at most 15 characters.
    void addToFavorites() {
        MainHarness h;
        SettingsSaver saver(h.store, h.prompts);
        h.store.values[{"Favorites", "2"}] = "Projects";
        int added = 0;
        Form1 d(saver, h.prompts, "/srv/w", [&added] { ++added; }), cancelled(saver, h.prompts, "/", [] {});
        QStringList seen{d.windowTitle()};
        for (int i = 0; i < 5; ++i) seen << child<QComboBox>(d, "cboPosition")->itemText(i);
        for (Form1* dialog : {&d, &cancelled}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            click(child(*dialog, "Command1_0"));
            seen << QApplication::focusWidget()->objectName() + QString::number(dialog->isVisible());
            QTest::keyClicks(QApplication::focusWidget(), "Tom & Jerry 12345");
            press(Qt::Key_P, Qt::AltModifier), press(Qt::Key_Down), press(Qt::Key_Down);
            press(dialog == &d ? Qt::Key_Return : Qt::Key_Escape);
            seen << QString::number(dialog->isVisible()) + QString::number(dialog->result()) + QString::number(added);
        }
        QCOMPARE(seen.join('|') + "|" + lines(h.store.writes).join('|') + "|" + lines(h.prompts.log).join('|'),
                 "Add To Favorites...|1 - Empty|2 - Projects|3 - Empty|4 - Empty|5 - Empty|txtName1|011|txtName1|001|"
                 "Favorites/3=Tom & Jerry 123|Favorites/Path3=/srv/w|message Add To Favorites...: Name must contain "
                 "at least one character|message Add To Favorites...: Name must contain at least one character");
    }

    // The starting state from the in-memory settings, shown by what OK (or
    // Enter) stores once every option is turned and the drive list moved one
    // down: the four keys in order, never LDU; the two groups of options are
    // independent. Esc (Cancel) stores nothing.
    void options_data() {
        // RootDir|DefRootDir|DefaultMode|ToolTips|the way out|closed by a button, then what is stored
        QTest::addColumn<QString>("row");
        QTest::newRow("OK, drive gone")
            << "1|/gone [OLD]|&copy|-1|ok|1 RootDir=False DefRootDir=/usb [USB] DefaultMode=&Copy ToolTips=0";
        QTest::newRow("Enter, drive relabelled")
            << "0|/usb [OLD]|&Copy|0|enter|1 RootDir=True DefRootDir=/cd [CD] DefaultMode=&Move ToolTips=1";
        QTest::newRow("Esc") << "1|/|&Copy|0|esc|1";
    }
    void options() {
        QFETCH(QString, row);
        const QStringList f = row.split('|');
        const InMemorySettings current{true,    f[0] == "1",   f[1].toStdString(), f[2].toStdString(),
                                       "/last", f[3].toShort()};
        MainHarness h;
        h.volumes.list = {{"/", ""}, {"/usb", "USB"}, {"/cd", "CD"}};
        SettingsSaver saver(h.store, h.prompts);
        frmOptions d(current, h.volumes, saver);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        for (const char* name :
             {f[0] == "1" ? "optLDU" : "optRootDir", f[2] == "&Copy" ? "optMove" : "optCopy", "chkTips"})
            click(child(d, name));
        child(d, "drvDefaultDrive")->setFocus();
        press(Qt::Key_Down);
        f[4] == "ok" ? click(child(d, "Command1_0")) : press(f[4] == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        QStringList seen{QString::number(d.closedByButton() && !d.isVisible())};
        for (const std::string& w : h.store.writes) seen << QString::fromStdString(w).remove("Options/");
        QCOMPARE(seen.join(' '), f[5]);
    }

    // Hand-edited texts with commas stay whole, every text is written as it
    // is, and a garbled file reads as empty until a write heals it; why a
    // write failed is found from the disk. Reached through another path, a
    // second store keeps its own view of the file, as a second process
    // would; the one that writes last wins.
    void store() {
        TempTree tree;
        const std::string file = tree.file("cfg/VA30.ini", "[Options]\nLDU=/a, b\n");
        QtSettingsStore store(QString::fromStdString(file));
        QStringList seen{QString::fromStdString(store.read("Options", "LDU").value_or("-"))};
        for (const char* text : {"&Move", "", "a, b @c"})  // what the file holds once each is written
            seen << (store.write("Favorites", "1", text).ok()
                         ? QSettings(QString::fromStdString(file), QSettings::IniFormat).value("Favorites/1").toString()
                         : "refused");
        std::string garbled;
        for (int i = 0; i < 512; ++i) garbled += static_cast<char>((i * 37 + 11) % 256);
        QtSettingsStore healed(QString::fromStdString(tree.file("bad/VA30.ini", garbled)));
        seen << QString::fromStdString(healed.read("Options", "LDU").value_or("-"));
        QVERIFY(healed.write("Options", "LDU", "/").ok());
        seen << QString::fromStdString(healed.read("Options", "LDU").value_or("-"));
        for (const std::string& where : {tree.dir("dir/VA30.ini"), tree.file("plain", "x") + "/Farsend98/VA30.ini"}) {
            const Status written = QtSettingsStore(QString::fromStdString(where)).write("Options", "LDU", "/");
            seen << QString::number(written.ok() ? 0 : written.error().number);
        }
        // Qt notices another writer by the file's time (to the millisecond)
        // and length, so the two copies write values of different lengths.
        std::filesystem::create_directory_symlink(tree.path("cfg"), tree.path("alias"));
        QtSettingsStore second(QString::fromStdString(tree.path("alias/VA30.ini")));
        QVERIFY(store.write("Favorites", "1", "H").ok() && second.write("Options", "LDU", "/22").ok());
        QVERIFY(store.write("Options", "LDU", "/1").ok() && second.write("Favorites", "2", "W").ok());
        seen << lines({*store.read("Options", "LDU"), *store.read("Favorites", "1"), *store.read("Favorites", "2"),
                       *second.read("Options", "LDU")});
        QCOMPARE(seen.join('|'), QString::asprintf("/a, b|&Move||a, b @c|-|/|%d|%d|/1|H|W|/1", EISDIR, ENOTDIR));
    }
};

QTEST_MAIN(PrefsUiTest)
#include "prefs_uitest.moc"
