// The destination chooser on the real window: drive list and folder list in
// step, the word check, and a drive that cannot be read.
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cerrno>
#include <filesystem>

#include "AppSteps.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// A window on two fake volumes, A (no label) and B (labelled "USB"), whose
// mount points are scratch folders.
struct TwoVolumes {
    MainHarness h;
    std::string a = h.tree.dir("volA");
    std::string b = h.tree.dir("volB");
    std::string bDrive = b + " [USB]";

    TwoVolumes() { h.fakeVolumes.emplace(std::vector<Volume>{{a, ""}, {b, "USB"}}); }
    bool start() { return h.start({h.tree.file("item.txt")}); }
    frmFSMain& w() { return h.window(); }
    // Picks the drive at index through the keyboard, as a user would.
    void pickDrive(int index) {
        DriveListBox* list = w().drvFSDrive;
        list->setFocus();
        while (list->currentIndex() < index) QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > index) QTest::keyClick(list, Qt::Key_Up);
    }
};

void doubleClickRow(DirListBox* list, int row) {
    QVERIFY(row >= 0);
    list->scrollToItem(list->item(row));
    // A user's double click: a click, then the second press that the
    // window system reports as a double click.
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ChooserTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void folderOnAnotherVolumeMovesDriveList();
    void folderOnVolumeMountedMeanwhile();
    void pickedDriveReturnsToItsFolder();
    void pickedDriveWhoseFolderWasRemoved();
    void labelledDesignationAsPath();
    void doubleClickEntersSingleClickHighlights();
    void enterOpensHighlightedFolder();
    void wordCheck_data();
    void wordCheck();
    void unreadableDriveEndsAtOnce_data();
    void unreadableDriveEndsAtOnce();
    void otherDriveFailureIsIgnored();
};

void ChooserTest::folderOnAnotherVolumeMovesDriveList() {
    TwoVolumes t;
    const std::string sub = t.h.tree.dir("volB/sub");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(t.a).ok());
    QCOMPARE(t.w().drvFSDrive->Drive(), t.a);

    QSignalSpy folderChanges(t.w().dirFSDir, &DirListBox::changed);
    QSignalSpy driveChanges(t.w().drvFSDrive, &DriveListBox::changed);
    QVERIFY(t.w().dirFSDir->setPath(sub).ok());
    QCOMPARE(t.w().drvFSDrive->Drive(), t.bDrive);
    QCOMPARE(t.w().dirFSDir->Path(), sub);
    // Each list moved once: no ping-pong back to the drive's earlier folder.
    QCOMPARE(folderChanges.count(), 1);
    QCOMPARE(driveChanges.count(), 1);
    // The chain starts at the volume's mount point.
    QCOMPARE(t.w().dirFSDir->folderAt(0), t.b);
    QCOMPARE(t.w().dirFSDir->folderAt(1), sub);
}

void ChooserTest::folderOnVolumeMountedMeanwhile() {
    // The scratch root stands for "/", volB for a stick that was there at
    // start; volC is mounted while the window is open.
    MainHarness h;
    const std::string b = h.tree.dir("volB"), c = h.tree.dir("volC"), bSub = h.tree.dir("volB/sub"),
                      cSub = h.tree.dir("volC/sub");
    h.fakeVolumes.emplace(std::vector<Volume>{{h.tree.root(), ""}, {b, "USB"}});
    QVERIFY(h.start({h.tree.file("item.txt")}));
    QVERIFY(h.window().dirFSDir->setPath(bSub).ok());
    h.fakeVolumes->list.push_back({c, "NEW"});

    // As a favourite or the start folder would move it, from code.
    QVERIFY(h.window().dirFSDir->setPath(cSub).ok());
    QCOMPARE(h.window().dirFSDir->Path(), cSub);
    QCOMPARE(h.window().drvFSDrive->Drive(), c + " [NEW]");
}

void ChooserTest::pickedDriveReturnsToItsFolder() {
    TwoVolumes t;
    const std::string x = t.h.tree.dir("volA/x"), sub = t.h.tree.dir("volB/sub");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(x).ok());
    t.pickDrive(1);
    QCOMPARE(t.w().dirFSDir->Path(), t.b);  // first visit: its mount point
    QVERIFY(t.w().dirFSDir->setPath(sub).ok());
    t.pickDrive(0);
    QCOMPARE(t.w().drvFSDrive->Drive(), t.a);
    QCOMPARE(t.w().dirFSDir->Path(), x);
    t.pickDrive(1);
    QCOMPARE(t.w().dirFSDir->Path(), sub);
}

void ChooserTest::pickedDriveWhoseFolderWasRemoved() {
    TwoVolumes t;
    const std::string sub = t.h.tree.dir("volB/sub");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(sub).ok());
    t.pickDrive(0);
    QVERIFY(std::filesystem::remove(sub));
    bool unexpected = false;
    armUnexpected(&unexpected);
    t.pickDrive(1);  // its remembered folder is gone: the drive's root instead
    QVERIFY(!unexpected);
    QCOMPARE(t.w().drvFSDrive->Drive(), t.bDrive);
    QCOMPARE(t.w().dirFSDir->Path(), t.b);
    QVERIFY(!t.h.endedWith);
}

void ChooserTest::labelledDesignationAsPath() {
    TwoVolumes t;
    const std::string sub = t.h.tree.dir("volB/sub");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(sub).ok());
    QVERIFY(t.w().dirFSDir->setPath(t.a).ok());
    QVERIFY(t.w().dirFSDir->setPath(t.bDrive).ok());  // the drive's current folder
    QCOMPARE(t.w().dirFSDir->Path(), sub);
    QVERIFY(t.w().dirFSDir->setPath(t.bDrive + "/").ok());  // the drive's root
    QCOMPARE(t.w().dirFSDir->Path(), t.b);
}

void ChooserTest::doubleClickEntersSingleClickHighlights() {
    TwoVolumes t;
    const std::string x = t.h.tree.dir("volA/x");
    t.h.tree.dir("volA/.hidden");
    t.h.tree.file("volA/file.txt");
    QVERIFY(t.start());
    DirListBox* list = t.w().dirFSDir;
    QVERIFY(list->setPath(t.a).ok());
    QCOMPARE(list->count(), 2);  // the volume root and its one visible subfolder
    const int row = list->rowOf(x);

    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QCOMPARE(list->currentRow(), row);
    QCOMPARE(list->Path(), t.a);

    doubleClickRow(list, row);
    QCOMPARE(list->Path(), x);
    doubleClickRow(list, 0);
    QCOMPARE(list->Path(), t.a);
}

void ChooserTest::enterOpensHighlightedFolder() {
    TwoVolumes t;
    const std::string x = t.h.tree.dir("volA/x");
    QVERIFY(t.start());
    DirListBox* list = t.w().dirFSDir;
    QVERIFY(list->setPath(t.a).ok());
    QSignalSpy transfers(t.w().Command1[0], &QPushButton::clicked);
    list->setFocus();
    list->setCurrentRow(list->rowOf(x));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(list->Path(), x);
    QCOMPARE(transfers.count(), 0);
    // Elsewhere Enter is the window's default button, Copy/Move.
    t.w().drvFSDrive->setFocus();
    QTest::keyClick(t.w().drvFSDrive, Qt::Key_Return);
    QCOMPARE(transfers.count(), 1);
}

void ChooserTest::wordCheck_data() {
    QTest::addColumn<QString>("folder");  // below volume A
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<int>("boxes");
    QTest::newRow("porn") << "porn" << false << 1;
    QTest::newRow("porn, double-clicked") << "porn" << true << 1;
    QTest::newRow("sex then porn") << "sex/porn" << false << 2;
    QTest::newRow("porn then sex") << "porn/sex" << false << 2;
    QTest::newRow("inside a word") << "Sussex" << false << 1;
    QTest::newRow("tits and babes") << "babes/tits" << false << 2;
    QTest::newRow("capitals") << "PORN/Sex" << false << 0;
    QTest::newRow("plain") << "Letters" << true << 0;
}

void ChooserTest::wordCheck() {
    QFETCH(QString, folder);
    QFETCH(bool, byDoubleClick);
    QFETCH(int, boxes);
    TwoVolumes t;
    const std::string target = t.h.tree.dir("volA/" + folder.toStdString());
    QVERIFY(t.start());
    DirListBox* list = t.w().dirFSDir;
    QVERIFY(list->setPath(t.a).ok());  // double-clicked folders lie right below it

    std::vector<SeenMessage> seen(static_cast<std::size_t>(boxes));
    for (auto& s : seen) answerMessageBox("OK", &s);
    bool unexpected = false;
    armUnexpected(&unexpected);
    if (byDoubleClick)
        doubleClickRow(list, list->rowOf(target));
    else
        QVERIFY(list->setPath(target).ok());

    QCOMPARE(list->Path(), target);
    QVERIFY(!unexpected);
    QCOMPARE(pendingModalAnswers(), 1);
    for (const SeenMessage& s : seen) {
        QCOMPARE(s.text, QString("Naughty Naughty!!"));
        QCOMPARE(s.title, QString("Easter Egg!"));
        QCOMPARE(s.buttons, QStringList{"OK"});
        QCOMPARE(s.icon, QMessageBox::NoIcon);
    }
}

void ChooserTest::unreadableDriveEndsAtOnce_data() {
    QTest::addColumn<int>("fault");
    QTest::newRow("no medium") << ENOMEDIUM;
    QTest::newRow("no device") << ENODEV;
    QTest::newRow("access refused") << EACCES;
}

void ChooserTest::unreadableDriveEndsAtOnce() {
    QFETCH(int, fault);
    TwoVolumes t;
    const std::string x = t.h.tree.dir("volA/x"), y = t.h.tree.dir("volA/y");
    t.h.preset("Options", "RootDir", "False");
    t.h.preset("Options", "LDU", x);
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(y).ok());
    t.h.fs.failOn(Op::List, t.b, fault);

    SeenMessage seen;
    answerMessageBox("OK", &seen);
    t.pickDrive(1);
    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(seen.text, QString("Unable to access this drive. Program will Quit"));
    QCOMPARE(seen.title, QString("Farsend 98"));
    QCOMPARE(seen.buttons, QStringList{"OK"});
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(t.h.endedWith, std::optional<int>(1));
    QCOMPARE(t.w().dirFSDir->Path(), y);
    // Ended without the closing steps: the last folder used stays as it was,
    // even should the window close afterwards.
    t.w().close();
    QCOMPARE(t.h.stored("Options", "LDU"), std::optional<std::string>(x));
}

void ChooserTest::otherDriveFailureIsIgnored() {
    TwoVolumes t;
    const std::string y = t.h.tree.dir("volA/y");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(y).ok());
    t.h.fs.failOn(Op::List, t.b, ENOTDIR);
    bool unexpected = false;
    armUnexpected(&unexpected);
    t.pickDrive(1);
    QVERIFY(!unexpected);
    QCOMPARE(t.w().drvFSDrive->Drive(), t.bDrive);
    QCOMPARE(t.w().dirFSDir->Path(), y);
    QVERIFY(!t.h.endedWith);
}

QTEST_MAIN(ChooserTest)
#include "chooser_uitest.moc"
