// The Create New Directory dialog, opened from the real main window.
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "AppSteps.h"
#include "app/Chooser.h"
#include "app/ui/DirListBox.h"
#include "app/ui/frmNewDir.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

using namespace farsend;
using namespace farsend::test;

namespace {

struct Seen {
    QString label;
    QString title;
    bool ownerless = false;
    QSize size;
    QPoint offCentre;
    bool focusOnName = false;
    QString nameAfterError;  // what the name box held when the dialog came back
};

// Answers the dialog: types name and finishes with how ("ok", "enter",
// "cancel", "esc"). The finishing key or click is sent from the event
// loop, so a message box it brings up can be answered too.
void answerNewDir(const QString& name, const QString& how, Seen* seen) {
    onNextModal([=](QWidget* w) {
        auto* d = qobject_cast<frmNewDir*>(w);
        if (d == nullptr) {
            if (auto* other = qobject_cast<QDialog*>(w)) other->reject();
            QFAIL("expected the Create New Directory dialog");
        }
        seen->label = d->lblUpperPath->text();
        seen->title = d->windowTitle();
        seen->ownerless = d->parentWidget() == nullptr;
        seen->size = d->size();
        seen->offCentre = d->frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        // The window system hands the focus over a little later; the dialog's
        // own choice of focus is what counts.
        seen->focusOnName = d->focusWidget() == d->txtNewName;
        QTest::keyClicks(d->txtNewName, name);
        later([d, how] {
            if (how == "ok")
                QTest::mouseClick(d->cmdOK, Qt::LeftButton);
            else if (how == "enter")
                QTest::keyClick(d->txtNewName, Qt::Key_Return);
            else if (how == "cancel")
                QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
            else
                QTest::keyClick(d->txtNewName, Qt::Key_Escape);
        });
    });
}

// Answers the dialog once it is back after a message: notes the name it
// kept, then cancels.
void cancelReturnedDialog(Seen* seen) {
    onNextModal([seen](QWidget* w) {
        auto* d = qobject_cast<frmNewDir*>(w);
        if (d == nullptr) {
            if (auto* other = qobject_cast<QDialog*>(w)) other->reject();
            QFAIL("expected the dialog to stay open");
        }
        seen->nameAfterError = d->txtNewName->text();
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
}

std::size_t entriesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

}  // namespace

class NewDirTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void createsAndEnters_data();
    void createsAndEnters();
    void rootShowsOneSeparator();
    void cancelCreatesNothing_data();
    void cancelCreatesNothing();
    void failureKeepsDialogOpen_data();
    void failureKeepsDialogOpen();
};

void NewDirTest::createsAndEnters_data() {
    QTest::addColumn<QString>("dest");  // below the scratch volume; empty for its root
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("boxes");  // word-check boxes for the new folder
    QTest::newRow("at the volume root") << ""
                                        << "Work"
                                        << "ok" << 0;
    QTest::newRow("below a folder") << "Data"
                                    << "Work"
                                    << "ok" << 0;
    QTest::newRow("Enter presses OK") << "Data"
                                      << "Work"
                                      << "enter" << 0;
    QTest::newRow("blanks kept") << "Data"
                                 << " My Work "
                                 << "ok" << 0;
    QTest::newRow("word check runs") << "Data"
                                     << "porn"
                                     << "ok" << 1;
}

void NewDirTest::createsAndEnters() {
    QFETCH(QString, dest);
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(int, boxes);
    MainHarness h;
    const std::string vol = h.tree.dir("vol");
    h.fakeVolumes.emplace(std::vector<Volume>{{vol, ""}});
    const std::string parent = dest.isEmpty() ? vol : h.tree.dir("vol/" + dest.toStdString());
    QVERIFY(h.start({h.tree.file("item.txt")}));
    QVERIFY(h.window().dirFSDir->setPath(parent).ok());

    Seen seen;
    answerNewDir(name, how, &seen);
    std::vector<SeenMessage> words(static_cast<std::size_t>(boxes));
    for (auto& m : words) answerMessageBox("OK", &m);
    QTest::mouseClick(h.window().Command3, Qt::LeftButton);

    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(seen.label, QString::fromStdString(parent + "/"));
    QCOMPARE(seen.title, QString("Create New Directory"));
    QVERIFY(seen.ownerless);
    QVERIFY(seen.focusOnName);
    QCOMPARE(seen.size, QSize(255, 107));
    QVERIFY2(seen.offCentre.manhattanLength() <= 6,
             qPrintable(QString("%1,%2").arg(seen.offCentre.x()).arg(seen.offCentre.y())));
    const std::string made = parent + "/" + name.toStdString();
    QVERIFY(std::filesystem::is_directory(made));
    QCOMPARE(h.window().dirFSDir->Path(), made);
    for (const SeenMessage& m : words) QCOMPARE(m.text, QString("Naughty Naughty!!"));
}

void NewDirTest::rootShowsOneSeparator() {
    MainHarness h;
    QVERIFY(h.start({h.tree.file("item.txt")}));
    QVERIFY(h.window().dirFSDir->setPath("/").ok());
    Seen seen;
    answerNewDir("", "esc", &seen);
    h.window().mnuActionCreateDir->trigger();
    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(seen.label, QString("/"));
    QCOMPARE(h.window().dirFSDir->Path(), std::string("/"));
}

void NewDirTest::cancelCreatesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Esc") << "esc";
}

void NewDirTest::cancelCreatesNothing() {
    QFETCH(QString, how);
    MainHarness h;
    const std::string data = h.tree.dir("Data");
    QVERIFY(h.start({h.tree.file("item.txt")}));
    QVERIFY(h.window().dirFSDir->setPath(data).ok());
    Seen seen;
    answerNewDir("Work", how, &seen);
    h.window().mnuActionCreateDir->trigger();
    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(entriesIn(data), std::size_t(0));
    QCOMPARE(h.window().dirFSDir->Path(), data);
    QCOMPARE(h.fs.calls(Op::MakeDir), 0);
}

void NewDirTest::failureKeepsDialogOpen_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("injected");  // errno for creating "Work"; 0 for none
    QTest::addColumn<QString>("message");
    QTest::newRow("no right") << "Work" << EACCES << QString(std::strerror(EACCES));
    QTest::newRow("no room") << "Work" << ENOSPC << QString(std::strerror(ENOSPC));
    QTest::newRow("existing name") << "Old" << 0 << QString(std::strerror(EEXIST));
    QTest::newRow("empty name") << "" << 0 << QString(std::strerror(EEXIST));
    QTest::newRow("a separator") << "a/b" << 0 << QString(kFolderNameRefusal);
    QTest::newRow("up and out") << "../escape" << 0 << QString(kFolderNameRefusal);
    QTest::newRow("dot dot") << ".." << 0 << QString(kFolderNameRefusal);
    QTest::newRow("dot") << "." << 0 << QString(kFolderNameRefusal);
}

void NewDirTest::failureKeepsDialogOpen() {
    QFETCH(QString, name);
    QFETCH(int, injected);
    QFETCH(QString, message);
    MainHarness h;
    const std::string data = h.tree.dir("vol/Data");
    h.tree.dir("vol/Data/Old");
    h.tree.dir("vol/Data/a");
    QVERIFY(h.start({h.tree.file("item.txt")}));
    QVERIFY(h.window().dirFSDir->setPath(data).ok());
    if (injected != 0) h.fs.failOn(Op::MakeDir, "Work", injected);

    Seen seen;
    SeenMessage box;
    answerNewDir(name, "ok", &seen);
    answerMessageBox("OK", &box);
    cancelReturnedDialog(&seen);
    QTest::mouseClick(h.window().Command3, Qt::LeftButton);

    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(box.text, message);
    QCOMPARE(box.title, QString("Farsend 98"));
    QCOMPARE(box.buttons, QStringList{"OK"});
    QCOMPARE(seen.nameAfterError, name);
    QCOMPARE(h.window().dirFSDir->Path(), data);
    QCOMPARE(entriesIn(data), std::size_t(2));  // Old and a, nothing new
    QCOMPARE(entriesIn(h.tree.path("vol/Data/a")), std::size_t(0));
    QCOMPARE(entriesIn(h.tree.path("vol")), std::size_t(1));  // nothing escaped upwards
}

QTEST_MAIN(NewDirTest)
#include "newdir_uitest.moc"
