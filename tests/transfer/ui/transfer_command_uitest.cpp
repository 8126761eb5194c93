// The Copy/Move button, the mode it holds, the Action menu, the selection
// display's rewrite on a press, and what the window refuses while a
// transfer runs.

#include <QtTest>

#include "TransferUiTest.h"
#include "app/ui/DriveListBox.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// The mode as the window shows it: the button's caption and the menu's
// check marks.
QString mode(frmFSMain& w) {
    return child<QPushButton>(w, "Command1_0")->text() + (child<QAction>(w, "mnuActionCopy")->isChecked() ? " C" : "") +
           (child<QAction>(w, "mnuActionMove")->isChecked() ? " M" : "");
}

}  // namespace

class TransferCommandTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void pressesAndMenu_data();
    void pressesAndMenu();
    void startWithoutRewrite_data();
    void startWithoutRewrite();
    void inputRefusedDuringTransfer();
};

// A right press on Copy/Move switches the mode; any press rewrites the
// selection display (three lines for one folder, without the scroll
// buttons); the menu switches the mode without a rewrite; Exit closes
// without a transfer.
void TransferCommandTest::pressesAndMenu_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("gestures");
    QTest::addColumn<QString>("expected");
    QTest::newRow("copy to move") << 3 << "&Copy" << QStringList{"right"} << "&Move M|Move ~/Reports";
    QTest::newRow("move to copy") << 3 << "&Move" << QStringList{"right"} << "&Copy C|Copy ~/Reports";
    QTest::newRow("other case counts as move") << 3 << "&copy" << QStringList{"right"} << "&Copy C|Copy ~/Reports";
    QTest::newRow("one folder: three lines")
        << 1 << "&Copy" << QStringList{"right"} << "&Move M|Move\r\n/Reports/\r\nTo:|no up|no down";
    QTest::newRow("other presses switch nothing")
        << 3 << "&Copy" << QStringList{"exit right", "middle"} << "&Copy C|Copy ~/Reports";
    QTest::newRow("menu without rewrite")
        << 3 << "&Copy" << QStringList{"exit right", "move", "copy", "move"} << "&Move M|Copy ~/Reports";
    QTest::newRow("exit") << 3 << "&Copy" << QStringList{"exit"} << "&Copy C|Copy ~/Reports|closed";
}

void TransferCommandTest::pressesAndMenu() {
    QFETCH(int, count);
    QFETCH(QString, caption);
    QFETCH(QStringList, gestures);
    QFETCH(QString, expected);
    TransferRun r;
    std::vector<std::string> args{r.h.tree.dir("Reports"), r.h.tree.file("b.txt", "b"), r.h.tree.file("c.txt")};
    args.resize(static_cast<std::size_t>(count));
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start(args, dest, caption));
    child<QPushButton>(r.w(), "cmdFileUp")->show();
    child<QPushButton>(r.w(), "cmdFileDn")->show();
    for (const QString& g : gestures) {
        if (g == "move" || g == "copy")
            (g == "move" ? child<QAction>(r.w(), "mnuActionMove") : child<QAction>(r.w(), "mnuActionCopy"))->trigger();
        else
            QTest::mouseClick(child<QPushButton>(r.w(), g.startsWith("exit") ? "Command1_1" : "Command1_0"),
                              g == "middle" ? Qt::MiddleButton
                              : g == "exit" ? Qt::LeftButton
                                            : Qt::RightButton);
    }
    const QString shown =
        child<QLabel>(r.w(), "lblFileName")->text().replace(QString::fromStdString(r.h.tree.root()), "~");
    QCOMPARE(mode(r.w()) + "|" + shown + (child<QPushButton>(r.w(), "cmdFileUp")->isHidden() ? "|no up" : "") +
                 (child<QPushButton>(r.w(), "cmdFileDn")->isHidden() ? "|no down" : "") + (r.closed() ? "|closed" : ""),
             expected);
    QVERIFY(!TempTree::exists(dest + "/b.txt"));
    QCOMPARE(r.h.stored("Options", "LDU"), r.closed() ? std::optional<std::string>(dest) : std::nullopt);
}

// A press rewrites the selection display before the transfer; starting it
// from the keyboard does not.
void TransferCommandTest::startWithoutRewrite_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("shown");
    const QStringList kept{"before", "Copying\r\na.txt"};
    QTest::newRow("enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << kept;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << kept;
    QTest::newRow("access key") << int(Qt::Key_C) << int(Qt::AltModifier) << kept;
    QTest::newRow("mouse") << 0 << 0 << QStringList{"before", "Copy\r\n/a.txt\r\nTo:", "Copying\r\na.txt"};
}

void TransferCommandTest::startWithoutRewrite() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, shown);
    TransferRun r;
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({r.h.tree.file("src/a.txt", "a")}, dest));
    child<QLabel>(r.w(), "lblFileName")->setText("before");
    QStringList seen{"before"};
    r.h.fs.onCall([&](Op, const std::string&) {
        const QString now =
            child<QLabel>(r.w(), "lblFileName")->text().replace(QString::fromStdString(r.h.tree.root()), "~");
        if (now != seen.last()) seen << now;
    });
    r.w().activateWindow();
    child<DriveListBox>(r.w(), "drvFSDrive")->setFocus();  // a control that leaves Enter to the window
    if (key == 0)
        r.click();
    else
        QTest::keyClick(child<DriveListBox>(r.w(), "drvFSDrive"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(!r.w().isVisible());
    QCOMPARE(slurp(dest + "/a.txt"), std::string("a"));
    QCOMPARE(seen, shown);
}

void TransferCommandTest::inputRefusedDuringTransfer() {
    TransferRun r;
    const std::string a = r.h.tree.patterned("src/a.bin", 3000000);
    const std::string dest = r.h.tree.dir("dest");
    int copies = 0;
    bool poked = false;
    r.h.fs.onCall([&](Op op, const std::string& path) {
        if (op == Op::OpenWrite) ++copies;
        if (op != Op::Read || poked || path.find("a.bin") == std::string::npos) return;
        poked = true;
        // Everything a user could do while the bytes move.
        QTest::mouseClick(child<QPushButton>(r.w(), "Command1_0"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(r.w(), "Command1_0"), Qt::RightButton);
        QTest::mouseClick(child<QPushButton>(r.w(), "Command1_1"), Qt::LeftButton);
        QTest::keyClick(&r.w(), Qt::Key_Return);
        QTest::keyClick(&r.w(), Qt::Key_M, Qt::ControlModifier);
        child<QAction>(r.w(), "mnuActionMove")->trigger();
        QTest::mouseDClick(child<DirListBox>(r.w(), "dirFSDir")->viewport(), Qt::LeftButton);
        QVERIFY(!r.w().close());
        QCoreApplication::processEvents();
    });
    QVERIFY(r.start({a, r.h.tree.file("src/b.txt", "b")}, dest));
    r.click();
    QVERIFY(poked);
    QCOMPARE(copies, 2);
    QCOMPARE(mode(r.w()), "&Copy C");
    QCOMPARE(child<DirListBox>(r.w(), "dirFSDir")->Path(), dest);
    QCOMPARE(slurp(dest + "/a.bin"), slurp(a));  // still a copy: the source stays
    QVERIFY(r.closed());
    // After the transfer nothing starts another one.
    r.w().show();
    r.click();
    QCOMPARE(copies, 2);
}

QTEST_MAIN(TransferCommandTest)
#include "transfer_command_uitest.moc"
