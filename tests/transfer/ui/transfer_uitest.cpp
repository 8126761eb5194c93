// The transfer's windows: the Copy/Move command and its mode on the main
// window, and the Replace File? dialog with the real prompts.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/ui/DirListBox.h"
#include "app/ui/QtPrompts.h"
#include "support/ui/MainHarness.h"

using namespace farsend;
using namespace farsend::test;

class TransferUiTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    // Right presses switch the mode with the menu's checks, every press
    // rewrites the display, the menu leaves it; a click transfers with the
    // bar moving, takes no input meanwhile and closes the window.
    void command() {
        MainHarness h;
        h.tree.build("src/f.bin*60000;src/g.txt=g;Reports/;Dest/");
        QVERIFY(h.start({h.tree.path("src/f.bin"), h.tree.path("src/g.txt"), h.tree.path("Reports")}));
        frmFSMain& w = h.window();
        auto* copy = child<QPushButton>(w, "Command1_0");
        QStringList seen;
        const auto state = [&] {
            seen << copy->text() + QString::number(child<QAction>(w, "mnuActionCopy")->isChecked()) +
                        QString::number(child<QAction>(w, "mnuActionMove")->isChecked()) + " " +
                        child<QLabel>(w, "lblFileName")->text().remove(QString::fromStdString(h.tree.root()));
        };
        QTest::mousePress(copy, Qt::RightButton), state();
        QTest::mousePress(child(w, "Command1_1"), Qt::RightButton), state();
        child<QAction>(w, "mnuActionCopy")->trigger(), state();
        QTest::mousePress(copy, Qt::MiddleButton), state();
        QCOMPARE(seen.join('|'),
                 "&Move01 Move /src/f.bin|&Move01 Move /src/f.bin|&Copy10 Move /src/f.bin|"
                 "&Copy10 Copy /src/f.bin");
        QVERIFY(folders(w).setPath(h.tree.path("Dest")).ok());
        QTimer::singleShot(0, &w, [&] {  // reaches the window while it transfers: nothing happens
            QTest::mousePress(copy, Qt::RightButton), w.close();
            QTest::keyClick(&folders(w), Qt::Key_Up), QTest::keyClick(&folders(w), Qt::Key_Return);
        });
        click(copy);
        const QImage bar = child(w, "picProgress")->grab().toImage();
        const QColor lit = w.palette().color(QPalette::Highlight);
        QCOMPARE(QString::fromStdString(h.tree.changesSince("Dest/;Reports/;src/;src/f.bin*60000;src/g.txt=g")),
                 "Dest/Reports/;Dest/f.bin*60000;Dest/g.txt=g");
        QCOMPARE(std::pair(bar.pixelColor(bar.width() * 80 / 100, bar.height() / 2) == lit,
                           bar.pixelColor(bar.width() * 95 / 100, bar.height() / 2) == lit),
                 std::pair(true, false));  // at 83
        QCOMPARE(copy->text() + QString::number(w.isVisible()) + QString::fromStdString(*h.stored("Options", "LDU")),
                 "&Copy0" + QString::fromStdString(h.tree.path("Dest")));
    }

    // A cancelled new name ends the program at once, without its closing steps.
    void endsAtOnce() {
        MainHarness h;
        h.tree.build("src/a.txt=a;Dest/a.txt=old");
        h.prompts.answers = {"No", ""};
        QVERIFY(h.start({h.tree.path("src/a.txt")}));
        QVERIFY(folders(h.window()).setPath(h.tree.path("Dest")).ok());
        QTest::mousePress(child(h.window(), "Command1_0"), Qt::RightButton);  // one entry: the three lines
        QCOMPARE(child<QLabel>(h.window(), "lblFileName")->text(), "Move\r\n/a.txt\r\nTo:");
        child(h.window(), "drvFSDrive")->setFocus(), press(Qt::Key_Return);  // Enter presses Copy/Move
        QCOMPARE(std::pair(h.endedWith.value_or(-1), h.stored("Options", "LDU").has_value()), std::pair(0, false));
    }

    // Five buttons in a row whose index is the answer; neither Enter nor Esc
    // answers, and closing it is Cancel.
    void replaceDialog_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        for (int i = 0; i < 5; ++i) QTest::addRow("%d", i) << QString("Command1_%1").arg(i) << i;
        QTest::addRow("closed") << QString() << 0;
    }
    void replaceDialog() {
        QFETCH(QString, button);
        QStringList seen;
        onNextModal([&](QWidget* d) {
            for (auto* b : d->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
                seen << QString("%1@%2,%3").arg(b->text()).arg(b->x()).arg(b->isDefault() || b->autoDefault());
            seen << d->windowTitle() << QString("%1x%2").arg(d->width()).arg(d->height());
            QTest::keyClick(d, Qt::Key_Escape), QTest::keyClick(d, Qt::Key_Return);
            button.isEmpty() ? (void)d->close() : click(child(*d, qPrintable(button)));
        });
        QtPrompts prompts;
        QFETCH(int, answer);
        QCOMPARE(prompts.askReplace(), answer);
        QCOMPARE(seen.join(' '),
                 "&Cancel@311,0 &Yes@35,0 &Yes to &All@103,0 &No@173,0 N&o to All@243,0 "
                 "Replace File? 411x79");
    }

private:
    static DirListBox& folders(frmFSMain& w) { return *child<DirListBox>(w, "dirFSDir"); }
};

QTEST_MAIN(TransferUiTest)
#include "transfer_uitest.moc"
