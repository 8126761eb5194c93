#include "app/ui/frmNewDir.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/Chooser.h"
#include "app/ui/DirListBox.h"
#include "app/ui/FittedLabel.h"
#include "app/ui/Twips.h"
#include "app/ui/frmFSMain.h"

namespace farsend {

frmNewDir::frmNewDir(frmFSMain& main) : QDialog(nullptr), main_(main) {
    setObjectName("frmNewDir");
    setWindowTitle("Create New Directory");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(twips(3825), twips(1605));
    setFont(formFont());

    // A long path wraps after its separators; one too long even for that
    // shows its beginning and its end.
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
    Form_Load();
}

void frmNewDir::Form_Load() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
    upperPath_ = upperPathOf(main_.dirFSDir->Path());
    lblUpperPath->setText(QString::fromStdString(upperPath_));
}

void frmNewDir::cmdOK_Click() {
    const std::string name = txtNewName->text().toStdString();
    if (name.empty()) {
        report(kFolderNameEmpty);
        return;
    }
    if (!newFolderNameAllowed(name)) {
        report(kFolderNameRefusal);
        return;
    }
    const std::string folder = upperPath_ + name + "/";
    if (Status made = main_.services().fs->makeDir(folder); !made) {
        report(made.error().description);
        return;
    }
    // The folder exists now; should the list fail to enter it, say why and
    // leave the destination where it was.
    if (Status moved = main_.dirFSDir->setPath(folder); !moved) report(moved.error().description);
    accept();
}

void frmNewDir::cmdCancel_Click() { reject(); }

void frmNewDir::report(const std::string& text) {
    main_.services().prompts->message(text, kProgramTitle);
    txtNewName->setFocus();
}

}  // namespace farsend
