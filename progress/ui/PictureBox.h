#pragma once
// A picture box: a framed canvas that keeps what was painted on it in a
// backing image, so window repaints never lose the progress bar.

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>

#include "progress/Canvas.h"

namespace farsend {

class PictureBox : public QWidget, public ICanvas {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // ICanvas: the inner area lies inside a 1-pixel sunken frame.
    bool isPictureBox() const override { return true; }
    void usePixelCoordinates() override {}
    double innerWidth() const override;
    double innerHeight() const override;
    double outerWidth() const override;
    void setOuterWidth(double width) override;
    OleColor foreColor() const override { return fore_; }
    void setForeColor(OleColor color) override;
    OleColor backColor() const override { return back_; }
    void setBackColor(OleColor color) override { back_ = color; }
    void clear() override;
    void fillRect(int x1, int y1, int x2, int y2) override;
    std::uint64_t pixelsVersion() const override { return version_; }

    // The colour that color stands for: system colours from this widget's
    // palette (13 highlight, 15 button face, ...), others as 0x00BBGGRR.
    QColor resolve(OleColor color) const;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Fits the backing image to the inner area, keeping what it holds and
    // filling new room with the back colour.
    void fitImage();
    // Marks the pixels as changed; the numbers are unique among all boxes.
    void touch();

    QImage image_;
    OleColor fore_ = kSystemColorFlag | 18;  // button text
    OleColor back_ = kColorButtonFace;
    std::uint64_t version_ = 0;
    // The fore colour as a pixel, resolved once per colour and palette.
    QRgb forePixel_ = 0;
    bool forePixelKnown_ = false;
};

}  // namespace farsend
