#pragma once
// A label for texts of any length, such as paths. Where its lines (wrapped
// at word breaks and after separators when it wraps) need more room than the
// label has, the longest line is shortened in its middle ("..."), so that a
// path keeps its beginning and its end. text() stays whole.

#include <QLabel>

namespace farsend {

// Returns text shortened in its middle to at most width pixels of fm, an
// ellipsis standing for what is left out, so that a path keeps its beginning
// and its end; text itself where it fits.
QString shortenedInMiddle(const QString& text, const QFontMetrics& fm, int width);

class FittedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as it is drawn.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace farsend
