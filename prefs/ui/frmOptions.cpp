#include "prefs/ui/frmOptions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "app/ui/DriveListBox.h"
#include "app/ui/Twips.h"
#include "prefs/LoadSettings.h"
#include "prefs/Options.h"
#include "prefs/ui/DialogLayout.h"

namespace farsend {

frmOptions::frmOptions(const InMemorySettings& current, IVolumes& volumes, SettingsSaver& settings)
    : QDialog(nullptr), current_(current), settings_(settings) {
    setObjectName("frmOptions");
    setWindowTitle("Options");
    setFixedSize(twips(4155), twips(2715));

    fraStartup = new QGroupBox("Startup", this);
    fraStartup->setObjectName("fraStartup");
    place(fraStartup, 120, 60, 3915, 1935);
    // The caption sits in the border line, as the frame was designed: the
    // desktop style's caption above the border would push the border onto
    // the first option.
    fraStartup->setStyleSheet(
        "QGroupBox#fraStartup { margin-top: 7px; padding-top: 2px; border: 1px solid palette(mid); }"
        "QGroupBox#fraStartup::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }");

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

    fitToFont();

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
    for (QWidget* w : {static_cast<QWidget*>(optLDU), static_cast<QWidget*>(optRootDir), static_cast<QWidget*>(optCopy),
                       static_cast<QWidget*>(optMove), static_cast<QWidget*>(chkTips)})
        growToText(w);
    // The drive list stays beside its option, the inner container around its
    // options, and the frame, the dialog and the Cancel button (flush with the
    // frame's right edge) grow to make room.
    const int gap = twips(60);
    drvDefaultDrive->move(std::max(drvDefaultDrive->x(), optRootDir->geometry().right() + gap), drvDefaultDrive->y());
    Picture1->resize(
        std::max(Picture1->width(), std::max(optCopy->geometry().right(), optMove->geometry().right()) + 1),
        Picture1->height());
    int contentRight = 0;
    for (QWidget* w : fraStartup->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        contentRight = std::max(contentRight, w->geometry().right());
    fraStartup->resize(std::max(fraStartup->width(), contentRight + 1 + gap), fraStartup->height());
    const int frameRight = fraStartup->geometry().right() + 1;
    Command1[1]->move(frameRight - Command1[1]->width(), Command1[1]->y());
    setFixedSize(std::max(width(), frameRight + twips(120)), height());
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
