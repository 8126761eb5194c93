// The Copy/Move button, the mode it holds, the Action menu, the selection
// display's rewrite on a press, and what the window refuses while a
// transfer runs.

#include <QtTest>
#include <filesystem>

#include "TransferUiTest.h"
#include "app/ui/DriveListBox.h"

using namespace farsend;
using namespace farsend::test;
namespace fs = std::filesystem;

class TransferCommandTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void rightPressSwitchesMode_data();
    void rightPressSwitchesMode();
    void pressRewritesDisplay_data();
    void pressRewritesDisplay();
    void menuSetsModeWithoutRewrite();
    void keyboardStartsWithoutRewrite_data();
    void keyboardStartsWithoutRewrite();
    void exitTransfersNothing();
    void walkInOrderInMoveMode();
    void inputRefusedDuringTransfer();
};

void TransferCommandTest::rightPressSwitchesMode_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("copy to move") << "&Copy"
                                  << "&Move";
    QTest::newRow("move to copy") << "&Move"
                                  << "&Copy";
    QTest::newRow("other case counts as move") << "&copy"
                                               << "&Copy";
}

void TransferCommandTest::rightPressSwitchesMode() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    TransferRun r;
    const std::string a = r.h.tree.file("a.txt", "a");
    QVERIFY(r.start({a}, r.h.tree.dir("dest"), before));
    QTest::mouseClick(r.w().Command1[0], Qt::RightButton);
    QCOMPARE(r.w().Command1[0]->text(), after);
    QCOMPARE(r.w().mnuActionCopy->isChecked(), after == "&Copy");
    QCOMPARE(r.w().mnuActionMove->isChecked(), after == "&Move");
    // Other buttons and presses switch nothing.
    QTest::mouseClick(r.w().Command1[1], Qt::RightButton);
    QTest::mousePress(r.w().Command1[0], Qt::MiddleButton);
    QTest::mouseRelease(r.w().Command1[0], Qt::MiddleButton);
    QCOMPARE(r.w().Command1[0]->text(), after);
    QVERIFY(r.w().isVisible());
    QVERIFY(TempTree::exists(a));
}

void TransferCommandTest::pressRewritesDisplay_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("scrollHidden");
    QTest::newRow("one folder: three lines") << 1 << "Move\r\n/Reports/\r\nTo:" << true;
    QTest::newRow("three entries: one line") << 3 << "Move %1" << false;
}

void TransferCommandTest::pressRewritesDisplay() {
    QFETCH(int, count);
    QFETCH(QString, expected);
    QFETCH(bool, scrollHidden);
    TransferRun r;
    const std::string reports = r.h.tree.dir("Reports");
    std::vector<std::string> args{reports, r.h.tree.file("b.txt"), r.h.tree.file("c.txt")};
    args.resize(static_cast<std::size_t>(count));
    QVERIFY(r.start(args, r.h.tree.dir("dest")));
    r.w().cmdFileUp->show();
    r.w().cmdFileDn->show();
    QTest::mouseClick(r.w().Command1[0], Qt::RightButton);
    QCOMPARE(r.w().lblFileName->text(), expected.arg(QString::fromStdString(reports)));
    QCOMPARE(r.w().cmdFileUp->isHidden(), scrollHidden);
    QCOMPARE(r.w().cmdFileDn->isHidden(), scrollHidden);
}

void TransferCommandTest::menuSetsModeWithoutRewrite() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "a");
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({a, r.h.tree.file("src/b.txt", "b")}, dest));
    QTest::mouseClick(r.w().Command1[1], Qt::RightButton);  // a rewrite, nothing else
    QCOMPARE(r.w().lblFileName->text(), QString::fromStdString("Copy " + a));
    r.w().mnuActionMove->trigger();
    QCOMPARE(r.w().Command1[0]->text(), QString("&Move"));
    QVERIFY(r.w().mnuActionMove->isChecked());
    QVERIFY(!r.w().mnuActionCopy->isChecked());
    QVERIFY(r.w().lblFileName->text().startsWith("Copy "));  // until the next rewrite
    r.w().mnuActionCopy->trigger();
    QCOMPARE(r.w().Command1[0]->text(), QString("&Copy"));
    QVERIFY(r.w().mnuActionCopy->isChecked());
    QVERIFY(!r.w().mnuActionMove->isChecked());
    r.w().mnuActionMove->trigger();
    r.click();  // a left click then moves
    QVERIFY(!TempTree::exists(a));
    QCOMPARE(slurp(dest + "/a.txt"), std::string("a"));
}

void TransferCommandTest::keyboardStartsWithoutRewrite_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("access key") << int(Qt::Key_C) << int(Qt::AltModifier);
}

void TransferCommandTest::keyboardStartsWithoutRewrite() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "a");
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({a}, dest));
    r.w().lblFileName->setText("before");
    QStringList seenDuringCopy;
    r.h.fs.onCall([&](Op op, const std::string&) {
        if (op == Op::OpenWrite) seenDuringCopy << r.w().lblFileName->text();
    });
    r.w().activateWindow();
    r.w().drvFSDrive->setFocus();  // a control that leaves Enter to the window
    QTest::keyClick(r.w().drvFSDrive, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(TempTree::exists(dest + "/a.txt"));
    QTRY_VERIFY(!r.w().isVisible());
    QCOMPARE(seenDuringCopy, QStringList{"Copying\r\na.txt"});
    QVERIFY(!r.w().lblFileName->text().startsWith("Copy "));
}

void TransferCommandTest::exitTransfersNothing() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "a");
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({a}, dest));
    QTest::mouseClick(r.w().Command1[1], Qt::LeftButton);
    QVERIFY(r.closed());
    QVERIFY(!TempTree::exists(dest + "/a.txt"));
    QCOMPARE(r.h.stored("Options", "LDU"), std::optional<std::string>(dest));
}

void TransferCommandTest::walkInOrderInMoveMode() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "a");
    const std::string folder = r.h.tree.dir("src/F");
    r.h.tree.file("src/F/x.txt", "x");
    const std::string c = r.h.tree.file("src/c.txt", "c");
    const std::string dest = r.h.tree.dir("dest");
    std::vector<std::string> order;
    r.h.fs.onCall([&](Op op, const std::string& path) {
        if (op == Op::OpenWrite) order.push_back(path.substr(dest.size()));
    });
    QVERIFY(r.start({a, folder, c}, dest, "&Move"));
    r.click();
    QCOMPARE(order, (std::vector<std::string>{"/a.txt", "/F/x.txt", "/c.txt"}));
    QVERIFY(!TempTree::exists(a) && !TempTree::exists(folder) && !TempTree::exists(c));
    QVERIFY(r.closed());
}

void TransferCommandTest::inputRefusedDuringTransfer() {
    TransferRun r;
    const std::string a = r.h.tree.patterned("src/a.bin", 3000000);
    const std::string b = r.h.tree.file("src/b.txt", "b");
    const std::string dest = r.h.tree.dir("dest");
    int copies = 0;
    bool poked = false;
    r.h.fs.onCall([&](Op op, const std::string& path) {
        if (op == Op::OpenWrite) ++copies;
        if (op != Op::Read || poked || path.find("a.bin") == std::string::npos) return;
        poked = true;
        // Everything a user could do while the bytes move.
        QTest::mouseClick(r.w().Command1[0], Qt::LeftButton);
        QTest::mouseClick(r.w().Command1[0], Qt::RightButton);
        QTest::mouseClick(r.w().Command1[1], Qt::LeftButton);
        QTest::keyClick(&r.w(), Qt::Key_Return);
        QTest::keyClick(&r.w(), Qt::Key_M, Qt::ControlModifier);
        r.w().mnuActionMove->trigger();
        QTest::mouseDClick(r.w().dirFSDir->viewport(), Qt::LeftButton);
        QVERIFY(!r.w().close());
        QCoreApplication::processEvents();
    });
    QVERIFY(r.start({a, b}, dest));
    r.click();
    QVERIFY(poked);
    QCOMPARE(copies, 2);
    QCOMPARE(r.w().Command1[0]->text(), QString("&Copy"));
    QVERIFY(r.w().mnuActionCopy->isChecked());
    QVERIFY(!r.w().mnuActionMove->isChecked());
    QCOMPARE(r.w().dirFSDir->Path(), dest);
    QVERIFY(TempTree::exists(a));  // still a copy
    QCOMPARE(slurp(dest + "/a.bin"), slurp(a));
    QVERIFY(r.closed());
    // After the transfer nothing starts another one.
    r.w().show();
    r.click();
    QCOMPARE(copies, 2);
}

QTEST_MAIN(TransferCommandTest)
#include "transfer_command_uitest.moc"
