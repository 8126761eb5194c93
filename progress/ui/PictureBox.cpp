#include "progress/ui/PictureBox.h"

#include <QPainter>

namespace farsend {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent*) {}

}  // namespace farsend
