#pragma once
// The About box: title, version line, description, legal notice, and a
// button that starts the desktop's system-information program.

#include <QDialog>
#include <array>

#include "platform/Prompts.h"

class QFrame;
class QLabel;
class QPushButton;

namespace farsend {

class IFileSystem;
class ISysInfoSource;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // sysInfo says where the system-information program is; fs is used to
    // look for it in a folder; prompts tells when it cannot be started.
    frmAbout(QWidget* owner, ISysInfoSource& sysInfo, IFileSystem& fs, IPrompts& prompts);

    void StartSysInfo();

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    std::array<QFrame*, 2> Line1{};
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    ISysInfoSource& sysInfo_;
    IFileSystem& fs_;
    IPrompts& prompts_;
};

}  // namespace farsend
