// The destination chooser on the real window: drive list and folder list in
// step, the word check, a drive that cannot be read, and the new-folder dialog.
#include <QLineEdit>
#include <QSignalSpy>
#include <cstring>
#include <filesystem>

#include "AppSteps.h"
#include "app/Chooser.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/frmNewDir.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// A window on two fake volumes, A (no label) and B (labelled "USB"), whose
// mount points are scratch folders.
struct TwoVolumes {
    MainHarness h;
    std::string a = h.tree.dir("volA"), b = h.tree.dir("volB"), bDrive = b + " [USB]";
    TwoVolumes() { h.fakeVolumes.emplace(std::vector<Volume>{{a, ""}, {b, "USB"}}); }
    bool start() { return h.start({h.tree.file("item.txt")}); }
    frmFSMain& w() { return h.window(); }
    std::string where() { return w().drvFSDrive->Drive() + " : " + w().dirFSDir->Path(); }
    // Picks the drive at index through the keyboard, as a user would.
    void pickDrive(int index) {
        DriveListBox* list = w().drvFSDrive;
        list->setFocus();
        while (list->currentIndex() < index) QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > index) QTest::keyClick(list, Qt::Key_Up);
    }
};

// Answers the new-folder dialog: notes its parent folder text, caption, focus
// and the name it holds, types name and finishes with how ("ok", "enter",
// "cancel", "esc") from the event loop, so that a box it brings up can be
// answered too.
void answerNewDir(const QString& name, const QString& how, QString* seen) {
    onNextModal([=](QWidget* w) {
        auto* d = qobject_cast<frmNewDir*>(w);
        if (d == nullptr) {
            w->close();
            QFAIL("expected the Create New Directory dialog");
        }
        *seen =
            QStringList{d->lblUpperPath->text(), d->windowTitle(),
                        d->focusWidget() == d->txtNewName ? "name focused" : "focus elsewhere", d->txtNewName->text()}
                .join('|');
        QTest::keyClicks(d->txtNewName, name);
        later([d, how] {
            if (how == "ok" || how == "cancel")
                QTest::mouseClick(how == "ok" ? d->cmdOK : d->cmdCancel, Qt::LeftButton);
            else
                QTest::keyClick(d->txtNewName, how == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        });
    });
}

int entriesIn(const std::string& folder) { return int(std::distance(std::filesystem::directory_iterator(folder), {})); }

}  // namespace

class ChooserTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }
    void folderOnAnotherVolumeMovesDriveList();
    void pickedDriveWhoseFolderWasRemovedOpensAtRoot();
    void wordCheck_data();
    void wordCheck();
    void driveFailure_data();
    void driveFailure();
    void newFolder_data();
    void newFolder();
};

void ChooserTest::folderOnAnotherVolumeMovesDriveList() {
    TwoVolumes t;
    const std::string sub = t.h.tree.dir("volB/sub");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(t.a).ok());
    QCOMPARE(t.where(), t.a + " : " + t.a);
    QSignalSpy folderMoves(t.w().dirFSDir, &DirListBox::changed);
    QSignalSpy driveMoves(t.w().drvFSDrive, &DriveListBox::changed);
    QVERIFY(t.w().dirFSDir->setPath(sub).ok());
    QCOMPARE(t.where(), t.bDrive + " : " + sub);
    // Each list moved once: no ping-pong back to the drive's earlier folder.
    QCOMPARE(QString("%1 %2").arg(folderMoves.count()).arg(driveMoves.count()), QString("1 1"));
    QCOMPARE(t.w().dirFSDir->folderAt(0), t.b);  // the chain starts at the mount point
}

void ChooserTest::pickedDriveWhoseFolderWasRemovedOpensAtRoot() {
    TwoVolumes t;
    const std::string x = t.h.tree.dir("volA/x"), sub = t.h.tree.dir("volB/sub");
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(x).ok());
    QVERIFY(t.w().dirFSDir->setPath(sub).ok());
    t.pickDrive(0);
    QCOMPARE(t.where(), t.a + " : " + x);  // each drive keeps its own folder
    QVERIFY(std::filesystem::remove(sub));
    bool unexpected = false;
    armUnexpected(&unexpected);
    t.pickDrive(1);
    QVERIFY(!unexpected && !t.h.endedWith);
    QCOMPARE(t.where(), t.bDrive + " : " + t.b);
}

void ChooserTest::wordCheck_data() {
    QTest::addColumn<QString>("folder");  // below volume A
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<int>("boxes");
    QTest::addRow("porn") << "porn" << false << 1;
    QTest::addRow("porn, double-clicked") << "porn" << true << 1;
    QTest::addRow("sex then porn") << "sex/porn" << false << 2;
    QTest::addRow("capitals") << "PORN/Sex" << false << 0;
    QTest::addRow("plain, double-clicked") << "Letters" << true << 0;
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
    if (byDoubleClick) {  // a click, then the second press that the window system reports as a double click
        const QPoint at = list->visualItemRect(list->item(list->rowOf(target))).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        QVERIFY(list->setPath(target).ok());
    }
    QCOMPARE(list->Path(), target);
    QVERIFY(!unexpected);
    QCOMPARE(pendingModalAnswers(), 1);
    for (const SeenMessage& s : seen) QCOMPARE(boxOf(s), QString("Easter Egg!|Naughty Naughty!!|OK|0"));
}

void ChooserTest::driveFailure_data() {
    QTest::addColumn<int>("fault");  // on listing drive B
    QTest::addColumn<bool>("ends");
    QTest::addRow("no medium") << ENOMEDIUM << true;
    QTest::addRow("no device") << ENODEV << true;
    QTest::addRow("access refused") << EACCES << true;
    QTest::addRow("other failure ignored") << ENOTDIR << false;
}

void ChooserTest::driveFailure() {
    QFETCH(int, fault);
    QFETCH(bool, ends);
    TwoVolumes t;
    const std::string x = t.h.tree.dir("volA/x"), y = t.h.tree.dir("volA/y");
    t.h.preset("Options", "LDU", x);
    QVERIFY(t.start());
    QVERIFY(t.w().dirFSDir->setPath(y).ok());
    t.h.fs.failOn(Op::List, t.b, fault);
    SeenMessage seen;
    bool unexpected = false;
    if (ends) answerMessageBox("OK", &seen);
    armUnexpected(&unexpected);
    t.pickDrive(1);
    QVERIFY(!unexpected);
    QCOMPARE(pendingModalAnswers(), 1);
    if (ends) QCOMPARE(boxOf(seen), okBox("Unable to access this drive. Program will Quit"));
    QCOMPARE(t.h.endedWith, ends ? std::optional<int>(1) : std::nullopt);
    QCOMPARE(t.w().dirFSDir->Path(), y);
    // Ended at once, without the closing steps: the last folder used stays as
    // it was even should the window close afterwards.
    t.w().close();
    QCOMPARE(t.h.stored("Options", "LDU"), std::optional<std::string>(ends ? x : y));
}

void ChooserTest::newFolder_data() {
    QTest::addColumn<QString>("parent");  // "/", the volume's root "vol", or a folder below it
    QTest::addColumn<QString>("name");    // creating "Refused" fails with EACCES
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message");  // the box of a failure; the dialog then stays open
    const auto row = [](const char* tag, const char* parent, const char* name, const char* how, QString message) {
        QTest::addRow("%s", tag) << QString(parent) << QString(name) << QString(how) << message;
    };
    const QString refusal = kFolderNameRefusal;
    row("at a volume root", "vol", "Work", "ok", "");
    row("below a folder, Enter, blanks kept", "vol/Data", " My Work ", "enter", "");
    row("Cancel", "vol/Data", "Work", "cancel", "");
    row("Esc at /", "/", "Work", "esc", "");
    row("no right", "vol/Data", "Refused", "ok", std::strerror(EACCES));
    row("existing name", "vol/Data", "Old", "ok", std::strerror(EEXIST));
    row("empty name", "vol/Data", "", "ok", kFolderNameEmpty);
    row("a separator", "vol/Data", "/", "ok", refusal);
    row("up and out", "vol/Data", "../escape", "ok", refusal);
    row("dot", "vol/Data", ".", "ok", refusal);
    row("dot dot", "vol/Data", "..", "ok", refusal);
}

void ChooserTest::newFolder() {
    QFETCH(QString, parent);
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(QString, message);
    MainHarness h;
    const std::string vol = h.tree.dir("vol"), data = h.tree.path("vol/Data");
    h.tree.dir("vol/Data/Old");
    h.fakeVolumes.emplace(std::vector<Volume>{{"/", ""}, {vol, ""}});
    const std::string from = parent == "/" ? "/" : h.tree.path(parent.toStdString());
    h.fs.failOn(Op::MakeDir, "Refused", EACCES);
    QVERIFY(h.start({h.tree.file("item.txt")}));
    QVERIFY(h.window().dirFSDir->setPath(from).ok());
    QString seen, again;
    SeenMessage box;
    answerNewDir(name, how, &seen);
    if (!message.isEmpty()) {
        answerMessageBox("OK", &box);
        answerNewDir("", "cancel", &again);
    }
    if (how == "esc")  // both ways of opening it
        h.window().mnuActionCreateDir->trigger();
    else
        QTest::mouseClick(h.window().Command3, Qt::LeftButton);
    QCOMPARE(pendingModalAnswers(), 0);
    const QString dialog =
        QString::fromStdString(from == "/" ? "/" : from + "/") + "|Create New Directory|name focused|";
    QCOMPARE(seen, dialog);
    QCOMPARE(boxOf(box), message.isEmpty() ? boxOf({}) : okBox(message));
    QCOMPARE(again, message.isEmpty() ? QString() : dialog + name);  // back, with the name kept
    const bool made = message.isEmpty() && (how == "ok" || how == "enter");
    const std::string target = from + "/" + name.toStdString();
    QCOMPARE(h.window().dirFSDir->Path(), made ? target : from);
    QCOMPARE(entriesIn(vol) + entriesIn(data), made ? 3 : 2);  // nothing else, nothing escaped upwards
}

QTEST_MAIN(ChooserTest)
#include "chooser_uitest.moc"
