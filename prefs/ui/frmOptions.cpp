#include "prefs/ui/frmOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "app/ui/DriveListBox.h"
#include "app/ui/Twips.h"
#include "prefs/LoadSettings.h"
#include "prefs/Options.h"
#include "prefs/ui/DialogLayout.h"

namespace farsend {

namespace {

// Only the selected option of a group is a tab stop; a click still focuses either.
Qt::FocusPolicy tabStopIf(bool selected) { return selected ? Qt::StrongFocus : Qt::ClickFocus; }

}  // namespace

frmOptions::frmOptions(const InMemorySettings& current, IVolumes& volumes, SettingsSaver& settings)
    : QDialog(nullptr), current_(current), settings_(settings) {
    setObjectName("frmOptions");
    setWindowTitle("Options");
    setFixedSize(twips(4155), twips(2715));
    setFont(formFont());

    fraStartup = new QGroupBox("Startup", this);
    fraStartup->setObjectName("fraStartup");
    place(fraStartup, 120, 60, 3915, 1935);
    // The caption sits in the border line, as the frame was designed: the
    // desktop style's caption above the border would push the border onto
    // the first option.
    fraStartup->setStyleSheet(
        "QGroupBox#fraStartup { margin-top: 7px; padding-top: 2px; border: 1px solid palette(mid); }"
        "QGroupBox#fraStartup::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 3px; }");

    // optLDU and optRootDir share the frame; optCopy and optMove sit in
    // Picture1, so the two groups exclude only within themselves.
    optLDU = new QRadioButton("Start With Last Directory Used", fraStartup);
    optLDU->setObjectName("optLDU");
    place(optLDU, 60, 240, 2535, 195);
    optRootDir = new QRadioButton("Start With Root Directory on Drive", fraStartup);
    optRootDir->setObjectName("optRootDir");
    place(optRootDir, 60, 540, 2715, 195);
    drvDefaultDrive = new DriveListBox(volumes, fraStartup);
    drvDefaultDrive->setObjectName("drvDefaultDrive");
    place(drvDefaultDrive, 2880, 480, 915, 315);

    Picture1 = new QWidget(fraStartup);
    Picture1->setObjectName("Picture1");
    place(Picture1, 60, 840, 3795, 615);
    optCopy = new QRadioButton("Start With Copy", Picture1);
    optCopy->setObjectName("optCopy");
    place(optCopy, 0, 0, 2475, 255);
    optMove = new QRadioButton("Start with Move", Picture1);  // its small "with", as users have always read it
    optMove->setObjectName("optMove");
    place(optMove, 0, 360, 1515, 195);

    chkTips = new QCheckBox("Tool Tip Help", fraStartup);
    chkTips->setObjectName("chkTips");
    place(chkTips, 60, 1500, 1395, 255);

    Command1[0] = new QPushButton("&OK", this);
    Command1[0]->setObjectName("Command1_0");
    place(Command1[0], 120, 2100, 1215, 495);
    Command1[0]->setDefault(true);
    Command1[1] = new QPushButton("&Cancel", this);
    Command1[1]->setObjectName("Command1_1");
    place(Command1[1], 2820, 2100, 1215, 495);
    for (int i = 0; i < 2; ++i)
        connect(Command1[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });

    // Each pair of options is a group of its own, as on the original form:
    // Tab reaches a group once, at its selected option, and the arrow keys
    // move within it (without groups, the pairs nested in one frame would
    // take each other for one group).
    for (auto [first, second] : {std::pair{optLDU, optRootDir}, std::pair{optCopy, optMove}}) {
        auto* group = new QButtonGroup(this);
        group->addButton(first);
        group->addButton(second);
        connect(group, &QButtonGroup::buttonToggled, this,
                [](QAbstractButton* option, bool selected) { option->setFocusPolicy(tabStopIf(selected)); });
        for (QRadioButton* option : {first, second}) option->setFocusPolicy(tabStopIf(false));
    }

    // A style sheet gives the frame's children the desktop's font unless
    // they are told their own.
    QList<QWidget*> framed = fraStartup->findChildren<QWidget*>();
    for (QWidget* w : framed << fraStartup) w->setFont(font());
    fitToFont();

    // The order of the tab indexes.
    QWidget::setTabOrder(optLDU, optRootDir);
    QWidget::setTabOrder(optRootDir, drvDefaultDrive);
    QWidget::setTabOrder(drvDefaultDrive, Command1[0]);
    QWidget::setTabOrder(Command1[0], Command1[1]);
    QWidget::setTabOrder(Command1[1], optCopy);
    QWidget::setTabOrder(optCopy, optMove);
    QWidget::setTabOrder(optMove, chkTips);

    Form_Load();
}

void frmOptions::fitToFont() {
    // The window keeps its designed size. The drive list has a line of its
    // own under its option, as wide as the frame allows, so that every drive
    // reads in full (beside the longest caption it had room for two letters);
    // each option is as wide as its caption needs, and the rows stack from
    // the first option down, each as tall as its font needs.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                       style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const int right = fraStartup->width() - optLDU->x();
    int y = optLDU->y();
    auto row = [&y, right](QWidget* w, int x, int width) {
        const int height = std::max(w->height(), QFontMetrics(w->font()).height() + 2);
        w->setGeometry(x, y, std::min(width, right - x), height);
        y += height + 1;
    };
    auto option = [&row](QWidget* w) { row(w, w->x(), std::max(w->width(), w->sizeHint().width())); };
    option(optLDU);
    option(optRootDir);
    row(drvDefaultDrive, optRootDir->x() + indent, right - optRootDir->x() - indent);
    Picture1->move(Picture1->x(), y);
    const int copyMoveTop = y;
    y = 0;
    option(optCopy);
    option(optMove);
    Picture1->resize(right - Picture1->x(), y);
    y += copyMoveTop;
    option(chkTips);
}

void frmOptions::Form_Load() {
    centreOnScreen(this);
    const OptionsChoice c = optionsFrom(current_);
    (c.rootDir ? optRootDir : optLDU)->setChecked(true);

    // A default drive that is no longer there (or never was) leaves the list
    // on its first drive; the dialog opens all the same. A known one is
    // selected by its mount point: the stored text with an old label would
    // otherwise be taken for a folder on the volume above it.
    drvDefaultDrive->reload();
    const std::vector<Volume>& listed = drvDefaultDrive->volumeList();
    if (const std::string pick = optionsDrive(listed, c.drive); !pick.empty() && !drvDefaultDrive->setDrive(pick).ok())
        (void)drvDefaultDrive->setDrive(listed.front().designation());

    (c.copy ? optCopy : optMove)->setChecked(true);
    chkTips->setChecked(c.tips);
    // The first tab stop: the selected option of the first group.
    (c.rootDir ? optRootDir : optLDU)->setFocus();
}

void frmOptions::Command1_Click(int Index) {
    closedByButton_ = true;
    if (Index != 0) {
        reject();
        return;
    }
    OptionsChoice c;
    c.rootDir = optRootDir->isChecked();
    c.drive = drvDefaultDrive->Drive();
    c.copy = optCopy->isChecked();
    c.tips = chkTips->isChecked();
    for (const auto& [key, value] : optionsWrites(c)) settings_.save(kOptions, key, value);
    accept();
}

void frmOptions::keyPressEvent(QKeyEvent* event) {
    // Esc presses the Cancel button, which (unlike the close command) reloads.
    if (!escapeClicks(event, Command1[1])) QDialog::keyPressEvent(event);
}

}  // namespace farsend
