#pragma once
// The Create New Directory dialog: makes a subfolder of the current
// destination and moves the destination into it.

#include <QDialog>
#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/Result.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace farsend {

class frmNewDir : public QDialog {
    Q_OBJECT
public:
    // Makes the destination the given folder; fails, leaving it as it was,
    // when the folder cannot be entered.
    using EnterFolder = std::function<Status(const std::string& folder)>;

    // Loads the dialog for the destination folder. It has no owner window;
    // folders are made through fs, failures told through prompts.
    frmNewDir(IFileSystem& fs, IPrompts& prompts, const std::string& folder, EnterFolder enter);

private:
    void Form_Load(const std::string& folder);
    void cmdOK_Click();
    void cmdCancel_Click();

    QLabel* lblUpperPath = nullptr;
    QLineEdit* txtNewName = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    IFileSystem& fs_;
    IPrompts& prompts_;
    EnterFolder enter_;
    std::string upperPath_;  // the parent folder exactly, whatever the label can show
};

}  // namespace farsend
