#pragma once
// The Create New Directory dialog: makes a subfolder of the current
// destination and moves the main window's folder list into it.

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace farsend {

class frmFSMain;

class frmNewDir : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog for main's current destination. The dialog has no
    // owner window: main is only the window whose folder list it moves.
    explicit frmNewDir(frmFSMain& main);

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    QLabel* lblUpperPath = nullptr;
    QLineEdit* txtNewName = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void report(const std::string& text);

    frmFSMain& main_;
    std::string upperPath_;  // the parent folder exactly, whatever the label can show
};

}  // namespace farsend
