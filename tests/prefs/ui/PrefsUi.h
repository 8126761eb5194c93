#pragma once
// Shared steps of the preferences window tests.

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/frmFSMain.h"
#include "prefs/LoadSettings.h"
#include "progress/ui/PictureBox.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

namespace farsend::test {

// Starts the main window on one scratch file; start-up applies the settings.
inline bool startMain(MainHarness& h) { return h.start({h.tree.file("item.txt", "x")}); }

// The root and one labelled volume mounted in the scratch tree (with a folder in it).
inline void useScratchVolumes(MainHarness& h) {
    h.tree.dir("usb/inner");
    h.fakeVolumes.emplace(std::vector<Volume>{{"/", ""}, {h.tree.path("usb"), "STICK"}});
}

// Stores "Section/Key=Value" entries before start-up; "~" is the scratch folder.
inline void presetAll(MainHarness& h, const QStringList& entries) {
    for (QString e : entries) {
        e.replace("~", QString::fromStdString(h.tree.root()));
        h.preset(e.section('/', 0, 0).toStdString(), e.section('/', 1).section('=', 0, 0).toStdString(),
                 e.section('=', 1).toStdString());
    }
}

// "on" when every control (and a folder of the list, under the mouse) shows its tip, "off" when none does.
inline QString tipsState(frmFSMain& w) {
    const QList<QWidget*> controls = {w.lblFileName, w.cmdFileUp, w.cmdFileDn, w.drvFSDrive,  w.dirFSDir,
                                      w.picProgress, w.Command2,  w.Command3,  w.Command1[0], w.Command1[1]};
    QStringList seen, on;
    for (QWidget* c : controls) seen << c->toolTip();
    for (const char* t : kToolTipTexts) on << t;
    if (w.dirFSDir->count() == 0) return "no folder to hover";
    const QPoint pos = w.dirFSDir->visualItemRect(w.dirFSDir->item(0)).center();
    QHelpEvent help(QEvent::ToolTip, pos, w.dirFSDir->viewport()->mapToGlobal(pos));
    QToolTip::hideText();
    QApplication::sendEvent(w.dirFSDir->viewport(), &help);
    const QString hovered = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    if (seen == on && hovered == on[4]) return "on";
    if (seen == QStringList(on.size(), QString()) && hovered.isEmpty()) return "off";
    return "mixed: " + seen.join('|') + " / " + hovered;
}

// What the user sees of the preferences and what the store holds, as one
// line; "-" for a key not stored, "~" for the scratch folder.
inline QString prefsState(MainHarness& h) {
    frmFSMain& w = h.window();
    QStringList menu, slotTexts, options;
    for (QAction* a : w.mnuFavArray) menu << a->text();
    auto stored = [&h](const char* section, const std::string& key) {
        return QString::fromStdString(h.stored(section, key).value_or("-"));
    };
    for (int n = 1; n <= 5; ++n)
        slotTexts << stored("Favorites", std::to_string(n)) + ":" + stored("Favorites", "Path" + std::to_string(n));
    for (const char* key : {"RootDir", "DefRootDir", "DefaultMode", "ToolTips", "LDU"})
        options << stored("Options", key);
    return QString("menu=%1[%2] dir=%3 mode=%4 copy=%5 move=%6 tips=%7(%8) slots=%9 options=%10")
        .arg(int(w.mnuFavorites->menuAction()->isVisible()))
        .arg(menu.join(','), QString::fromStdString(w.dirFSDir->Path()), w.Command1[0]->text())
        .arg(int(w.mnuActionCopy->isChecked()))
        .arg(int(w.mnuActionMove->isChecked()))
        .arg(tipsState(w))
        .arg(w.settings.ToolTips)
        .arg(slotTexts.join('|'), options.join(','))
        .replace(QString::fromStdString(h.tree.root()), "~");
}

// The state right after starting on an empty store: the menu was filled
// before the slots were written, so it shows them empty until the next refresh.
inline const QString kFreshState =
    "menu=1[,,,,] dir=/ mode=&Copy copy=1 move=0 tips=off(0) "
    "slots=Empty:|Empty:|Empty:|Empty:|Empty: options=-,-,-,-,-";

// Lets pending events (queued dialogs, polls) run.
inline void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace farsend::test
