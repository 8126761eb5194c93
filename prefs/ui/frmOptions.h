#pragma once
// The Options dialog: the start folder, the default mode and tooltips.
// Starts from the main window's in-memory settings; OK stores the choices,
// and either button leaves the main window to load them again.

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace farsend {

class DriveListBox;
class frmFSMain;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(frmFSMain& main);

    QGroupBox* fraStartup = nullptr;
    QRadioButton* optLDU = nullptr;
    QRadioButton* optRootDir = nullptr;
    DriveListBox* drvDefaultDrive = nullptr;
    QWidget* Picture1 = nullptr;
    QRadioButton* optCopy = nullptr;
    QRadioButton* optMove = nullptr;
    QCheckBox* chkTips = nullptr;
    std::array<QPushButton*, 2> Command1{};

    void Form_Load();
    void Command1_Click(int Index);

    // Whether OK or Cancel closed it (not the window's close command).
    bool closedByButton() const { return closedByButton_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitToFont();

    frmFSMain& main_;
    bool closedByButton_ = false;
};

}  // namespace farsend
