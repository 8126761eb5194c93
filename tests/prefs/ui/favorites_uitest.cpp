// The Favorites menu and the Add To Favorites dialog on the real main window.
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cerrno>

#include "PrefsUi.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "prefs/ui/Form1.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// Answers the next Add To Favorites dialog: types name, picks position
// (0-based) and presses Add; records the position list when asked.
void addInNextDialog(const QString& name, int position, QStringList* positions = nullptr) {
    onNextModal([=](QWidget* w) {
        auto* dialog = qobject_cast<Form1*>(w);
        QVERIFY2(dialog != nullptr, "expected the Add To Favorites dialog");
        if (positions != nullptr) {
            positions->clear();
            for (int i = 0; i < dialog->cboPosition->count(); ++i) *positions << dialog->cboPosition->itemText(i);
        }
        QTest::keyClicks(dialog->txtName, name);
        dialog->cboPosition->setCurrentIndex(position);
        QTest::mouseClick(dialog->Command1[0], Qt::LeftButton);
    });
}

}  // namespace

class FavoritesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void menuShowsStoredNamesWithAccessKeys() {
        MainHarness h;
        h.preset("Favorites", "1", "Home");
        h.preset("Favorites", "2", "Empty");
        h.preset("Favorites", "3", "R&D");
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QCOMPARE(w.mnuFavArray[0]->text(), QString("Home"));
        QCOMPARE(w.mnuFavArray[1]->text(), QString("Empty"));
        QCOMPARE(w.mnuFavArray[2]->text(), QString("R&D"));
        QCOMPARE(QKeySequence::mnemonic(w.mnuFavArray[2]->text()), QKeySequence(Qt::ALT | Qt::Key_D));
        QCOMPARE(w.mnuFavArray[3]->text(), QString());  // never stored
    }

    void addingProjectsAtPositionTwo() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        const std::string work = h.tree.dir("Work");
        QVERIFY(w.dirFSDir->setPath(work).ok());

        QStringList before;
        addInNextDialog("Projects", 1, &before);
        QTest::mouseClick(w.Command2, Qt::LeftButton);  // the main window's Add To Favorites button
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(before, (QStringList{"1 - Empty", "2 - Empty", "3 - Empty", "4 - Empty", "5 - Empty"}));
        QCOMPARE(h.stored("Favorites", "2"), std::optional<std::string>("Projects"));
        QCOMPARE(h.stored("Favorites", "Path2"), std::optional<std::string>(work));
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("Empty"));
        // Every entry is refreshed, not only the new one.
        QCOMPARE(w.mnuFavArray[0]->text(), QString("Empty"));
        QCOMPARE(w.mnuFavArray[1]->text(), QString("Projects"));

        QStringList after;
        onNextModal([&after](QWidget* d) {
            auto* dialog = qobject_cast<Form1*>(d);
            QVERIFY(dialog != nullptr);
            for (int i = 0; i < dialog->cboPosition->count(); ++i) after << dialog->cboPosition->itemText(i);
            QCOMPARE(dialog->cboPosition->currentIndex(), 0);
            QTest::mouseClick(dialog->Command1[1], Qt::LeftButton);
        });
        w.showAddToFavorites();
        QCOMPARE(after.value(1), QString("2 - Projects"));

        // Choosing it goes there from elsewhere.
        QVERIFY(w.dirFSDir->setPath(h.tree.root()).ok());
        w.mnuFavArray[1]->trigger();
        QCOMPARE(w.dirFSDir->Path(), work);
    }

    void ampersandNameIsKeptAsTyped() {
        MainHarness h;
        QVERIFY(startMain(h));
        addInNextDialog("Tom & Jerry", 0);
        h.window().showAddToFavorites();
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("Tom & Jerry"));
        QCOMPARE(h.window().mnuFavArray[0]->text(), QString("Tom & Jerry"));
        QStringList positions;
        onNextModal([&positions](QWidget* d) {
            auto* dialog = qobject_cast<Form1*>(d);
            QVERIFY(dialog != nullptr);
            positions << dialog->cboPosition->itemText(0);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        h.window().showAddToFavorites();
        QCOMPARE(positions, QStringList{"1 - Tom & Jerry"});
    }

    void sixteenthCharacterIsRefusedAndBlanksAreAName() {
        MainHarness h;
        QVERIFY(startMain(h));
        QString typed;
        onNextModal([&typed](QWidget* d) {
            auto* dialog = qobject_cast<Form1*>(d);
            QVERIFY(dialog != nullptr);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog->txtName));
            QTest::keyClicks(dialog->txtName, "abcdefghijklmnop");
            typed = dialog->txtName->text();
            dialog->txtName->clear();
            QTest::keyClicks(dialog->txtName, "   ");
            QTest::keyClick(dialog->txtName, Qt::Key_Return);  // Add is the default button
        });
        h.window().showAddToFavorites();
        QCOMPARE(typed, QString("abcdefghijklmno"));
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("   "));
    }

    void emptyNameIsRefusedWithAMessage() {
        MainHarness h;
        QVERIFY(startMain(h));
        SeenMessage seen;
        bool focusBack = false;
        bool stillOpen = false;
        onNextModal([](QWidget* d) {
            auto* dialog = qobject_cast<Form1*>(d);
            QVERIFY(dialog != nullptr);
            dialog->cboPosition->setCurrentIndex(3);
            // The click opens the message box; the next armed answer takes it.
            QTest::mouseClick(dialog->Command1[0], Qt::LeftButton);
        });
        answerMessageBox("OK", &seen);
        onNextModal([&](QWidget* d) {
            auto* dialog = qobject_cast<Form1*>(d);
            QVERIFY(dialog != nullptr);
            stillOpen = dialog->isVisible();
            focusBack = dialog->focusWidget() == dialog->txtName;
            QTest::mouseClick(dialog->Command1[1], Qt::LeftButton);
        });
        h.window().showAddToFavorites();
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(seen.text, QString("Name must contain at least one character"));
        QCOMPARE(seen.title, QString("Add To Favorites..."));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"OK"});
        QVERIFY(stillOpen);
        QVERIFY(focusBack);
        QCOMPARE(h.stored("Favorites", "4"), std::optional<std::string>("Empty"));
    }

    void cancelStoresNothing() {
        MainHarness h;
        h.preset("Favorites", "1", "Home");
        h.preset("Favorites", "Path1", "/home");
        QVERIFY(startMain(h));
        onNextModal([](QWidget* d) {
            auto* dialog = qobject_cast<Form1*>(d);
            QVERIFY(dialog != nullptr);
            QTest::keyClicks(dialog->txtName, "Other");
            QTest::mouseClick(dialog->Command1[1], Qt::LeftButton);
        });
        h.window().showAddToFavorites();
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("Home"));
        QCOMPARE(h.stored("Favorites", "Path1"), std::optional<std::string>("/home"));
        QCOMPARE(h.window().mnuFavArray[0]->text(), QString("Home"));
    }

    void dialogLayout() {
        MainHarness h;
        QVERIFY(startMain(h));
        Form1 dialog(h.window());
        QCOMPARE(dialog.windowTitle(), QString("Add To Favorites..."));
        QCOMPARE(dialog.size(), QSize(405, 87));
        QCOMPARE(dialog.Label1[0]->text(), QString("&Name"));
        QCOMPARE(dialog.Label1[0]->buddy(), static_cast<QWidget*>(dialog.txtName));
        QCOMPARE(dialog.Label1[1]->text(), QString("&Position"));
        QCOMPARE(dialog.Label1[1]->buddy(), static_cast<QWidget*>(dialog.cboPosition));
        QVERIFY(!dialog.cboPosition->isEditable());
        QCOMPARE(dialog.Command1[0]->text(), QString("&Add"));
        QVERIFY(dialog.Command1[0]->isDefault());
        QCOMPARE(dialog.Command1[1]->text(), QString("&Cancel"));
        QCOMPARE(dialog.txtName->geometry(), QRect(4, 24, 193, 21));
        QCOMPARE(dialog.parentWidget(), nullptr);
    }

    void choosingADeletedFavourite() {
        MainHarness h;
        useScratchVolumes(h);
        const std::string gone = h.tree.path("usb/gone");
        h.preset("Favorites", "1", "Old");
        h.preset("Favorites", "Path1", gone);
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QVERIFY(w.dirFSDir->setPath(h.tree.path("usb")).ok());
        SeenMessage seen;
        answerMessageBox("OK", &seen);
        w.mnuFavArray[0]->trigger();
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(seen.text, QString("This favorite path doesn't exist anymore.\r\nPlease update this favorite"));
        QCOMPARE(seen.title, QString("Farsend 98"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"OK"});
        // Then the default drive, the volume at "/".
        QCOMPARE(w.drvFSDrive->Drive(), std::string("/"));
        QCOMPARE(h.stored("Favorites", "Path1"), std::optional<std::string>(gone));
    }

    void choosingAFavouriteOnADriveNotReady() {
        MainHarness h;
        useScratchVolumes(h);
        const std::string there = h.tree.dir("usb/data");
        h.preset("Favorites", "1", "Home");  // no first-use reset of the slots
        h.preset("Favorites", "2", "Stick");
        h.preset("Favorites", "Path2", there);
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QVERIFY(w.dirFSDir->setPath(h.tree.path("usb")).ok());
        h.fs.failOn(Op::Stat, "usb/data", ENOMEDIUM);
        h.fs.failOn(Op::List, "usb/data", ENOMEDIUM);
        SeenMessage unexpected;
        answerMessageBox("OK", &unexpected);  // answers a message, should one come
        w.mnuFavArray[1]->trigger();
        settle();
        QCOMPARE(unexpected.text, QString());
        QCOMPARE(pendingModalAnswers(), 1);  // no message
        QCOMPARE(w.drvFSDrive->Drive(), std::string("/"));
    }
};

QTEST_MAIN(FavoritesTest)
#include "favorites_uitest.moc"
