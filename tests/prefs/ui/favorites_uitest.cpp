// The Favorites menu and the Add To Favorites dialog on the real main window.
#include <QComboBox>
#include <QLineEdit>

#include "PrefsUi.h"
#include "app/ui/DriveListBox.h"
#include "prefs/ui/Form1.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// Answers the next Add To Favorites dialog: records its position list, types
// name and presses Add at position (0-based), or Cancel when position < 0.
void addInNextDialog(const QString& name, int position, QStringList* positions = nullptr) {
    onNextModal([=](QWidget* w) {
        auto* d = qobject_cast<Form1*>(w);
        QVERIFY2(d != nullptr, "expected the Add To Favorites dialog");
        QCOMPARE(d->cboPosition->currentIndex(), 0);
        for (int i = 0; positions != nullptr && i < d->cboPosition->count(); ++i)
            *positions << d->cboPosition->itemText(i);
        QTest::keyClicks(d->txtName, name);
        if (position >= 0) d->cboPosition->setCurrentIndex(position);
        QTest::mouseClick(d->Command1[position >= 0 ? 0 : 1], Qt::LeftButton);
    });
}

}  // namespace

class FavoritesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    // "Projects" at position 2, then a name with "&" at 1, then a cancelled one;
    // each read back in the menu and the position list.
    void addingFavourites() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        const std::string work = h.tree.dir("Work");
        QVERIFY(w.dirFSDir->setPath(work).ok());
        QStringList first, second, third;
        addInNextDialog("Projects", 1, &first);
        QTest::mouseClick(w.Command2, Qt::LeftButton);  // the main window's Add To Favorites button
        addInNextDialog("Tom & Jerry", 0, &second);
        w.showAddToFavorites();
        addInNextDialog("Other", -1, &third);
        w.showAddToFavorites();
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(first, (QStringList{"1 - Empty", "2 - Empty", "3 - Empty", "4 - Empty", "5 - Empty"}));
        QCOMPARE(second, (QStringList{"1 - Empty", "2 - Projects", "3 - Empty", "4 - Empty", "5 - Empty"}));
        QCOMPARE(third.value(0), QString("1 - Tom & Jerry"));
        QCOMPARE(prefsState(h), QString(kFreshState)
                                    .replace("[,,,,]", "[Tom & Jerry,Projects,Empty,Empty,Empty]")
                                    .replace("dir=/", "dir=~/Work")
                                    .replace("slots=Empty:|Empty:|", "slots=Tom & Jerry:~/Work|Projects:~/Work|"));
        QVERIFY(w.dirFSDir->setPath(h.tree.root()).ok());
        w.mnuFavArray[1]->trigger();
        QCOMPARE(w.dirFSDir->Path(), work);
    }

    void sixteenthCharacterIsRefusedAndBlanksAreAName() {
        MainHarness h;
        QVERIFY(startMain(h));
        QString typed;
        onNextModal([&typed](QWidget* w) {
            auto* d = qobject_cast<Form1*>(w);
            QVERIFY(d != nullptr);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d->txtName));
            QTest::keyClicks(d->txtName, "abcdefghijklmnop");
            typed = d->txtName->text();
            d->txtName->clear();
            QTest::keyClicks(d->txtName, "   ");
            QTest::keyClick(d->txtName, Qt::Key_Return);  // Add is the default button
        });
        h.window().showAddToFavorites();
        QCOMPARE(typed, QString("abcdefghijklmno"));
        QCOMPARE(h.stored("Favorites", "1"), std::optional<std::string>("   "));
    }

    void emptyNameIsRefusedWithAMessage() {
        MainHarness h;
        QVERIFY(startMain(h));
        SeenMessage seen;
        bool openWithFocusBack = false;
        addInNextDialog("", 3);  // opens the message box, answered next
        answerMessageBox("OK", &seen);
        onNextModal([&openWithFocusBack](QWidget* w) {
            auto* d = qobject_cast<Form1*>(w);
            openWithFocusBack = d != nullptr && d->isVisible() && d->focusWidget() == d->txtName;
            if (d != nullptr) QTest::mouseClick(d->Command1[1], Qt::LeftButton);
        });
        h.window().showAddToFavorites();
        QCOMPARE(pendingModalAnswers(), 0);
        QCOMPARE(seen.text + "|" + seen.title + "|" + seen.buttons.join(','),
                 QString("Name must contain at least one character|Add To Favorites...|OK"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QVERIFY(openWithFocusBack);
        QCOMPARE(h.stored("Favorites", "4"), std::optional<std::string>("Empty"));
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
        QCOMPARE(seen.text + "|" + seen.title + "|" + seen.buttons.join(','),
                 QString("This favorite path doesn't exist anymore.\r\nPlease update this favorite|Farsend 98|OK"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(w.drvFSDrive->Drive(), std::string("/"));  // then the default drive
        QCOMPARE(h.stored("Favorites", "Path1"), std::optional<std::string>(gone));
    }
};

QTEST_MAIN(FavoritesTest)
#include "favorites_uitest.moc"
