#include "about/ui/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "about/ProgramInfo.h"
#include "about/SysInfo.h"
#include "about/ui/ProgramIcon.h"
#include "app/ui/Twips.h"

namespace farsend {

static QLabel* blackLabel(const char* text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(p);
    return label;
}

frmAbout::frmAbout(QWidget* owner, ISysInfoSource& sysInfo, IFileSystem& fs, IPrompts& prompts)
    : QDialog(owner), sysInfo_(sysInfo), fs_(fs), prompts_(prompts) {
    setObjectName("frmAbout");
    setFixedSize(twips(5730), twips(3555));
    setFont(formFont());

    picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    place(picIcon, 240, 240, 540, 540);
    picIcon->setPixmap(programIcon().pixmap(picIcon->size()));

    lblTitle = blackLabel(kProgramTitle, "lblTitle", this);
    place(lblTitle, 1050, 240, 3885, 480);
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    // Design texts, replaced when the box loads.
    lblVersion = new QLabel("Farsend v. 3.0 (3/9/98)", this);
    lblVersion->setObjectName("lblVersion");
    place(lblVersion, 1050, 780, 3885, 225);
    lblDescription = blackLabel("App Description", "lblDescription", this);
    place(lblDescription, 1050, 1125, 3885, 1170);

    // The etched rule: a grey line with a white one, two pixels high, under it.
    Line1[1] = new QFrame(this);
    Line1[1]->setObjectName("Line1_1");
    Line1[1]->setGeometry(twips(90), twips(2445), twips(5654) - twips(90), 1);
    Line1[1]->setStyleSheet("background: rgb(128,128,128)");
    Line1[0] = new QFrame(this);
    Line1[0]->setObjectName("Line1_0");
    Line1[0]->setGeometry(twips(105), twips(2460), twips(5654) - twips(105), 2);
    Line1[0]->setStyleSheet("background: rgb(255,255,255)");

    lblDisclaimer = blackLabel("Warning: ...", "lblDisclaimer", this);
    place(lblDisclaimer, 255, 2625, 3870, 825);
    QFont small = lblDisclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblDisclaimer->setFont(small);

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    place(cmdOK, 4245, 2625, 1260, 345);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("&System Info...", this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    place(cmdSysInfo, 4260, 3075, 1245, 345);
    // Where a font needs wider buttons they grow to the left, keeping their
    // right edges, and the legal notice beside them gives way.
    int buttonsLeft = width();
    for (QPushButton* b : {cmdOK, cmdSysInfo}) {
        const int grown = std::max(b->width(), b->sizeHint().width());
        b->setGeometry(b->geometry().right() + 1 - grown, b->y(), grown, b->height());
        buttonsLeft = std::min(buttonsLeft, b->x());
    }
    const int gap = twips(4245) - twips(255 + 3870);
    lblDisclaimer->resize(std::min(lblDisclaimer->width(), buttonsLeft - gap - lblDisclaimer->x()),
                          lblDisclaimer->height());
    QWidget::setTabOrder(cmdOK, cmdSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    Form_Load();
}

void frmAbout::Form_Load() {
    setWindowTitle(QString("About ") + kProgramTitle);
    lblVersion->setText(QString::fromStdString(versionLine(FARSEND_VERSION_MAJOR, FARSEND_VERSION_MINOR)));
    lblTitle->setText(kProgramTitle);
    lblDescription->setText(kFileDescription);
    lblDisclaimer->setText(kLegalNotice);
}

// OK is also the Esc button: QDialog rejects on Esc, which closes it the same way.
void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() { (void)farsend::StartSysInfo(sysInfo_, fs_, prompts_); }

}  // namespace farsend
