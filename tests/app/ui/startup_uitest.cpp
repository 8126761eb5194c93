// The start-up sequence, the selection display and closing, on the real window.
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cerrno>

#include "AppSteps.h"
#include "app/ui/DirListBox.h"
#include "app/ui/FileListBox.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

using namespace farsend;
using namespace farsend::test;

namespace {

const QString kCannotFind =
    "Cannot find the specified source file.\r\n"
    "Farsend 98 is meant to be run from the SendTo menu.\r\n"
    "The program will abort.";

// Creates the named items in the scratch tree (a trailing "/" makes a
// folder) and returns their paths as the file manager passes them.
std::vector<std::string> makeItems(const TempTree& tree, const QStringList& names) {
    std::vector<std::string> args;
    for (const QString& n : names) {
        std::string name = n.toStdString();
        if (name.empty() || name.front() == '!') {  // "!x": a path that does not exist; "": an empty argument
            args.push_back(name.empty() ? name : tree.path(name.substr(1)));
        } else if (name.back() == '/') {
            name.pop_back();
            args.push_back(tree.dir(name));
        } else {
            args.push_back(tree.file(name, "data"));
        }
    }
    return args;
}

QString display(const QString& mode, const QString& line2) { return mode + "\r\n" + line2 + "\r\nTo:"; }

QStringList numbered(int n) {
    QStringList names;
    for (int i = 0; i < n; ++i) names << QString("f%1.txt").arg(i, 2, 10, QChar('0'));
    return names;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void startsWithEntryZero_data();
    void startsWithEntryZero();
    void missingItemEndsWithMessage_data();
    void missingItemEndsWithMessage();
    void otherFailuresEndSilently_data();
    void otherFailuresEndSilently();
    void scrollStopsAtBothEnds();
    void nextScrollShowsNewModeWord();
    void vanishedEntryShowsItsLastComponent();
    void tabOrderFollowsDesign();
    void menusAsDesigned_data();
    void menusAsDesigned();
    void exitStoresDestination_data();
    void exitStoresDestination();
};

void StartupTest::startsWithEntryZero_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("fileName");  // what the hidden file list selects

    QTest::newRow("one file") << QStringList{"Report.doc"} << "/Report.doc"
                              << "Report.doc";
    QTest::newRow("three items") << QStringList{"b.txt", "Letters/", "a.txt"} << "/b.txt"
                                 << "b.txt";
    QTest::newRow("a folder") << QStringList{"Letters/"} << "/Letters/"
                              << "";
    QTest::newRow("a hidden file") << QStringList{".profile"} << "/.profile"
                                   << ".profile";
    QTest::newRow("a name with blanks") << QStringList{"My Documents/"} << "/My Documents/"
                                        << "";
    QTest::newRow("21 items") << numbered(21) << "/f00.txt"
                              << "f00.txt";
}

void StartupTest::startsWithEntryZero() {
    QFETCH(QStringList, items);
    QFETCH(QString, shown);
    QFETCH(QString, fileName);
    MainHarness h;
    const auto args = makeItems(h.tree, items);
    bool unexpected = false;
    armUnexpected(&unexpected);

    QVERIFY(h.start(args));
    frmFSMain& w = h.window();
    QVERIFY(!unexpected);
    QVERIFY(w.isVisible());
    QCOMPARE(w.FileCount, static_cast<std::int16_t>(items.size()));
    for (std::size_t i = 0; i < args.size(); ++i) QCOMPARE(w.SelectedFiles[i], args[i]);
    QCOMPARE(w.CurrentFile, std::int16_t(0));
    QCOMPARE(w.lblFileName->text(), display("Copy", shown));
    QCOMPARE(QString::fromStdString(w.fileFSFile->FileName()), fileName);
    QCOMPARE(w.lblStatus->text(), QString());
    const bool several = items.size() > 1;
    QCOMPARE(w.cmdFileUp->isVisible(), several);
    QCOMPARE(w.cmdFileDn->isVisible(), several);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), several ? static_cast<QWidget*>(w.cmdFileDn) : w.Command2);
    QVERIFY(!w.dirFSDir->Path().empty());

    // Centred; the window frame is only known once shown, so allow for it.
    const QPoint offCentre = w.frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 6,
             qPrintable(QString("off by %1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void StartupTest::missingItemEndsWithMessage_data() {
    QTest::addColumn<QStringList>("items");
    QTest::newRow("no arguments") << QStringList{};
    QTest::newRow("an empty argument") << QStringList{"a.txt", ""};
    QTest::newRow("a missing item") << QStringList{"a.txt", "!gone.txt", "b.txt"};
    QTest::newRow("missing 22nd item") << (numbered(21) << "!gone.txt");
}

void StartupTest::missingItemEndsWithMessage() {
    QFETCH(QStringList, items);
    MainHarness h;
    const auto args = makeItems(h.tree, items);
    SeenMessage seen;
    answerMessageBox("OK", &seen);

    QVERIFY(!h.start(args));
    QCOMPARE(pendingModalAnswers(), 0);
    QCOMPARE(seen.text, kCannotFind);
    QCOMPARE(seen.title, QString("Farsend 98"));
    QCOMPARE(seen.buttons, QStringList{"OK"});
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QVERIFY(!h.window().isVisible());
    QVERIFY(!h.endedWith);
    // The window still unloaded: the destination is stored.
    QVERIFY(!h.window().dirFSDir->Path().empty());
    QCOMPARE(h.stored("Options", "LDU"), h.window().dirFSDir->Path());
}

void StartupTest::otherFailuresEndSilently_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("statFault");  // errno injected on reading "broken"'s attributes
    QTest::newRow("22 items") << numbered(22) << 0;
    QTest::newRow("unreadable attributes") << QStringList{"a.txt", "broken.txt"} << EIO;
}

void StartupTest::otherFailuresEndSilently() {
    QFETCH(QStringList, items);
    QFETCH(int, statFault);
    MainHarness h;
    const auto args = makeItems(h.tree, items);
    if (statFault != 0) h.fs.failOn(Op::Stat, "broken", statFault);
    bool unexpected = false;
    armUnexpected(&unexpected);

    QVERIFY(!h.start(args));
    QVERIFY(!unexpected);
    QCOMPARE(pendingModalAnswers(), 1);
    QVERIFY(!h.window().isVisible());
    QCOMPARE(h.stored("Options", "LDU"), h.window().dirFSDir->Path());
}

void StartupTest::scrollStopsAtBothEnds() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, numbered(21))));
    frmFSMain& w = h.window();
    // Shows entry i, with the hidden file list pointing at it.
    auto shows = [&](int i) {
        const QString name = QString("f%1.txt").arg(i, 2, 10, QChar('0'));
        return w.CurrentFile == i && w.lblFileName->text() == display("Copy", "/" + name) &&
               w.fileFSFile->FileName() == name.toStdString();
    };
    QTest::mouseClick(w.cmdFileUp, Qt::LeftButton);
    QVERIFY(shows(0));
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QVERIFY(shows(1));
    for (int i = 0; i < 19; ++i) QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QVERIFY(shows(20));
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QVERIFY(shows(20));
    QTest::mouseClick(w.cmdFileUp, Qt::LeftButton);
    QVERIFY(shows(19));
    // The keyboard reaches them as well: the focused Down button takes Space.
    w.cmdFileDn->setFocus();
    QTest::keyClick(w.cmdFileDn, Qt::Key_Space);
    QVERIFY(shows(20));
}

void StartupTest::nextScrollShowsNewModeWord() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, {"a.txt", "Letters/"})));
    frmFSMain& w = h.window();
    w.Command1[0]->setText("&Move");
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(w.lblFileName->text(), display("Move", "/Letters/"));
}

void StartupTest::vanishedEntryShowsItsLastComponent() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, {"a.txt", "Letters/", "b.txt"})));
    frmFSMain& w = h.window();
    std::filesystem::remove(h.tree.path("Letters"));
    std::filesystem::remove(h.tree.path("b.txt"));
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(w.lblFileName->text(), display("Copy", "/Letters"));
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(w.lblFileName->text(), display("Copy", "/b.txt"));
    QVERIFY(w.isVisible());
    QVERIFY(!h.endedWith);
}

void StartupTest::tabOrderFollowsDesign() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, {"a.txt", "b.txt"})));
    frmFSMain& w = h.window();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.cmdFileDn));
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"Command2", "drvFSDrive", "dirFSDir", "Command1_1", "Command1_0", "cmdFileUp",
                                   "Command3", "cmdFileDn"}));
}

void StartupTest::menusAsDesigned_data() {
    // Each entry as "caption|shortcut", a separator as "-"; a separator that
    // the menu would fold into its neighbour does not count.
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("Action") << "mnuAction"
                            << QStringList{"&Copy|Ctrl+C", "&Move|Ctrl+M", "-", "Create &Directory|Ctrl+D", "-",
                                           "E&xit|Ctrl+X"};
    QTest::newRow("Help") << "mnuHelp" << QStringList{"Farsend 98 &Help|", "&Options|", "-", "-", "&About|"};
}

void StartupTest::menusAsDesigned() {
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, {"a.txt"})));
    auto* m = h.window().findChild<QMenu*>(menu);
    QVERIFY(m != nullptr);
    m->popup(h.window().geometry().center());
    QVERIFY(QTest::qWaitForWindowExposed(m));
    QStringList shown;
    for (QAction* a : m->actions()) {
        if (a->isSeparator()) {
            if (!m->actionGeometry(a).isEmpty()) shown << "-";
        } else {
            shown << a->text() + "|" + a->shortcut().toString();
        }
    }
    m->hide();
    QCOMPARE(shown, entries);
}

void StartupTest::exitStoresDestination_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit menu entry") << "menu";
    QTest::newRow("Ctrl+X") << "ctrl+x";
    QTest::newRow("Exit button") << "button";
    QTest::newRow("Enter on the Exit button") << "enter";
}

void StartupTest::exitStoresDestination() {
    QFETCH(QString, how);
    MainHarness h;
    h.preset("Options", "LDU", "/before");
    QVERIFY(h.start(makeItems(h.tree, {"a.txt"})));
    frmFSMain& w = h.window();
    const std::string dest = h.tree.dir("Dest");
    QVERIFY(w.dirFSDir->setPath(dest).ok());
    QVERIFY(QTest::qWaitForWindowActive(&w));

    if (how == "menu")
        w.mnuActionExit->trigger();
    else if (how == "ctrl+x")
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
    else if (how == "button")
        QTest::mouseClick(w.Command1[1], Qt::LeftButton);
    else {
        w.Command1[1]->setFocus();
        QTest::keyClick(w.Command1[1], Qt::Key_Return);
    }
    QVERIFY(!w.isVisible());
    QCOMPARE(h.stored("Options", "LDU"), dest);
    QVERIFY(!h.endedWith);
}

QTEST_MAIN(StartupTest)
#include "startup_uitest.moc"
