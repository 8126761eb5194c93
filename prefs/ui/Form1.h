#pragma once
// The Add To Favorites dialog: stores the destination folder under a typed
// name in one of the five slots.

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "platform/Prompts.h"
#include "prefs/SettingsStore.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace farsend {

class Form1 : public QDialog {
    Q_OBJECT
public:
    // Opened with no owner window. folder is what a slot stores; added runs
    // once a slot has been stored (the Favorites menu shows it then).
    Form1(SettingsSaver& settings, IPrompts& prompts, std::string folder, std::function<void()> added);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Command1_Click(int Index);

    std::array<QLabel*, 2> Label1{};
    QLineEdit* txtName = nullptr;
    QComboBox* cboPosition = nullptr;
    std::array<QPushButton*, 2> Command1{};

    SettingsSaver& settings_;
    IPrompts& prompts_;
    std::string folder_;
    std::function<void()> added_;
};

}  // namespace farsend
