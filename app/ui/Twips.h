#pragma once
// Layout in twips: 15 twips are one pixel at 96 dots per inch.

#include <QWidget>

namespace farsend {

constexpr int twips(int t) { return (t + 7) / 15; }

inline void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

// Draws an etched rule across parent at twips y: grey, then light grey.
void etchedRule(QWidget* parent, int y);

}  // namespace farsend
