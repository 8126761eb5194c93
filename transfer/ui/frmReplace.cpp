#include "transfer/ui/frmReplace.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

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
    setFont(formFont());

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    place(Image1, 120, 180, 480, 480);

    // The question was drawn on one line of a narrow font; it takes two
    // lines where the font is wider, in the room above the buttons.
    Label1 = new QLabel("There is already a file by this name... Do you want to replace this file?", this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    place(Label1, 780, 90, 4935, 570);

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
    spreadRow();
    setTabOrder(Command1[1], Command1[2]);
    setTabOrder(Command1[2], Command1[3]);
    setTabOrder(Command1[3], Command1[4]);
    setTabOrder(Command1[4], Command1[0]);
    Command1[1]->setFocus();
}

void frmReplace::spreadRow() {
    // Where a caption needs more than the designed width, the buttons share
    // one width wide enough for the longest, with the narrowest designed gap
    // between them; the row stays centred where it was drawn.
    const int padding =
        style()->pixelMetric(QStyle::PM_ButtonMargin) + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    int width = Command1[0]->width();
    for (QPushButton* b : Command1)
        width = std::max(width, b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).width() + padding);
    if (width == Command1[0]->width()) return;
    const int gap = twips(kButtons[2].left - kButtons[1].left - 975);
    const int row = 5 * width + 4 * gap;
    const int centre = (twips(kButtons[1].left) + twips(kButtons[0].left + 975)) / 2;
    int left = std::max(0, std::min(centre - row / 2, this->width() - row));
    for (std::size_t i : {1, 2, 3, 4, 0}) {
        Command1[i]->setGeometry(left, Command1[i]->y(), width, Command1[i]->height());
        left += width + gap;
    }
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
