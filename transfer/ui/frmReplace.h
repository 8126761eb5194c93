#pragma once
// The Replace File? dialog: five buttons whose index is the answer. None of
// them is a default or cancel button, so neither Enter nor Esc answers; the
// dialog closed through its frame leaves the answer its caller stored.

#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;

namespace farsend {

class frmReplace : public QDialog {
    Q_OBJECT
public:
    // answer receives the index of the pressed button.
    explicit frmReplace(std::int16_t& answer, QWidget* parent = nullptr);

    void Command1_Click(int Index);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QPushButton*, 5> Command1{};

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void spreadRow();

    std::int16_t& answer_;
};

}  // namespace farsend
