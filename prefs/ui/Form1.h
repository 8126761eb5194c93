#pragma once
// The Add To Favorites dialog: stores the main window's destination folder
// under a typed name in one of the five slots.

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace farsend {

class frmFSMain;

class Form1 : public QDialog {
    Q_OBJECT
public:
    // Opened with no owner window; main is where the folder comes from and
    // whose menu is refreshed.
    explicit Form1(frmFSMain& main);

    std::array<QLabel*, 2> Label1{};
    QLineEdit* txtName = nullptr;
    QComboBox* cboPosition = nullptr;
    std::array<QPushButton*, 2> Command1{};

    void Form_Load();
    void Command1_Click(int Index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    frmFSMain& main_;
};

}  // namespace farsend
