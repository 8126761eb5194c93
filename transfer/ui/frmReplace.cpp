#include "transfer/ui/frmReplace.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/ui/Twips.h"

namespace farsend {

namespace {

struct ButtonSpec {
    const char* caption;
    int left;
};

// Index = answer; the row runs Yes, Yes to All, No, No to All, Cancel.
constexpr std::array<ButtonSpec, 5> kButtons{{
    {"&Cancel", 4665},
    {"&Yes", 525},
    {"&Yes to &All", 1545},
    {"&No", 2595},
    {"N&o to All", 3645},
}};

}  // namespace

frmReplace::frmReplace(std::int16_t& answer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      answer_(answer) {
    setObjectName("frmReplace");
    setWindowTitle("Replace File?");
    setModal(true);
    setFixedSize(twips(6165), twips(1185));

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    place(Image1, 120, 180, 480, 480);

    Label1 = new QLabel("There is already a file by this name... Do you want to replace this file?", this);
    Label1->setObjectName("Label1");
    place(Label1, 780, 240, 4935, 195);

    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(kButtons[i].caption, this);
        b->setObjectName(QString("Command1_%1").arg(i));
        // Enter must not answer: no button becomes the default.
        b->setAutoDefault(false);
        b->setDefault(false);
        place(b, kButtons[i].left, 720, 975, 315);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[i] = b;
    }
    setTabOrder(Command1[1], Command1[2]);
    setTabOrder(Command1[2], Command1[3]);
    setTabOrder(Command1[3], Command1[4]);
    setTabOrder(Command1[4], Command1[0]);
    Command1[1]->setFocus();
}

void frmReplace::Command1_Click(int Index) {
    answer_ = static_cast<std::int16_t>(Index);
    accept();
}

void frmReplace::keyPressEvent(QKeyEvent* event) {
    // Neither key answers; QDialog would take Esc as a rejection.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace farsend
