// The main window (start-up, selection display, destination chooser, menus,
// keys, the Copy/Move command, closing) and the dialogs it opens, Replace
// File? among them; where the desktop's system-information program is found;
// and every window under each sans serif that Debian desktops bring, at scale
// 1 and 2: no caption, label, list entry or button text is cut, and every
// text is in the desktop's family at the forms' size.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QUrl>

#include "about/ui/DesktopSysInfo.h"
#include "app/Chooser.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/FileListBox.h"
#include "app/ui/FittedLabel.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/Twips.h"
#include "prefs/LoadSettings.h"
#include "support/ui/MainHarness.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// The selection display, and the name the hidden file list selects (none for a folder).
QString shown(frmFSMain& w) {
    return child<QLabel>(w, "lblFileName")->text().replace("\r\n", " ") + "|" +
           QString::fromStdString(child<FileListBox>(w, "fileFSFile")->FileName());
}

DirListBox* folders(frmFSMain& w) { return child<DirListBox>(w, "dirFSDir"); }
DriveListBox* drives(frmFSMain& w) { return child<DriveListBox>(w, "drvFSDrive"); }

// A shortcut of the window, pressed once the window has the keyboard (back).
void shortcut(frmFSMain& w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    w.activateWindow();
    (void)QTest::qWaitForWindowActive(&w);
    QTest::keyClick(&w, key, modifiers);
}

const char* const kNaughty = "message Easter Egg!: Naughty Naughty!!";

using H = MainHarness&;
using L = const std::function<void(QWidget*)>&;
// On a stick with a long mount point and a label, which both drive lists show.
const std::string kStick = "media/user/SanDisk Extreme", kLabel = "SanDisk Extreme";
const std::string kDeep = kStick + "/Documents/Projects 2024/Quarterly Reports/Final Versions for the Board";
const std::string kName = "Annual_Financial_Statement_2024_final_approved_v3.xlsx";
const std::string kExists = kName + " already exists... replace?\r\nNo to rename, Cancel to abort.";

// Dialogs are modal: each is looked at, then closed, from inside.
const auto prompted = [](L look) { onNextModal([look](QWidget* w) { look(w), w->close(); }); };

// Each window as the user opens it, with the destination deep down.
const std::vector<std::pair<const char*, void (*)(H, L)>> kWindows{
    {"main", [](H h, L look) { look(&h.window()); }},
    {"main pressed", [](H h, L look) { h.window().Command1_MouseDown(0, Qt::LeftButton), look(&h.window()); }},
    {"new dir", [](H h, L look) { prompted(look), click(child(h.window(), "Command3")); }},
    {"favorites", [](H h, L look) { prompted(look), click(child(h.window(), "Command2")); }},
    {"options", [](H h, L look) { prompted(look), child<QAction>(h.window(), "mnuHelpOptions")->trigger(); }},
    {"about", [](H h, L look) { prompted(look), child<QAction>(h.window(), "mnuHelpAbout")->trigger(); }},
    {"replace", [](H, L look) { prompted(look), QtPrompts().askReplace(); }},
    {"conflict", [](H, L look) { prompted(look), QtPrompts().askYesNoCancel(kExists, kPromptTitle); }},
    {"rename",
     [](H, L look) { prompted(look), QtPrompts().inputBox("Rename the file " + kName + " to:", "Rename", kName); }},
};

// Which texts of window are cut, or drawn in another font than the forms'.
QStringList faultsIn(QWidget* window, const QString& family) {
    QStringList faults;
    for (QWidget* w : QList<QWidget*>{window} + window->findChildren<QWidget*>()) {
        auto* drive = qobject_cast<DriveListBox*>(w);  // shows its drive fitted, the label whole
        if (auto* c = qobject_cast<QComboBox*>(w); c && !drive && c->sizeHint().width() > c->width())
            faults << w->objectName() + " cuts its entries";  // the width the widest entry needs
        const QStyle* s = w->style();
        QString text;  // a label's or a button's text, where it is drawn, and how
        if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) text = w->property("text").toString();
        if (auto* fitted = qobject_cast<FittedLabel*>(w)) text = fitted->shownText();
        if (drive) text = drive->shownText();
        if (drive && !text.endsWith(QString::fromStdString(" [" + kLabel + "]"))) faults << "drive label cut: " + text;
        QRect room = drive ? QRect(0, 0, drive->textRoom(), w->height()) : w->rect();
        int flags = Qt::TextShowMnemonic;
        const int m = (s->pixelMetric(QStyle::PM_ButtonMargin) + 2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth)) / 2;
        if (qobject_cast<QPushButton*>(w)) room.adjust(m, 1, -m, -1);  // within the style's margins
        if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
            room.setLeft(s->pixelMetric(QStyle::PM_IndicatorWidth) + s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
        if (auto* l = qobject_cast<QLabel*>(w))
            room = l->contentsRect(),
            flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0) | (l->buddy() ? flags : 0);
        if (text.isEmpty() || !w->isVisibleTo(window)) continue;
        const bool designedSize = QStringList{"lblTitle", "lblDisclaimer"}.contains(w->objectName());
        if (QFontInfo(w->font()).family() != family ||
            (w->font().pointSizeF() != formFont().pointSizeF() && !designedSize))
            faults << w->objectName() + " is in " + w->font().toString();
        const QSize need = w->fontMetrics().boundingRect(room, flags, text).size();
        if (need.width() > room.width() || need.height() > room.height()) faults << w->objectName() + " cuts " + text;
    }
    return faults;
}

}  // namespace

class AppUiTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    // A failed start-up says why only for a missing item, and unloads the
    // window all the same; one item too many is told nothing.
    void failedStartUp() {
        const QString cannotFind =
            "message Farsend 98: Cannot find the specified source file.\r\nFarsend 98 is "
            "meant to be run from the SendTo menu.\r\nThe program will abort.";
        for (const bool missing : {true, false}) {
            MainHarness h;
            std::vector<std::string> items(std::size_t(missing ? 2 : kSelectionCapacity + 1), h.tree.file("a.txt"));
            if (missing) items.back() = h.tree.path("gone");
            QVERIFY(!h.start(items));
            QCOMPARE(lines(h.prompts.log).join("") + " LDU=" + h.stored("Options", "LDU").value_or("-").c_str(),
                     (missing ? cannotFind : "") + " LDU=/");
        }
    }

    // The focus at start, the stored settings applied, the display scrolled,
    // the menus, the keyboard order, and each dialog the window opens, wired
    // to the window.
    void walkThroughTheWindow() {
        struct Source final : ISysInfoSource {
            std::string started;
            bool GetKeyValue(SysInfoKey, std::string& value) override { return value = "/opt/info", true; }
            bool startProgram(const std::string& path) override { return started = path, true; }
        } source;
        MainHarness h;
        h.sysInfo = &source;
        h.store.values = {
            {{"Options", "DefaultMode"}, "&Move"}, {{"Options", "RootDir"}, "False"}, {{"Options", "ToolTips"}, "1"}};
        QVERIFY(h.start({h.tree.file("b.txt"), h.tree.dir("Letters")}));
        frmFSMain& w = h.window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The focus; then the display as scrolled, the menus ("-" a separator) and the keyboard order.
        QStringList seen{QApplication::focusWidget()->objectName()};
        const char* tipped[] = {"lblFileName", "cmdFileUp", "cmdFileDn", "drvFSDrive", "dirFSDir",
                                "picProgress", "Command2",  "Command3",  "Command1_0", "Command1_1"};
        for (std::size_t i = 0; i < kToolTipTexts.size(); ++i)
            QCOMPARE(child(w, tipped[i])->toolTip(), QString(kToolTipTexts[i]));
        for (const char* name : {"cmdFileUp", "cmdFileDn", "cmdFileDn"}) click(child(w, name)), seen << shown(w);
        shortcut(w, Qt::Key_C);  // the next scroll shows the mode as it is now
        QTest::keyClick(child(w, "cmdFileUp"), Qt::Key_Space);
        seen << shown(w);
        for (QAction* m : w.menuBar()->actions()) {
            seen << m->text();
            for (QAction* a : m->menu()->actions())
                seen << (a->isSeparator() ? "-" : a->text() + a->shortcut().toString());
        }
        QVERIFY(!child<QMenu>(w, "mnuHelp")->separatorsCollapsible());
        child(w, "cmdFileDn")->setFocus();
        for (int i = 0; i < 8; ++i) press(Qt::Key_Tab), seen << QApplication::focusWidget()->objectName();
        QCOMPARE(
            seen.join(' ').remove(QString::fromStdString(h.tree.root())),
            "cmdFileDn Move /b.txt To:|b.txt Move /Letters/ To:| Move /Letters/ To:| Copy /b.txt To:|b.txt &Action "
            "&CopyCtrl+C &MoveCtrl+M - Create &DirectoryCtrl+D - E&xitCtrl+X &Favorites      &Help "
            "Farsend 98 &HelpF1 &Options - - &About Command2 drvFSDrive dirFSDir Command1_1 Command1_0 cmdFileUp "
            "Command3 cmdFileDn");

        QVERIFY(folders(w)->setPath(h.tree.dir("Work")).ok());
        // Add To Favorites stores the destination; the menu shows it at once.
        onNextModal([](QWidget* d) { QTest::keyClicks(child(*d, "txtName"), "Work\r"); });
        click(child(w, "Command2"));
        QVERIFY(folders(w)->setPath(h.tree.root()).ok());
        child<QAction>(w, "mnuFavArray_0")->trigger();  // to the favourite's folder
        seen = QStringList{child<QAction>(w, "mnuFavArray_0")->text(), QString::fromStdString(folders(w)->Path())};
        // Create New Directory: a refused name stays, to be mended; Esc makes none.
        onNextModal([&seen](QWidget* d) {
            seen << child<QLabel>(*d, "lblUpperPath")->text() + " " + d->windowTitle();
            QVERIFY(QTest::qWaitForWindowActive(d));
            QTest::keyClicks(QApplication::focusWidget(), "..");
            click(child(*d, "cmdOK"));
            QTest::keyClicks(QApplication::focusWidget(), "porn\r");  // the destination moves into the new folder
        });
        click(child(w, "Command3"));
        onNextModal([](QWidget* d) { QTest::keyClicks(child(*d, "txtNewName"), "x\x1b"); });
        shortcut(w, Qt::Key_D);
        onNextModal([](QWidget* d) { d->close(); });  // Options: its close command changes nothing
        child<QAction>(w, "mnuHelpOptions")->trigger();
        seen << child<QPushButton>(w, "Command1_0")->text() + QString::fromStdString(folders(w)->Path());
        // Options by keyboard, Last Directory Used and Move selected: Tab reaches
        // each group once, at its selected option, in the order of the tab
        // indexes; the arrow keys move within a group. Esc: the settings loaded again.
        onNextModal([&seen](QWidget* d) {
            QVERIFY(QTest::qWaitForWindowActive(d));
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Up, Qt::Key_Up, Qt::Key_Tab,
                                Qt::Key_Tab, Qt::Key_Down, Qt::Key_Escape})
                seen << QApplication::focusWidget()->objectName(), press(key);
        });
        child<QAction>(w, "mnuHelpOptions")->trigger();
        seen << child<QPushButton>(w, "Command1_0")->text() + QString::fromStdString(folders(w)->Path());
        onNextModal([&seen](QWidget* d) {  // About: owned by the window, System Info asks the services' source
            seen << d->parentWidget()->objectName() + " " + d->windowTitle();
            for (const char* name : {"lblTitle", "lblVersion", "lblDescription"})
                seen << child<QLabel>(*d, name)->text();
            seen << QString::number(child<QLabel>(*d, "lblDisclaimer")->text().contains("MIT License")) +
                        QString::number(child<QLabel>(*d, "picIcon")->pixmap().isNull());
            child<QPushButton>(*d, "cmdSysInfo")->click();
            QTest::keyClick(d, Qt::Key_Return);  // OK is the Enter button
        });
        child<QAction>(w, "mnuHelpAbout")->trigger();
        shortcut(w, Qt::Key_F1, Qt::NoModifier);  // the help page
        const QFileInfo page(QUrl(QString::fromStdString(h.openedUrls.at(0))).toLocalFile());
        seen << QString::fromStdString(source.started) + " " + page.dir().dirName() + page.fileName()
             << lines(h.prompts.log);
        shortcut(w, Qt::Key_X);  // Exit stores the destination
        seen << QString::fromStdString(h.stored("Options", "LDU").value_or("-")) << QString::number(w.isVisible());
        QCOMPARE(seen.join('|').remove(QString::fromStdString(h.tree.root())),
                 "Work|/Work|/Work/ Create New Directory|&Copy/Work/..porn|optLDU|drvDefaultDrive|Command1_0|"
                 "Command1_1|optMove|optCopy|optCopy|chkTips|optLDU|optRootDir|&Move/|frmFSMain About Farsend 98|"
                 "Farsend 98|Version 3.1 (3/9/98)|Farsend 98 Send To Utility|10|/opt/info FSHelpindex.html|"
                 "message Farsend 98: " +
                     QString(kFolderNameRefusal) + "|" + kNaughty + "|/|0");
    }

    // With one item, no scroll buttons, the focus on Add To Favorites and the
    // favourites named before first use. A last folder used that is gone (a
    // stick pulled out) leaves the chooser in the folder the program was
    // started in, its drive shown with it. Each list follows the other once, no
    // ping-pong; each drive keeps its own folder, a removed one gives way to
    // the drive's root; the word check runs on every folder entered; an
    // unreadable drive ends the program at once, without storing the folder,
    // and any other failure is ignored.
    void chooser() {
        MainHarness h;
        const std::string a = h.tree.dir("A"), b = h.tree.dir("B"), x = h.tree.dir("A/x"), sub = h.tree.dir("B/sub");
        h.tree.dir("A/porn");
        h.volumes.list = {{a, ""}, {b, "USB"}};
        h.store.values = {{{"Options", "RootDir"}, "False"}, {{"Options", "LDU"}, h.tree.path("stick/folder")}};
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(x);
        const bool up = h.start({h.tree.file("item.txt")});
        std::filesystem::current_path(before);
        QVERIFY(up);
        frmFSMain& w = h.window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QStringList seen{QString::number(child(w, "cmdFileUp")->isVisible() || child(w, "cmdFileDn")->isVisible()) +
                         QApplication::focusWidget()->objectName() + child<QAction>(w, "mnuFavArray_4")->text()};
        const auto where = [&] { seen << QString::fromStdString(drives(w)->Drive() + ":" + folders(w)->Path()); };
        where();
        const auto pick = [&](Qt::Key key) { drives(w)->setFocus(), press(key); };  // as a user would
        QVERIFY(folders(w)->setPath(x).ok());
        QSignalSpy folderMoves(folders(w), &DirListBox::changed), driveMoves(drives(w), &DriveListBox::changed);
        QVERIFY(folders(w)->setPath(sub).ok());
        where(), seen << QString("%1 %2").arg(folderMoves.count()).arg(driveMoves.count());
        pick(Qt::Key_Up), where();
        QVERIFY(std::filesystem::remove(sub));
        pick(Qt::Key_Down), where(), pick(Qt::Key_Up);
        QVERIFY(folders(w)->setPath(a).ok());
        const QPoint at = folders(w)->visualItemRect(folders(w)->item(folders(w)->rowOf(a + "/porn"))).center();
        QTest::mouseClick(folders(w)->viewport(), Qt::LeftButton, {}, at);  // a click, then a double click's second
        QTest::mouseDClick(folders(w)->viewport(), Qt::LeftButton, {}, at);
        where();
        QVERIFY(folders(w)->setPath(h.tree.dir("A/sex/porn")).ok());
        for (const int fault : {ENOTDIR, ENOMEDIUM}) {
            h.fs.clearFaults();
            h.fs.failOn(Op::List, b, fault);
            pick(Qt::Key_Up), pick(Qt::Key_Down), where();
        }
        w.close();
        seen << lines(h.prompts.log) << QString::number(h.endedWith.value_or(0))
             << (h.stored("Options", "LDU") != h.tree.path("stick/folder") ? "LDU" : "");
        QCOMPARE(seen.join('|').remove(QString::fromStdString(h.tree.root())),
                 "0Command2|/A:/A/x|/B [USB]:/B/sub|1 1|/A:/A/x|/B [USB]:/B|/A:/A/porn|/B [USB]:/A/sex/porn|/B [USB]:/A/sex/"
                 "porn|" +
                     QString(kNaughty) + "|" + kNaughty + "|" + kNaughty +
                     "|message Farsend 98: Unable to access this drive. Program will Quit|1|");
    }

    // A drive keeps its label whole; a mount point too long for the rest is
    // shortened in its middle, a mark in its place, down to the mark alone.
    void driveDesignationFitted() {
        const QFontMetrics fm(formFont());
        const QString mark(QChar(0x2026)), mount = "/media/user/SanDisk Extreme", label = " [SanDisk Extreme]";
        QStringList seen;  // for the label's part (or none) and room besides it, in characters
        for (const auto& [part, spare] :
             {std::pair(label, 60), {label, 12}, {QString(), 12}, {label, 0}, {label, -4}}) {
            const QString shown = fittedDesignation({mount.toStdString(), part.isEmpty() ? "" : "SanDisk Extreme"}, fm,
                                                    fm.horizontalAdvance(part) + spare * fm.averageCharWidth());
            const bool middle = shown.startsWith("/me") && shown.contains(mark) && shown.endsWith(part);
            seen << (shown == mount + part ? "whole" : shown == mark + part ? "mark" : middle ? "middle" : shown);
        }
        QCOMPARE(seen.join(' '), "whole middle middle mark mark");
    }

    // Right presses switch the mode with the menu's checks, every press
    // rewrites the display, the menu leaves it; a click transfers with the
    // bar moving, takes no input meanwhile and closes the window.
    void command() {
        MainHarness h;
        h.tree.build("src/f.bin*60000;src/g.txt=g;Reports/;Dest/");
        QVERIFY(h.start({h.tree.path("src/f.bin"), h.tree.path("src/g.txt"), h.tree.path("Reports")}));
        frmFSMain& w = h.window();
        auto* copy = child<QPushButton>(w, "Command1_0");
        QStringList seen;
        const auto state = [&] {
            seen << copy->text() + QString::number(child<QAction>(w, "mnuActionCopy")->isChecked()) +
                        QString::number(child<QAction>(w, "mnuActionMove")->isChecked()) + " " +
                        child<QLabel>(w, "lblFileName")->text().remove(QString::fromStdString(h.tree.root()));
        };
        QTest::mousePress(copy, Qt::RightButton), state();
        QTest::mousePress(child(w, "Command1_1"), Qt::RightButton), state();
        child<QAction>(w, "mnuActionCopy")->trigger(), state();
        QTest::mousePress(copy, Qt::MiddleButton), state();
        QCOMPARE(seen.join('|'),
                 "&Move01 Move /src/f.bin|&Move01 Move /src/f.bin|&Copy10 Move /src/f.bin|"
                 "&Copy10 Copy /src/f.bin");
        QVERIFY(folders(w)->setPath(h.tree.path("Dest")).ok());
        QTimer::singleShot(0, &w, [&] {  // reaches the window while it transfers: nothing happens
            QTest::mousePress(copy, Qt::RightButton), w.close();
            QTest::keyClick(folders(w), Qt::Key_Up), QTest::keyClick(folders(w), Qt::Key_Return);
        });
        click(copy);
        const QImage bar = child(w, "picProgress")->grab().toImage();
        const QColor lit = w.palette().color(QPalette::Highlight);
        QCOMPARE(QString::fromStdString(h.tree.changesSince("Dest/;Reports/;src/;src/f.bin*60000;src/g.txt=g")),
                 "Dest/Reports/;Dest/f.bin*60000;Dest/g.txt=g");
        QCOMPARE(std::pair(bar.pixelColor(bar.width() * 80 / 100, bar.height() / 2) == lit,
                           bar.pixelColor(bar.width() * 95 / 100, bar.height() / 2) == lit),
                 std::pair(true, false));  // at 83
        QCOMPARE(copy->text() + QString::number(w.isVisible()) + QString::fromStdString(*h.stored("Options", "LDU")),
                 "&Copy0" + QString::fromStdString(h.tree.path("Dest")));
    }

    // A cancelled new name ends the program at once, without its closing steps.
    void endsAtOnce() {
        MainHarness h;
        h.tree.build("src/a.txt=a;Dest/a.txt=old");
        h.prompts.answers = {"No", ""};
        QVERIFY(h.start({h.tree.path("src/a.txt")}));
        QVERIFY(folders(h.window())->setPath(h.tree.path("Dest")).ok());
        QTest::mousePress(child(h.window(), "Command1_0"), Qt::RightButton);  // one entry: the three lines
        QCOMPARE(child<QLabel>(h.window(), "lblFileName")->text(), "Move\r\n/a.txt\r\nTo:");
        child(h.window(), "drvFSDrive")->setFocus(), press(Qt::Key_Return);  // Enter presses Copy/Move
        QCOMPARE(std::pair(h.endedWith.value_or(-1), h.stored("Options", "LDU").has_value()), std::pair(0, false));
    }

    // The rename question shows the name as it is named: markup and "&" as typed.
    void renameQuestionIsPlainText() {
        const QString prompt = "Rename the file <b>Tom & Jerry</b>.txt to:";
        QSize shown, typed;
        onNextModal([&](QWidget* d) {
            const QLabel* label = d->findChild<QLabel*>();
            QLabel plain(prompt);
            plain.setTextFormat(Qt::PlainText), plain.setFont(label->font());
            shown = label->sizeHint(), typed = plain.sizeHint();
            d->close();
        });
        QtPrompts().inputBox(prompt.toStdString(), "Rename", "x.txt");
        QCOMPARE(shown, typed);
    }

    // Five buttons in a row whose index is the answer; neither Enter nor Esc
    // answers, and closing it is Cancel.
    void replaceDialog_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        for (int i = 0; i < 5; ++i) QTest::addRow("%d", i) << QString("Command1_%1").arg(i) << i;
        QTest::addRow("closed") << QString() << 0;
    }
    void replaceDialog() {
        QFETCH(QString, button);
        QStringList seen;
        onNextModal([&](QWidget* d) {
            for (auto* b : d->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
                seen << QString("%1@%2,%3").arg(b->text()).arg(b->x()).arg(b->isDefault() || b->autoDefault());
            seen << d->windowTitle() << QString("%1x%2").arg(d->width()).arg(d->height());
            QTest::keyClick(d, Qt::Key_Escape), QTest::keyClick(d, Qt::Key_Return);
            button.isEmpty() ? (void)d->close() : click(child(*d, qPrintable(button)));
        });
        QFETCH(int, answer);
        QCOMPARE(QtPrompts().askReplace(), answer);
        QCOMPARE(seen.join(' '),
                 "&Cancel@311,0 &Yes@35,0 &Yes to &All@103,0 &No@173,0 N&o to All@243,0 "
                 "Replace File? 411x79");
    }

    // FARSEND_SYSINFO, else the running desktop's own program; a folder from
    // FARSEND_SYSINFO_DIR, else /usr/bin; a missing program is not started.
    void desktopLookupOrder() {
        const char* names[] = {"FARSEND_SYSINFO", "XDG_CURRENT_DESKTOP", "FARSEND_SYSINFO_DIR"};
        const std::pair<QStringList, QString> cases[] = {{{"/opt/x/info", "KDE", ""}, "11 /opt/x/info|/usr/bin"},
                                                         {{"", "NoSuchDesktop", "/opt/tools"}, "01 |/opt/tools"}};
        for (const auto& [env, found] : cases) {
            for (int i = 0; i < 3; ++i) qputenv(names[i], env[i].toUtf8());
            std::string path = "stale", dir;
            const bool first = DesktopSysInfo().GetKeyValue(SysInfoKey::ToolPath, path),
                       second = DesktopSysInfo().GetKeyValue(SysInfoKey::ToolFolder, dir);
            QCOMPARE(QString("%1%2 %3|%4").arg(first).arg(second).arg(path.c_str(), dir.c_str()), found);
        }
        QVERIFY(!DesktopSysInfo().startProgram("/nonexistent/farsend-sysinfo"));
        for (const char* name : names) qunsetenv(name);
    }

    void clip_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("scale");
        for (int scale : {1, 2})
            for (const char* family : {"DejaVu Sans", "Liberation Sans", "Noto Sans", "Cantarell"})
                for (int i = 0; i < int(kWindows.size()); ++i)
                    QTest::addRow("%s/%s/x%d", kWindows[i].first, family, scale) << i << QString(family) << scale;
    }
    void clip() {
        QFETCH(int, window);
        QFETCH(QString, family);
        QFETCH(int, scale);
        if (qRound(qApp->devicePixelRatio()) != scale) {  // a process has one scale: the row runs in a child
            qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
            const QStringList row{"-silent", QString("clip:") + QTest::currentDataTag()};
            QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(), row), 0);
            return;
        }
        QApplication::setFont(QFont(family, 10));  // as a desktop sets it
        QVERIFY2(QFontInfo(QApplication::font()).family() == family, "missing: scripts/setup.sh installs it");
        MainHarness h;
        h.volumes.list = {{"/", ""}, {h.tree.dir(kStick), kLabel}};
        h.store.values[{"Options", "DefRootDir"}] = h.tree.path(kStick) + " [" + kLabel + "]";
        QVERIFY(h.start({h.tree.file(kDeep + "/" + kName), h.tree.file(kDeep + "/Notes.txt")}));
        QVERIFY(child<DirListBox>(h.window(), "dirFSDir")->setPath(h.tree.path(kDeep)).ok());
        QStringList faults{"not shown"};
        kWindows[std::size_t(window)].second(h, [&](QWidget* w) { faults = faultsIn(w, family); });
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

QTEST_MAIN(AppUiTest)
#include "app_uitest.moc"
