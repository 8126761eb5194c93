#include "app/ui/frmNewDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Chooser.h"
#include "app/ui/FittedLabel.h"
#include "app/ui/Twips.h"
#include "prefs/ui/DialogLayout.h"

namespace farsend {

frmNewDir::frmNewDir(IFileSystem& fs, IPrompts& prompts, const std::string& folder, EnterFolder enter)
    : QDialog(nullptr), fs_(fs), prompts_(prompts), enter_(std::move(enter)) {
    setObjectName("frmNewDir");
    setWindowTitle("Create New Directory");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(twips(3825), twips(1605));
    setFont(formFont());

    // The design text, which loading replaces. A long path wraps after its
    // separators; one too long even for that shows its beginning and its end.
    lblUpperPath = new FittedLabel("Label1", this);
    lblUpperPath->setObjectName("lblUpperPath");
    lblUpperPath->setAlignment(Qt::AlignCenter);
    lblUpperPath->setTextFormat(Qt::PlainText);
    lblUpperPath->setWordWrap(true);
    QFont bold = formFont();
    bold.setBold(true);
    lblUpperPath->setFont(bold);
    place(lblUpperPath, 0, 60, 3795, 555);

    txtNewName = new QLineEdit(this);
    txtNewName->setObjectName("txtNewName");
    place(txtNewName, 0, 660, 3795, 285);

    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    place(cmdOK, 180, 1020, 1215, 495);

    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    place(cmdCancel, 2400, 1020, 1215, 495);

    setTabOrder(txtNewName, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    txtNewName->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    Form_Load(folder);
}

void frmNewDir::Form_Load(const std::string& folder) {
    centreOnScreen(this);
    upperPath_ = upperPathOf(folder);
    lblUpperPath->setText(QString::fromStdString(upperPath_));
}

void frmNewDir::cmdOK_Click() {
    if (makeNewFolder(fs_, prompts_, upperPath_, txtNewName->text().toStdString(), enter_)) {
        accept();
        return;
    }
    // Stays open with the name kept, for the user to mend it.
    txtNewName->setFocus();
}

void frmNewDir::cmdCancel_Click() { reject(); }

}  // namespace farsend
