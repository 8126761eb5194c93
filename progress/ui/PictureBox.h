#pragma once
// A picture box: a framed canvas that keeps what was painted on it in a
// backing image, so window repaints never lose the progress bar.

#include <QImage>
#include <QWidget>

namespace farsend {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image_;
};

}  // namespace farsend
