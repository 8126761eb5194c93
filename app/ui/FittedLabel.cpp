#include "app/ui/FittedLabel.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace farsend {

namespace {

// As a label draws its plain text.
int textFlags(const QLabel& label) {
    return static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
}

// Lets each word of line that is wider than width (a long file name, a
// path component) break anywhere rather than run past the edges.
QString breakingWideWords(const QString& line, const QFontMetrics& fm, int width) {
    QStringList words = line.split(' ');
    for (QString& word : words) {
        if (fm.horizontalAdvance(word) <= width) continue;
        QString breakable;
        for (const QChar c : word) {
            breakable += c;
            if (!c.isHighSurrogate()) breakable += QChar(0x200B);  // zero-width space
        }
        word = breakable;
    }
    return words.join(' ');
}

}  // namespace

QString shortenedInMiddle(const QString& text, const QFontMetrics& fm, int width) {
    return fm.elidedText(text, Qt::ElideMiddle, width);
}

QString FittedLabel::shownText() const {
    const QRect room = contentsRect();
    const QFontMetrics fm(font());
    // A wrapping label lets a word wider than itself break anywhere.
    auto shown = [&](QString line) { return wordWrap() ? breakingWideWords(line, fm, room.width()) : line; };
    auto fits = [&](const QString& text) {
        const QRect needed = fm.boundingRect(room, textFlags(*this), text);
        return needed.width() <= room.width() && needed.height() <= room.height();
    };
    if (fits(text())) return text();
    const QStringList whole = text().split('\n');
    QStringList lines;
    std::vector<int> widths;
    for (const QString& line : whole) {
        lines << shown(line);
        widths.push_back(fm.horizontalAdvance(line));
    }
    // Then shorten the longest line a little at a time, each time from its
    // whole text, until everything fits or nothing is left to shorten.
    const int step = std::max(1, fm.averageCharWidth());
    while (!fits(lines.join('\n'))) {
        const auto longest = std::max_element(widths.begin(), widths.end());
        if (*longest <= step) break;
        *longest -= step;
        const auto i = longest - widths.begin();
        lines[i] = shown(shortenedInMiddle(whole[i], fm, *longest));
    }
    return lines.join('\n');
}

void FittedLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), textFlags(*this), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

}  // namespace farsend
