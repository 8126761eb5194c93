// The start-up sequence, the selection display and closing, on the real window.
#include <QMenu>

#include "AppSteps.h"
#include "app/ui/FileListBox.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// Creates the named items in the scratch tree and returns their paths as the
// file manager passes them: "x/" is a folder, "!x" a path that does not
// exist, "" an empty argument.
std::vector<std::string> makeItems(const TempTree& tree, const QStringList& names) {
    std::vector<std::string> args;
    for (const QString& n : names) {
        const std::string s = n.toStdString();
        args.push_back(s.empty()         ? s
                       : s[0] == '!'     ? tree.path(s.substr(1))
                       : s.back() == '/' ? tree.dir(s.substr(0, s.size() - 1))
                                         : tree.file(s, "data"));
    }
    return args;
}

QStringList numbered(int n) {
    QStringList names;
    for (int i = 0; i < n; ++i) names << QString("f%1.txt").arg(i, 2, 10, QChar('0'));
    return names;
}

// The selection display and the name the hidden file list selects (none for a folder).
QString shownEntry(frmFSMain& w) {
    return w.lblFileName->text() + "|" + QString::fromStdString(w.fileFSFile->FileName());
}
QString entry(const QString& line2, const QString& mode = "Copy") {
    return mode + "\r\n" + line2 + "\r\nTo:|" + (line2.endsWith('/') ? "" : line2.mid(1));
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }
    void startUp_data();
    void startUp();
    void scrollStopsAtBothEnds();
    void menusAndTabOrder();
    void exitStoresDestination();
};

void StartupTest::startUp_data() {
    QTest::addColumn<QStringList>("items");  // "broken.txt" cannot have its attributes read
    QTest::addColumn<QString>("shown");      // line 2 of the display; "box" or "silent" for a failed start-up
    QTest::addRow("one file") << QStringList{"Report.doc"} << "/Report.doc";
    QTest::addRow("three items") << QStringList{"b.txt", "Letters/", "a.txt"} << "/b.txt";
    QTest::addRow("a folder") << QStringList{"My Documents/"} << "/My Documents/";
    QTest::addRow("a hidden file") << QStringList{".profile"} << "/.profile";
    QTest::addRow("21 items") << numbered(21) << "/f00.txt";
    QTest::addRow("no arguments") << QStringList{} << "box";
    QTest::addRow("an empty argument") << QStringList{"a.txt", ""} << "box";
    QTest::addRow("a missing item") << QStringList{"a.txt", "!gone.txt", "b.txt"} << "box";
    QTest::addRow("missing 22nd item") << (numbered(21) << "!gone.txt") << "box";
    QTest::addRow("22 items") << numbered(22) << "silent";
    QTest::addRow("unreadable attributes") << QStringList{"a.txt", "broken.txt"} << "silent";
}

void StartupTest::startUp() {
    QFETCH(QStringList, items);
    QFETCH(QString, shown);
    MainHarness h;
    const auto args = makeItems(h.tree, items);
    h.fs.failOn(Op::Stat, "broken", EIO);
    SeenMessage seen;
    bool unexpected = false;
    if (shown == "box") answerMessageBox("OK", &seen);
    armUnexpected(&unexpected);
    const bool started = h.start(args);
    frmFSMain& w = h.window();
    QVERIFY(!unexpected);
    QCOMPARE(pendingModalAnswers(), 1);
    QCOMPARE(started, shown.startsWith('/'));
    QCOMPARE(w.isVisible(), started);
    if (!started) {
        QCOMPARE(boxOf(seen), shown == "box" ? okBox("Cannot find the specified source file.\r\n"
                                                     "Farsend 98 is meant to be run from the SendTo menu.\r\n"
                                                     "The program will abort.")
                                             : boxOf({}));
        QVERIFY(!h.endedWith);
        // The window still unloads: the destination is stored.
        QVERIFY(!w.dirFSDir->Path().empty());
        QCOMPARE(h.stored("Options", "LDU"), w.dirFSDir->Path());
        return;
    }
    QCOMPARE(std::vector<std::string>(w.SelectedFiles.begin(), w.SelectedFiles.begin() + w.FileCount), args);
    QCOMPARE(shownEntry(w), entry(shown));
    const bool several = items.size() > 1;
    QCOMPARE(w.cmdFileUp->isVisible() && w.cmdFileDn->isVisible(), several);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), several ? static_cast<QWidget*>(w.cmdFileDn) : w.Command2);
}

void StartupTest::scrollStopsAtBothEnds() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, numbered(21))));
    frmFSMain& w = h.window();
    QTest::mouseClick(w.cmdFileUp, Qt::LeftButton);
    QCOMPARE(shownEntry(w), entry("/f00.txt"));
    for (int i = 0; i < 20; ++i) QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(shownEntry(w), entry("/f20.txt"));
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(shownEntry(w), entry("/f20.txt"));
    QTest::mouseClick(w.cmdFileUp, Qt::LeftButton);
    QCOMPARE(shownEntry(w), entry("/f19.txt"));
    // The next scroll shows the mode caption as it is now; Space works the focused button.
    w.Command1[0]->setText("&Move");
    w.cmdFileDn->setFocus();
    QTest::keyClick(w.cmdFileDn, Qt::Key_Space);
    QCOMPARE(shownEntry(w), entry("/f20.txt", "Move"));
    QCOMPARE(w.CurrentFile, std::int16_t(20));
}

void StartupTest::menusAndTabOrder() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, {"a.txt", "b.txt"})));
    frmFSMain& w = h.window();
    QStringList seen;  // each entry as "caption|shortcut", a separator as "-"
    for (QMenu* m : {w.mnuAction, w.mnuHelp})
        for (QAction* a : m->actions()) seen << (a->isSeparator() ? "-" : a->text() + "|" + a->shortcut().toString());
    QVERIFY(!w.mnuHelp->separatorsCollapsible());  // both of its separators show
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.cmdFileDn->setFocus();
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(seen, (QStringList{"&Copy|Ctrl+C", "&Move|Ctrl+M", "-", "Create &Directory|Ctrl+D", "-", "E&xit|Ctrl+X",
                                "Farsend 98 &Help|", "&Options|", "-", "-", "&About|",  //
                                "Command2", "drvFSDrive", "dirFSDir", "Command1_1", "Command1_0", "cmdFileUp",
                                "Command3", "cmdFileDn"}));
}

void StartupTest::exitStoresDestination() {
    for (const bool byKey : {false, true}) {
        MainHarness h;
        h.preset("Options", "LDU", "/before");
        QVERIFY(h.start(makeItems(h.tree, {"a.txt"})));
        frmFSMain& w = h.window();
        const std::string dest = h.tree.dir("Dest");
        QVERIFY(w.dirFSDir->setPath(dest).ok());
        QVERIFY(QTest::qWaitForWindowActive(&w));
        if (byKey)
            QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        else
            w.mnuActionExit->trigger();
        QVERIFY2(!w.isVisible() && !h.endedWith, byKey ? "Ctrl+X" : "Exit");
        QCOMPARE(h.stored("Options", "LDU"), dest);
    }
}

QTEST_MAIN(StartupTest)
#include "startup_uitest.moc"
