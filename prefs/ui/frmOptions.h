#pragma once
// The Options dialog: the start folder, the default mode and tooltips.
// Starts from the in-memory settings; OK stores the choices, and either
// button leaves the caller to load them again.

#include <QDialog>
#include <array>

#include "platform/Volumes.h"
#include "prefs/InMemorySettings.h"
#include "prefs/SettingsStore.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace farsend {

class DriveListBox;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    // Opened with no owner window: current is what the last settings load
    // left, volumes feed the drive list, OK stores through settings.
    frmOptions(const InMemorySettings& current, IVolumes& volumes, SettingsSaver& settings);

    // Whether OK or Cancel closed it (not the window's close command).
    bool closedByButton() const { return closedByButton_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Command1_Click(int Index);
    void fitToFont();

    QGroupBox* fraStartup = nullptr;
    QRadioButton* optLDU = nullptr;
    QRadioButton* optRootDir = nullptr;
    DriveListBox* drvDefaultDrive = nullptr;
    QWidget* Picture1 = nullptr;
    QRadioButton* optCopy = nullptr;
    QRadioButton* optMove = nullptr;
    QCheckBox* chkTips = nullptr;
    std::array<QPushButton*, 2> Command1{};

    const InMemorySettings& current_;
    SettingsSaver& settings_;
    bool closedByButton_ = false;
};

}  // namespace farsend
