// Start-up preferences and the settings store, on the real main window with a scratch store.
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "PrefsUi.h"
#include "prefs/ui/QtSettingsStore.h"

using namespace farsend;
using namespace farsend::test;

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void startUp_data() {
        QTest::addColumn<QStringList>("presets");
        QTest::addColumn<QString>("state");
        const QString copy = "mode=&Copy copy=1 move=0", fresh = kFreshState;
        QTest::newRow("empty store") << QStringList{} << fresh;
        QTest::newRow("&Move") << QStringList{"Options/DefaultMode=&Move"}
                               << QString(fresh).replace(copy, "mode=&Move copy=0 move=1").replace("-,-,-,-,-", "-,-,&Move,-,-");
        QTest::newRow("mode case") << QStringList{"Options/DefaultMode=&cOPY"}
                                   << QString(fresh).replace(copy, "mode=&cOPY copy=0 move=1").replace("-,-,-,-,-", "-,-,&cOPY,-,-");
        for (const char* tips : {"1", "0", "-1", "2", "lots please", "40000"}) {
            const short n = QString(tips).toShort();
            QTest::addRow("ToolTips %s", tips) << QStringList{QString("Options/ToolTips=") + tips}
                                               << QString(fresh)
                                                      .replace("off(0)", QString(n == 1 ? "on(%1)" : "off(%1)").arg(n))
                                                      .replace("-,-,-,-,-", QString("-,-,-,") + tips + ",-");
        }
        QTest::newRow("Favorite False") << QStringList{"Options/Favorite=False"}
                                        << QString(fresh).replace("menu=1", "menu=0");
        QTest::newRow("RootDir False without LDU")
            << QStringList{"Options/RootDir=False", "Options/DefRootDir=~/usb [STICK]"}
            << QString(fresh).replace("dir=/", "dir=~/usb").replace("-,-,-,-,-", "False,~/usb [STICK],-,-,-");
        QTest::newRow("slot 1 present") << QStringList{"Favorites/1=Home"}
                                        << QString(fresh)
                                               .replace("[,,,,]", "[Home,,,,]")
                                               .replace(QRegularExpression("slots=\\S*"),
                                                        "slots=Home:-|-:-|-:-|-:-|-:-");
        QTest::newRow("slot 1 stored empty")
            << QStringList{"Favorites/1=", "Favorites/4=Music", "Favorites/Path4=/srv/music"}
            << QString(fresh).replace("[,,,,]", "[,,,Music,]");
    }
    void startUp() {
        QFETCH(QStringList, presets);
        QFETCH(QString, state);
        MainHarness h;
        useScratchVolumes(h);
        presetAll(h, presets);
        QVERIFY(startMain(h));
        QCOMPARE(prefsState(h), state);
        if (state.contains("tips=on"))
            QCOMPARE(h.window().Command1[0]->toolTip(),
                     QString("Right click to change between Copy or Move.  Left click to Copy/Move."));
    }

    void corruptStoreLeavesTheDefaultsAndHeals() {
        MainHarness h;
        useScratchVolumes(h);
        QFile f(h.storeFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 512; ++i) f.putChar(static_cast<char>((i * 37 + 11) % 256));
        f.close();
        QVERIFY(startMain(h));
        QCOMPARE(prefsState(h), kFreshState);
        h.window().close();
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
        QVERIFY(startMain(h));  // silently: the failing slot writes are skipped
        SeenMessage seen, again;
        answerMessageBox("OK", &seen);
        h.window().saveSetting("Favorites", "1", "Docs");
        QCOMPARE(pendingModalAnswers(), 0);
        QVERIFY2(seen.text.contains(QString::fromUtf8(std::strerror(errnoValue))), qPrintable(seen.text));
        QVERIFY2(seen.text.contains(QString::fromStdString(h.store->location())), qPrintable(seen.text));
        QCOMPARE(seen.title + seen.buttons.join(','), QString("Farsend 98OK"));
        // Closing writes the last folder, fails again, and says nothing more.
        answerMessageBox("OK", &again);
        h.window().close();
        settle();
        QCOMPARE(again.text + QString::number(pendingModalAnswers()), QString("1"));
    }

    void storeKeepsTextsWhole() {
        TempTree tree;
        const std::string file = tree.file("cfg/VA30.ini", "[Options]\nLDU=/srv/a, b\n");
        QtSettingsStore store(QString::fromStdString(file));
        QCOMPARE(store.read("Options", "LDU"), std::optional<std::string>("/srv/a, b"));  // hand-edited
        for (const char* text : {"&Move", "", "a, b @c"}) {
            QVERIFY(store.write("Favorites", "1", text).ok());
            QCOMPARE(QSettings(QString::fromStdString(file), QSettings::IniFormat).value("Favorites/1").toString(),
                     QString(text));
        }
    }

    void twoCopiesShareOneStore() {
        TempTree tree;
        tree.dir("cfg");
        // Reached through another path, the second copy keeps its own view of the file, as a second process would.
        std::filesystem::create_directory_symlink(tree.path("cfg"), tree.path("alias"));
        QtSettingsStore first(QString::fromStdString(tree.path("cfg/VA30.ini")));
        QtSettingsStore second(QString::fromStdString(tree.path("alias/VA30.ini")));
        QVERIFY(first.write("Favorites", "1", "Home").ok());
        QVERIFY(second.write("Options", "LDU", "/from/second").ok());
        QVERIFY(first.write("Options", "LDU", "/from/first").ok());  // closes last
        QVERIFY(second.write("Favorites", "2", "Work").ok());
        QSettings check(QString::fromStdString(tree.path("cfg/VA30.ini")), QSettings::IniFormat);
        QCOMPARE(check.status(), QSettings::NoError);
        QCOMPARE(QStringList({check.value("Options/LDU").toString(), check.value("Favorites/1").toString(),
                              check.value("Favorites/2").toString()}),
                 QStringList({"/from/first", "Home", "Work"}));
        QCOMPARE(second.read("Options", "LDU"), std::optional<std::string>("/from/first"));
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_uitest.moc"
