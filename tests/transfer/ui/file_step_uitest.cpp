// The file step through the real main window: progress values, the
// "already exists" box, the rename input box, and the faults a copy meets.

#include <sys/stat.h>

#include <QtTest>
#include <filesystem>

#include "TransferUiTest.h"
#include "progress/CProgressBar.h"

using namespace farsend;
using namespace farsend::test;
namespace fs = std::filesystem;

class FileStepTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void progressValues_data();
    void progressValues();
    void barKeptBetweenFiles();
    void existsBoxAnswers_data();
    void existsBoxAnswers();
    void renameAcceptsProposedAndStopsWalk_data();
    void renameAcceptsProposedAndStopsWalk();
    void renameAsksAgainUntilUsable();
    void renameEmptyEndsAtOnce();
    void hiddenNameIsAConflict();
    void folderOfTheNameFailsWithPlatformText();
    void sameFileLeftIntact_data();
    void sameFileLeftIntact();
    void unreadableKindsReportedAndSkipped();
    void vanishedEntrySkipped();
    void readOnlySourceStaysAfterMove();
    void diskFullKeepsSourceAndWalkGoesOn();
    void readErrorReported();
    void executeBitsCarriedOver();
};

void FileStepTest::progressValues_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("two whole chunks") << qint64(50000) << QList<int>{50, 100};
    QTest::newRow("remainder without update") << qint64(60000) << QList<int>{42, 83};
    QTest::newRow("half to even") << qint64(200000) << QList<int>{12, 25, 38, 50, 62, 75, 88, 100};
    QTest::newRow("under one chunk") << qint64(24999) << QList<int>{};
    QTest::newRow("empty") << qint64(0) << QList<int>{};
}

void FileStepTest::progressValues() {
    QFETCH(qint64, size);
    QFETCH(QList<int>, expected);
    TransferRun r;
    const std::string src = r.h.tree.patterned("src/f.bin", size);
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({src}, dest));
    r.click();
    QCOMPARE(QList<int>(r.values.begin(), r.values.end()), expected);
    QVERIFY(TempTree::exists(dest + "/f.bin"));
    QCOMPARE(slurp(dest + "/f.bin"), slurp(src));
    QCOMPARE(r.w().lblFileName->text(), QString("Copying\r\nf.bin"));
    QVERIFY(r.closed());
    QCOMPARE(r.h.stored("Options", "LDU"), std::optional<std::string>(dest));
}

void FileStepTest::barKeptBetweenFiles() {
    TransferRun r;
    const std::string big = r.h.tree.patterned("src/big.bin", 60000);
    const std::string small = r.h.tree.patterned("src/small.bin", 10000, 2);
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({big, small}, dest));
    r.click();
    // The small file sets nothing, so the bar still shows the big one's 83.
    QCOMPARE(r.values, (std::vector<int>{42, 83}));
    QVERIFY(r.w().cpbProgress != nullptr);
    QCOMPARE(r.w().cpbProgress->Value(), 83);
    QCOMPARE(slurp(dest + "/small.bin"), slurp(small));
}

void FileStepTest::existsBoxAnswers_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("targetAfter");
    QTest::addColumn<bool>("sourceAfter");
    QTest::newRow("yes replaces, cut to length") << "Yes" << false << "new" << true;
    QTest::newRow("yes in move deletes the source") << "Yes" << true << "new" << false;
    QTest::newRow("cancel skips only this file") << "Cancel" << true << "old content, longer" << true;
}

void FileStepTest::existsBoxAnswers() {
    QFETCH(QString, answer);
    QFETCH(bool, move);
    QFETCH(QString, targetAfter);
    QFETCH(bool, sourceAfter);
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "new");
    const std::string b = r.h.tree.file("src/b.txt", "bee");
    const std::string dest = r.h.tree.dir("dest");
    r.h.tree.file("dest/a.txt", "old content, longer");
    QVERIFY(r.start({a, b}, dest, move ? "&Move" : "&Copy"));
    SeenMessage seen;
    answerMessageBox(answer, &seen);
    r.click();
    QCOMPARE(seen.text, QString("a.txt already exists... replace?\r\nNo to rename, Cancel to abort."));
    QCOMPARE(seen.title, QString("Farsend v. 3.0"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    seen.buttons.sort();
    QCOMPARE(seen.buttons, (QStringList{"Cancel", "No", "Yes"}));
    QCOMPARE(seen.defaultButton, QString("Yes"));
    QCOMPARE(QString::fromStdString(slurp(dest + "/a.txt")), targetAfter);
    QCOMPARE(TempTree::exists(a), sourceAfter);
    // The walk went on with the next entry either way.
    QCOMPARE(slurp(dest + "/b.txt"), std::string("bee"));
    QVERIFY(r.closed());
}

void FileStepTest::renameAcceptsProposedAndStopsWalk_data() {
    QTest::addColumn<bool>("move");
    QTest::newRow("copy") << false;
    QTest::newRow("move") << true;
}

void FileStepTest::renameAcceptsProposedAndStopsWalk() {
    QFETCH(bool, move);
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "mine");
    const std::string b = r.h.tree.file("src/b.txt", "bee");
    const std::string dest = r.h.tree.dir("dest");
    r.h.tree.file("dest/a.txt", "theirs");
    QVERIFY(r.start({a, b}, dest, move ? "&Move" : "&Copy"));
    answerMessageBox("No");
    QString prompt, title, proposed;
    onNextModal([&](QWidget* box) {
        auto* edit = box->findChild<QLineEdit*>();
        QVERIFY(edit != nullptr);
        proposed = edit->text();
        title = box->windowTitle();
        for (auto* l : box->findChildren<QLabel*>())
            if (!l->text().isEmpty()) prompt = l->text();
        QTest::keyClick(edit, Qt::Key_Return);  // accept the proposal as it stands
    });
    r.click();
    QCOMPARE(prompt, QString("Rename the file a.txt to:"));
    QCOMPARE(title, QString("Rename"));
    QCOMPARE(proposed, QString("Copy Of a.txt"));
    QCOMPARE(slurp(dest + "/Copy Of a.txt"), std::string("mine"));
    QCOMPARE(slurp(dest + "/a.txt"), std::string("theirs"));
    QCOMPARE(TempTree::exists(a), !move);
    QCOMPARE(r.w().lblFileName->text(), QString(move ? "Moving\r\nCopy Of a.txt" : "Copying\r\nCopy Of a.txt"));
    // A new name ends the walk: b.txt stays behind, and the window closes.
    QVERIFY(!TempTree::exists(dest + "/b.txt"));
    QVERIFY(r.closed());
}

void FileStepTest::renameAsksAgainUntilUsable() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "mine");
    const std::string dest = r.h.tree.dir("dest");
    r.h.tree.file("dest/a.txt", "theirs");
    r.h.tree.file("dest/taken.txt", "taken");
    r.h.tree.file("outside.txt", "outside");
    QVERIFY(r.start({a}, dest));
    answerMessageBox("No");
    // The same name, a path out of the folder, dot names and an existing
    // file all bring the box back; another letter case is a new name.
    int asked = 0;
    for (const char* typed : {"a.txt", "../outside.txt", "sub/x.txt", ".", "..", "taken.txt", "A.TXT"}) {
        onNextModal([&asked, typed = QString(typed)](QWidget* box) {
            ++asked;
            auto* edit = box->findChild<QLineEdit*>();
            QCOMPARE(edit->text(), QString("Copy Of a.txt"));
            edit->selectAll();
            edit->del();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }
    r.click();
    QCOMPARE(asked, 7);
    QCOMPARE(slurp(dest + "/A.TXT"), std::string("mine"));
    QCOMPARE(slurp(dest + "/a.txt"), std::string("theirs"));
    QCOMPARE(slurp(dest + "/taken.txt"), std::string("taken"));
    QCOMPARE(slurp(r.h.tree.path("outside.txt")), std::string("outside"));
    QVERIFY(r.closed());
}

void FileStepTest::renameEmptyEndsAtOnce() {
    for (const bool cancel : {true, false}) {
        TransferRun r;
        const std::string a = r.h.tree.file("src/a.txt", "mine");
        const std::string b = r.h.tree.file("src/b.txt", "bee");
        const std::string dest = r.h.tree.dir("dest");
        r.h.tree.file("dest/a.txt", "theirs");
        QVERIFY(r.start({a, b}, dest));
        answerMessageBox("No");
        answerInputBox("", !cancel);  // Cancel, or OK on an emptied text
        r.click();
        QCOMPARE(r.h.endedWith, std::optional<int>(0));
        QVERIFY(!TempTree::exists(dest + "/b.txt"));
        QCOMPARE(slurp(dest + "/a.txt"), std::string("theirs"));
        QVERIFY(!r.h.stored("Options", "LDU"));  // the closing steps did not run
        QVERIFY(r.w().isVisible());
        clearModalAnswers();
    }
}

void FileStepTest::hiddenNameIsAConflict() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/.profile", "mine");
    const std::string dest = r.h.tree.dir("dest");
    r.h.tree.file("dest/.profile", "theirs");
    QVERIFY(r.start({a}, dest));
    SeenMessage seen;
    answerMessageBox("Cancel", &seen);
    r.click();
    QCOMPARE(seen.text.left(35), QString(".profile already exists... replace?"));
    QCOMPARE(slurp(dest + "/.profile"), std::string("theirs"));
}

void FileStepTest::folderOfTheNameFailsWithPlatformText() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "mine");
    const std::string dest = r.h.tree.dir("dest");
    r.h.tree.dir("dest/a.txt");
    QVERIFY(r.start({a}, dest, "&Move"));
    SeenMessage seen;
    answerMessageBox("OK", &seen);  // no question first: straight to the copy's failure
    r.click();
    QCOMPARE(seen.text, QString::fromStdString(Error::fromErrno(EISDIR).description));
    QCOMPARE(seen.title, QString("Farsend 98"));
    QCOMPARE(seen.buttons, QStringList{"OK"});
    QVERIFY(TempTree::exists(a));  // the source stays
    QCOMPARE(pendingModalAnswers(), 0);
}

void FileStepTest::sameFileLeftIntact_data() {
    QTest::addColumn<bool>("move");
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("copy, same folder") << false << false;
    QTest::newRow("move, same folder") << true << false;
    QTest::newRow("move, folder reached through a link") << true << true;
}

void FileStepTest::sameFileLeftIntact() {
    QFETCH(bool, move);
    QFETCH(bool, throughLink);
    TransferRun r;
    const std::string a = r.h.tree.patterned("src/a.bin", 70000);
    const std::string b = r.h.tree.file("other/b.txt", "bee");
    std::string dest = r.h.tree.path("src");
    if (throughLink) {
        fs::create_directory_symlink(dest, r.h.tree.path("alias"));
        dest = r.h.tree.path("alias");
    }
    QVERIFY(r.start({a, b}, dest, move ? "&Move" : "&Copy"));
    SeenMessage seen;
    answerMessageBox("OK", &seen);
    r.click();
    QVERIFY(seen.text.contains("a.bin"));
    QCOMPARE(seen.title, QString("Farsend 98"));
    QCOMPARE(fs::file_size(a), std::uintmax_t{70000});
    QCOMPARE(slurp(a)[69999], patternByte(69999, 1));
    QCOMPARE(slurp(r.h.tree.path("src/b.txt")), std::string("bee"));  // the walk went on
}

void FileStepTest::unreadableKindsReportedAndSkipped() {
    TransferRun r;
    const std::string fifo = r.h.tree.path("src/pipe");
    r.h.tree.dir("src");
    QCOMPARE(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string dangling = r.h.tree.path("src/dangling");
    fs::create_symlink(r.h.tree.path("src/nowhere"), dangling);
    const std::string b = r.h.tree.file("src/b.txt", "bee");
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({fifo, dangling, b}, dest, "&Move"));
    SeenMessage first, second;
    answerMessageBox("OK", &first);
    answerMessageBox("OK", &second);
    r.click();  // would hang for ever if the pipe were opened
    QVERIFY(first.text.contains("pipe"));
    QVERIFY(second.text.contains("dangling"));
    QVERIFY(TempTree::exists(fifo));
    QVERIFY(TempTree::exists(dangling));
    QVERIFY(!TempTree::exists(dest + "/pipe"));
    QCOMPARE(slurp(dest + "/b.txt"), std::string("bee"));
}

void FileStepTest::vanishedEntrySkipped() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "a");
    const std::string b = r.h.tree.file("src/b.txt", "bee");
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({a, b}, dest));
    fs::remove(a);
    r.click();
    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(slurp(dest + "/b.txt"), std::string("bee"));
    QVERIFY(r.closed());
}

void FileStepTest::readOnlySourceStaysAfterMove() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/a.txt", "ro");
    fs::permissions(a, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({a}, dest, "&Move"));
    r.click();
    QVERIFY(TempTree::exists(a));
    QCOMPARE(slurp(dest + "/a.txt"), std::string("ro"));
    QVERIFY(r.closed());
}

void FileStepTest::diskFullKeepsSourceAndWalkGoesOn() {
    TransferRun r;
    const std::string a = r.h.tree.patterned("src/a.bin", 100000);
    const std::string b = r.h.tree.file("src/b.txt", "bee");
    const std::string dest = r.h.tree.dir("dest");
    r.h.fs.diskFullAfter("dest/a.bin", 30000);
    QVERIFY(r.start({a, b}, dest, "&Move"));
    SeenMessage seen;
    answerMessageBox("OK", &seen);
    r.click();
    QCOMPARE(seen.text, QString::fromStdString(Error::fromErrno(ENOSPC).description));
    QCOMPARE(seen.title, QString("Farsend 98"));
    QVERIFY(TempTree::exists(a));
    QCOMPARE(fs::file_size(a), std::uintmax_t{100000});
    QVERIFY(!TempTree::exists(b));  // moved: the walk went on
    QCOMPARE(slurp(dest + "/b.txt"), std::string("bee"));
    QCOMPARE(r.h.fs.openHandles(), 0);
}

void FileStepTest::readErrorReported() {
    TransferRun r;
    const std::string a = r.h.tree.patterned("src/a.bin", 80000);
    const std::string dest = r.h.tree.dir("dest");
    r.h.fs.failOn(Op::Read, "src/a.bin", EIO, 1);
    QVERIFY(r.start({a}, dest, "&Move"));
    SeenMessage seen;
    answerMessageBox("OK", &seen);
    r.click();
    QCOMPARE(seen.text, QString::fromStdString(Error::fromErrno(EIO).description));
    QVERIFY(TempTree::exists(a));
    QCOMPARE(r.h.fs.openHandles(), 0);
}

void FileStepTest::executeBitsCarriedOver() {
    TransferRun r;
    const std::string a = r.h.tree.file("src/run.sh", "#!/bin/sh\n");
    fs::permissions(a, fs::perms::owner_exec, fs::perm_options::add);
    const std::string dest = r.h.tree.dir("dest");
    QVERIFY(r.start({a}, dest));
    r.click();
    QVERIFY((fs::status(dest + "/run.sh").permissions() & fs::perms::owner_exec) != fs::perms::none);
}

QTEST_MAIN(FileStepTest)
#include "file_step_uitest.moc"
