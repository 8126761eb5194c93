#include "progress/ui/PictureBox.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace farsend {

namespace {

constexpr int kFrame = 1;

// Palette roles for the system colour indexes the program may name.
QPalette::ColorRole roleOf(unsigned index) {
    switch (index) {
        case 4:
            return QPalette::Window;  // menu
        case 5:
            return QPalette::Base;  // window background
        case 7:
            return QPalette::WindowText;  // menu text
        case 8:
            return QPalette::Text;  // window text
        case 13:
            return QPalette::Highlight;  // selected items
        case 14:
            return QPalette::HighlightedText;  // selected text
        case 15:
            return QPalette::Button;  // button face
        case 16:
            return QPalette::Dark;  // button shadow
        case 17:
            return QPalette::PlaceholderText;  // grey text
        case 18:
            return QPalette::ButtonText;  // button text
        case 20:
            return QPalette::Light;  // button highlight
        case 21:
            return QPalette::Shadow;  // dark shadow
        case 22:
            return QPalette::Midlight;  // light edge
        case 23:
            return QPalette::ToolTipText;
        case 24:
            return QPalette::ToolTipBase;
        default:
            return QPalette::Window;
    }
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    // The whole widget is painted from the frame and the image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    touch();
}

void PictureBox::touch() {
    static std::uint64_t last = 0;
    version_ = ++last;
}

void PictureBox::setForeColor(OleColor color) {
    if (color != fore_) forePixelKnown_ = false;
    fore_ = color;
}

void PictureBox::changeEvent(QEvent* event) {
    // System colours may stand for other colours now.
    const QEvent::Type type = event->type();
    if (type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange || type == QEvent::StyleChange) {
        forePixelKnown_ = false;
        touch();
    }
    QWidget::changeEvent(event);
}

double PictureBox::innerWidth() const { return std::max(0, width() - 2 * kFrame); }
double PictureBox::innerHeight() const { return std::max(0, height() - 2 * kFrame); }
double PictureBox::outerWidth() const { return width(); }

void PictureBox::setOuterWidth(double width) {
    const int w = std::max(2 * kFrame, static_cast<int>(std::lround(width)));
    resize(w, height());  // the left edge stays
    fitImage();
}

QColor PictureBox::resolve(OleColor color) const {
    if (color & kSystemColorFlag) return palette().color(roleOf(color & 0xFFu));
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

void PictureBox::fitImage() {
    const QSize inner(static_cast<int>(innerWidth()), static_cast<int>(innerHeight()));
    if (image_.size() == inner) return;
    QImage next(inner, QImage::Format_RGB32);
    if (!next.isNull()) {
        next.fill(resolve(back_));
        if (!image_.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, image_);
        }
    }
    image_ = std::move(next);
    touch();
}

void PictureBox::clear() {
    fitImage();
    image_.fill(resolve(back_));
    touch();
    update();
}

void PictureBox::fillRect(int x1, int y1, int x2, int y2) {
    fitImage();
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, image_.width() - 1);
    y2 = std::min(y2, image_.height() - 1);
    if (x1 > x2 || y1 > y2) return;
    // Boxes that already show the colour cost no repaint, and no copy of
    // the image either.
    if (!forePixelKnown_) {
        forePixel_ = resolve(fore_).rgb();
        forePixelKnown_ = true;
    }
    const QRgb pixel = forePixel_;
    const qsizetype stride = image_.bytesPerLine();
    const auto rowAt = [stride](const uchar* bits, int y) {
        return reinterpret_cast<const QRgb*>(bits + static_cast<qsizetype>(y) * stride);
    };
    const uchar* seen = image_.constBits();
    bool changed = false;
    for (int y = y1; y <= y2 && !changed; ++y) {
        const QRgb* row = rowAt(seen, y);
        for (int x = x1; x <= x2; ++x) {
            if (row[x] != pixel) {
                changed = true;
                break;
            }
        }
    }
    if (!changed) return;
    uchar* bits = image_.bits();
    for (int y = y1; y <= y2; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * stride);
        std::fill(row + x1, row + x2 + 1, pixel);
    }
    touch();
    update(QRect(x1 + kFrame, y1 + kFrame, x2 - x1 + 1, y2 - y1 + 1));
}

void PictureBox::paintEvent(QPaintEvent*) {
    fitImage();
    QPainter p(this);
    qDrawShadePanel(&p, rect(), palette(), /*sunken=*/true, kFrame);
    if (!image_.isNull()) p.drawImage(kFrame, kFrame, image_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    fitImage();
    QWidget::resizeEvent(event);
}

}  // namespace farsend
