// The start-up sequence, the selection display and closing, on the real window.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cerrno>

#include "AppSteps.h"
#include "app/ui/DirListBox.h"
#include "app/ui/FileListBox.h"
#include "support/ui/MainHarness.h"

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
    QCOMPARE(w.CurrentFile, std::int16_t(0));
    QCOMPARE(w.lblFileName->text(), display("Copy", shown));
    // The hidden file list selects the file's own name, nothing for a folder.
    QCOMPARE(QString::fromStdString(w.fileFSFile->FileName()), shown.endsWith('/') ? "" : shown.mid(1));
    const bool several = items.size() > 1;
    QCOMPARE(w.cmdFileUp->isVisible() && w.cmdFileDn->isVisible(), several);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), several ? static_cast<QWidget*>(w.cmdFileDn) : w.Command2);
}

void StartupTest::scrollStopsAtBothEnds() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, numbered(21))));
    frmFSMain& w = h.window();
    const auto state = [&] {
        return QString("%1 %2 %3")
            .arg(w.CurrentFile)
            .arg(w.lblFileName->text(), QString::fromStdString(w.fileFSFile->FileName()));
    };
    const auto entry = [](int i, const QString& mode = "Copy") {
        const QString name = QString("f%1.txt").arg(i, 2, 10, QChar('0'));
        return QString("%1 %2 %3").arg(i).arg(display(mode, "/" + name), name);
    };
    QTest::mouseClick(w.cmdFileUp, Qt::LeftButton);
    QCOMPARE(state(), entry(0));
    for (int i = 0; i < 20; ++i) QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(state(), entry(20));
    QTest::mouseClick(w.cmdFileDn, Qt::LeftButton);
    QCOMPARE(state(), entry(20));
    QTest::mouseClick(w.cmdFileUp, Qt::LeftButton);
    QCOMPARE(state(), entry(19));
    // The next scroll shows the mode caption as it is now; Space works the focused button.
    w.Command1[0]->setText("&Move");
    w.cmdFileDn->setFocus();
    QTest::keyClick(w.cmdFileDn, Qt::Key_Space);
    QCOMPARE(state(), entry(20, "Move"));
}

void StartupTest::menusAndTabOrder() {
    MainHarness h;
    QVERIFY(h.start(makeItems(h.tree, {"a.txt", "b.txt"})));
    frmFSMain& w = h.window();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QStringList seen;  // each entry as "caption|shortcut"; a separator the menu shows as "-"
    for (const char* name : {"mnuAction", "mnuHelp"}) {
        auto* m = w.findChild<QMenu*>(name);
        QVERIFY(m != nullptr);
        m->popup(w.geometry().center());
        QVERIFY(QTest::qWaitForWindowExposed(m));
        for (QAction* a : m->actions())
            if (!a->isSeparator())
                seen << a->text() + "|" + a->shortcut().toString();
            else if (!m->actionGeometry(a).isEmpty())
                seen << "-";
        m->hide();
    }
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
