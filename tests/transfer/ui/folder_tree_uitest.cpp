// Folder trees through the real main window: the Replace File? dialog and
// its all-at-once answers, moves with their removal pass, and the faults a
// tree transfer meets.

#include <sys/stat.h>

#include <QtTest>
#include <filesystem>

#include "TransferUiTest.h"
#include "transfer/ui/frmReplace.h"

using namespace farsend;
using namespace farsend::test;
namespace fs = std::filesystem;

namespace {

// Answers the next Replace File? dialog with the button of that index.
void answerReplace(int index, QStringList* captions = nullptr) {
    onNextModal([index, captions](QWidget* w) {
        auto* dialog = qobject_cast<frmReplace*>(w);
        QVERIFY2(dialog != nullptr, "expected the Replace File? dialog");
        if (captions != nullptr)
            for (auto* b : dialog->Command1) *captions << b->text();
        QTest::mouseClick(dialog->Command1[index], Qt::LeftButton);
    });
}

}  // namespace

class FolderTreeTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void copyTree();
    void moveTree();
    void replaceAnswers_data();
    void replaceAnswers();
    void allAnswersCarryIntoLaterFolder_data();
    void allAnswersCarryIntoLaterFolder();
    void replaceDialogLayoutAndKeys();
    void moveWithSkippedFileKeepsItsFolders();
    void emptyAndFilelessFolders_data();
    void emptyAndFilelessFolders();
    void hiddenFilesTravel();
    void copyIntoOwnSubfolder();
    void intoOwnParentLeftIntact_data();
    void intoOwnParentLeftIntact();
    void specialEntriesInTreeReported();
    void folderNotCreatable_data();
    void folderNotCreatable();
    void sourceNotDeletableStopsMoveOnly();
    void diskFullInTreeMove();
};

void FolderTreeTest::copyTree() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.patterned("Src/a.txt", 60000);
    r.h.tree.patterned("Src/Sub/b.txt", 50000, 2);
    const std::string dest = r.h.tree.dir("Dest");
    QStringList shown;
    r.h.fs.onCall([&](Op op, const std::string& path) {
        if (op == Op::OpenRead) shown << r.w().lblFileName->text() + "|" + r.w().lblStatus->text();
        (void)path;
    });
    QVERIFY(r.start({src}, dest));
    r.click();
    QCOMPARE(shown, (QStringList{"Copying\r\na.txt|", "Copying\r\nb.txt|"}));
    QCOMPARE(slurp(dest + "/Src/a.txt"), slurp(src + "/a.txt"));
    QCOMPARE(slurp(dest + "/Src/Sub/b.txt"), slurp(src + "/Sub/b.txt"));
    QCOMPARE(r.values, (std::vector<int>{42, 83, 50, 100}));
    QVERIFY(TempTree::exists(src + "/Sub/b.txt"));
    QVERIFY(r.closed());
}

void FolderTreeTest::moveTree() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/a.txt", "a");
    r.h.tree.file("Src/Sub/b.txt", "b");
    const std::string c = r.h.tree.file("c.txt", "c");
    const std::string dest = r.h.tree.dir("Dest");
    QStringList statuses;
    r.h.fs.onCall([&](Op op, const std::string&) {
        if (op == Op::RemoveDir) statuses << r.w().lblStatus->text();
    });
    QVERIFY(r.start({src, c}, dest, "&Move"));
    r.click();
    QCOMPARE(slurp(dest + "/Src/a.txt"), std::string("a"));
    QCOMPARE(slurp(dest + "/Src/Sub/b.txt"), std::string("b"));
    QCOMPARE(slurp(dest + "/c.txt"), std::string("c"));
    QVERIFY(!TempTree::exists(src));
    QVERIFY(!TempTree::exists(c));
    QVERIFY(!statuses.isEmpty());
    QCOMPARE(statuses.first(), QString("Deleting Directory Structures..."));
    QCOMPARE(r.w().lblStatus->text(), QString());
    QVERIFY(r.closed());
}

void FolderTreeTest::replaceAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("aReplaced");
    QTest::addColumn<bool>("bReplaced");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("ends");
    QTest::newRow("yes") << 1 << true << true << 2 << false;
    QTest::newRow("yes to all") << 2 << true << true << 1 << false;
    QTest::newRow("no") << 3 << false << true << 2 << false;
    QTest::newRow("no to all") << 4 << false << false << 1 << false;
    QTest::newRow("cancel") << 0 << false << false << 1 << true;
}

void FolderTreeTest::replaceAnswers() {
    QFETCH(int, answer);
    QFETCH(bool, aReplaced);
    QFETCH(bool, bReplaced);
    QFETCH(int, questions);
    QFETCH(bool, ends);
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/a.txt", "new a");
    r.h.tree.file("Src/Sub/b.txt", "new b");
    r.h.tree.file("Src/Sub/c.txt", "new c");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.tree.file("Dest/Src/a.txt", "old a, longer");
    r.h.tree.file("Dest/Src/Sub/b.txt", "old b");
    const std::string later = r.h.tree.file("later.txt", "later");
    QVERIFY(r.start({src, later}, dest));
    QStringList captions;
    answerReplace(answer, &captions);
    answerReplace(1);  // for b.txt, when it is asked about
    r.click();
    QCOMPARE(captions, (QStringList{"&Cancel", "&Yes", "&Yes to &All", "&No", "N&o to All"}));
    QCOMPARE(2 - pendingModalAnswers(), questions);
    QCOMPARE(slurp(dest + "/Src/a.txt"), std::string(aReplaced ? "new a" : "old a, longer"));
    QCOMPARE(slurp(dest + "/Src/Sub/b.txt"), std::string(bReplaced ? "new b" : "old b"));
    QCOMPARE(r.endedAtOnce(), ends);
    // A file without a conflict still arrives, unless the program ended first.
    QCOMPARE(TempTree::exists(dest + "/Src/Sub/c.txt"), !ends);
    QCOMPARE(TempTree::exists(dest + "/later.txt"), !ends);
    if (ends) QVERIFY(!r.h.stored("Options", "LDU"));
}

void FolderTreeTest::allAnswersCarryIntoLaterFolder_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes to all") << 2;
    QTest::newRow("no to all") << 4;
}

void FolderTreeTest::allAnswersCarryIntoLaterFolder() {
    QFETCH(int, answer);
    TransferRun r;
    const std::string one = r.h.tree.file("One/x.txt", "new x");
    const std::string two = r.h.tree.file("Two/y.txt", "new y");
    const std::string single = r.h.tree.file("z.txt", "new z");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.tree.file("Dest/One/x.txt", "old x");
    r.h.tree.file("Dest/Two/y.txt", "old y");
    r.h.tree.file("Dest/z.txt", "old z");
    QVERIFY(r.start({r.h.tree.path("One"), r.h.tree.path("Two"), single}, dest));
    answerReplace(answer);
    // A plain file of the selection is still asked about in the message box.
    SeenMessage seen;
    answerMessageBox("Cancel", &seen);
    r.click();
    QCOMPARE(pendingModalAnswers(), 0);
    QVERIFY(seen.text.startsWith("z.txt already exists"));
    const std::string expected = answer == 2 ? "new y" : "old y";
    QCOMPARE(slurp(dest + "/Two/y.txt"), expected);
    QCOMPARE(r.w().YesToAll, answer == 2);
    QCOMPARE(r.w().NoToAll, answer == 4);
}

void FolderTreeTest::replaceDialogLayoutAndKeys() {
    TransferRun r;
    const std::string src = r.h.tree.file("Src/a.txt", "new");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.tree.file("Dest/Src/a.txt", "old");
    QVERIFY(r.start({r.h.tree.path("Src")}, dest));
    bool checked = false;
    onNextModal([&](QWidget* w) {
        auto* d = qobject_cast<frmReplace*>(w);
        QVERIFY(d != nullptr);
        QCOMPARE(d->windowTitle(), QString("Replace File?"));
        QCOMPARE(d->size(), QSize(411, 79));
        QCOMPARE(d->Label1->text(),
                 QString("There is already a file by this name... Do you want to replace this file?"));
        QCOMPARE(d->Label1->geometry(), QRect(52, 16, 329, 13));
        QVERIFY(!d->Image1->pixmap().isNull());
        const int lefts[5] = {311, 35, 103, 173, 243};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(d->Command1[i]->geometry(), QRect(lefts[i], 48, 65, 21));
            QVERIFY(!d->Command1[i]->isDefault());
        }
        // Neither Enter nor Esc answers.
        QTest::keyClick(d, Qt::Key_Escape);
        QTest::keyClick(d, Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(d->isVisible());
        checked = true;
        d->close();  // through the frame: the answer stays 0, as Cancel
    });
    r.click();
    QVERIFY(checked);
    QCOMPARE(r.w().ReplaceAnswer, std::int16_t{0});
    QVERIFY(r.endedAtOnce());
    QCOMPARE(slurp(dest + "/Src/a.txt"), std::string("old"));
}

void FolderTreeTest::moveWithSkippedFileKeepsItsFolders() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/a.txt", "a");
    r.h.tree.file("Src/Sub/b.txt", "new b");
    r.h.tree.dir("Src/Empty");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.tree.file("Dest/Src/Sub/b.txt", "old b");
    const std::string later = r.h.tree.file("later.txt", "later");
    QVERIFY(r.start({src, later}, dest, "&Move"));
    answerReplace(3);  // No for b.txt
    r.click();
    QVERIFY(!TempTree::exists(src + "/a.txt"));
    QCOMPARE(slurp(src + "/Sub/b.txt"), std::string("new b"));
    QCOMPARE(slurp(dest + "/Src/Sub/b.txt"), std::string("old b"));
    QVERIFY(!TempTree::exists(src + "/Empty"));  // emptied folders still go
    QVERIFY(fs::is_directory(dest + "/Src/Empty"));
    QVERIFY(TempTree::exists(src));
    QCOMPARE(slurp(dest + "/later.txt"), std::string("later"));
}

void FolderTreeTest::emptyAndFilelessFolders_data() {
    QTest::addColumn<bool>("move");
    QTest::newRow("copy") << false;
    QTest::newRow("move") << true;
}

void FolderTreeTest::emptyAndFilelessFolders() {
    QFETCH(bool, move);
    TransferRun r;
    const std::string empty = r.h.tree.dir("Empty");
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/A/B/x.txt", "x");  // nothing directly in A
    r.h.tree.dir("Src/A/Hollow");
    const std::string dest = r.h.tree.dir("Dest");
    QVERIFY(r.start({empty, src}, dest, move ? "&Move" : "&Copy"));
    r.click();
    QVERIFY(fs::is_directory(dest + "/Empty"));
    QCOMPARE(slurp(dest + "/Src/A/B/x.txt"), std::string("x"));
    QVERIFY(fs::is_directory(dest + "/Src/A/Hollow"));
    QCOMPARE(TempTree::exists(empty), !move);
    QCOMPARE(TempTree::exists(src), !move);
    QCOMPARE(pendingModalAnswers(), 0);
}

void FolderTreeTest::hiddenFilesTravel() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/.hidden", "h");
    r.h.tree.file("Src/Sub/.also", "a");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.tree.file("Dest/Src/Sub/.also", "old");
    QVERIFY(r.start({src}, dest, "&Move"));
    answerReplace(1);  // a hidden file of the same name is asked about too
    r.click();
    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(slurp(dest + "/Src/.hidden"), std::string("h"));
    QCOMPARE(slurp(dest + "/Src/Sub/.also"), std::string("a"));
    QVERIFY(!TempTree::exists(src));
}

void FolderTreeTest::copyIntoOwnSubfolder() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/a.txt", "a");
    r.h.tree.file("Src/Sub/b.txt", "b");
    QVERIFY(r.start({src}, src + "/Sub"));
    r.click();
    QCOMPARE(slurp(src + "/Sub/Src/a.txt"), std::string("a"));
    QCOMPARE(slurp(src + "/Sub/Src/Sub/b.txt"), std::string("b"));
    QVERIFY(!TempTree::exists(src + "/Sub/Src/Sub/Src"));  // the copies are not copied again
    QVERIFY(r.closed());
}

void FolderTreeTest::intoOwnParentLeftIntact_data() {
    QTest::addColumn<bool>("move");
    QTest::newRow("copy") << false;
    QTest::newRow("move") << true;
}

void FolderTreeTest::intoOwnParentLeftIntact() {
    QFETCH(bool, move);
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.patterned("Src/a.bin", 90000);
    r.h.tree.file("Src/Sub/b.txt", "b");
    const std::string later = r.h.tree.file("Other/later.txt", "later");
    QVERIFY(r.start({src, later}, r.h.tree.root(), move ? "&Move" : "&Copy"));
    SeenMessage seen;
    answerMessageBox("OK", &seen);
    r.click();
    QVERIFY(seen.text.contains("Src"));
    QCOMPARE(fs::file_size(src + "/a.bin"), std::uintmax_t{90000});
    QCOMPARE(slurp(src + "/Sub/b.txt"), std::string("b"));
    QCOMPARE(slurp(r.h.tree.path("later.txt")), std::string("later"));
}

void FolderTreeTest::specialEntriesInTreeReported() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    QCOMPARE(::mkfifo((src + "/pipe").c_str(), 0644), 0);
    fs::create_symlink(src + "/gone", src + "/dangling");
    r.h.tree.file("Src/a.txt", "a");
    const std::string dest = r.h.tree.dir("Dest");
    QVERIFY(r.start({src}, dest, "&Move"));
    SeenMessage m1, m2;
    answerMessageBox("OK", &m1);
    answerMessageBox("OK", &m2);
    r.click();
    QCOMPARE(pendingModalAnswers(), 0);
    const QString both = m1.text + m2.text;
    QVERIFY(both.contains("pipe"));
    QVERIFY(both.contains("dangling"));
    QCOMPARE(slurp(dest + "/Src/a.txt"), std::string("a"));
    // Both stay where they were, and so does the folder holding them.
    QVERIFY(TempTree::exists(src + "/pipe"));
    QVERIFY(TempTree::exists(src + "/dangling"));
    QVERIFY(!TempTree::exists(src + "/a.txt"));
}

void FolderTreeTest::folderNotCreatable_data() {
    QTest::addColumn<bool>("move");
    QTest::newRow("copy: each file reports") << false;
    QTest::newRow("move: stops there") << true;
}

void FolderTreeTest::folderNotCreatable() {
    QFETCH(bool, move);
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/a.txt", "a");
    r.h.tree.file("Src/Sub/b.txt", "b");
    r.h.tree.file("Src/Sub/c.txt", "c");
    r.h.tree.file("Src/Zed/d.txt", "d");
    const std::string later = r.h.tree.file("later.txt", "later");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.fs.failOn(Op::MakeDir, "Dest/Src/Sub", EACCES);
    QVERIFY(r.start({src, later}, dest, move ? "&Move" : "&Copy"));
    SeenMessage m1, m2;
    if (!move) {
        answerMessageBox("OK", &m1);
        answerMessageBox("OK", &m2);
    }
    r.click();
    QCOMPARE(pendingModalAnswers(), 0);
    if (!move) QCOMPARE(m1.text, QString::fromStdString(Error::fromErrno(ENOENT).description));
    QCOMPARE(slurp(dest + "/Src/a.txt"), std::string("a"));
    QVERIFY(!TempTree::exists(dest + "/Src/Sub"));
    // A copy goes on with the rest of the tree; a move ends at the folder.
    QCOMPARE(TempTree::exists(dest + "/Src/Zed/d.txt"), !move);
    QCOMPARE(TempTree::exists(src + "/a.txt"), !move);
    QVERIFY(TempTree::exists(src + "/Sub/b.txt"));
    QVERIFY(TempTree::exists(src + "/Zed/d.txt"));
    QCOMPARE(slurp(dest + "/later.txt"), std::string("later"));  // the walk goes on
}

void FolderTreeTest::sourceNotDeletableStopsMoveOnly() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.file("Src/a.txt", "a");
    r.h.tree.file("Src/b.txt", "b");
    const std::string later = r.h.tree.file("later.txt", "later");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.fs.failOn(Op::DeleteFile, "/Src/", EBUSY);
    QVERIFY(r.start({src, later}, dest, "&Move"));
    r.click();
    QCOMPARE(pendingModalAnswers(), 0);  // no message of its own
    // The first file was copied and kept; the move of the folder ended there.
    QVERIFY(TempTree::exists(src + "/a.txt"));
    QVERIFY(TempTree::exists(src + "/b.txt"));
    QCOMPARE(std::distance(fs::directory_iterator(dest + "/Src"), fs::directory_iterator()), 1);
    // The walk went on with the next entry.
    QCOMPARE(slurp(dest + "/later.txt"), std::string("later"));
    QVERIFY(!TempTree::exists(later));
}

void FolderTreeTest::diskFullInTreeMove() {
    TransferRun r;
    const std::string src = r.h.tree.dir("Src");
    r.h.tree.patterned("Src/big.bin", 120000);
    const std::string later = r.h.tree.file("later.txt", "later");
    const std::string dest = r.h.tree.dir("Dest");
    r.h.fs.diskFullAfter("Dest/Src/big.bin", 60000);
    QVERIFY(r.start({src, later}, dest, "&Move"));
    SeenMessage seen;
    answerMessageBox("OK", &seen);
    r.click();
    QCOMPARE(seen.text, QString::fromStdString(Error::fromErrno(ENOSPC).description));
    QCOMPARE(fs::file_size(src + "/big.bin"), std::uintmax_t{120000});
    QCOMPARE(slurp(dest + "/later.txt"), std::string("later"));
    QCOMPARE(r.h.fs.openHandles(), 0);
}

QTEST_MAIN(FolderTreeTest)
#include "folder_tree_uitest.moc"
