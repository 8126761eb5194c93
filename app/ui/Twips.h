#pragma once
// Layout in twips: 15 twips are one pixel at 96 dots per inch.

#include <QFont>
#include <QLabel>
#include <QWidget>

namespace farsend {

constexpr int twips(int t) { return (t + 7) / 15; }

inline void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

// The font of the program's forms: a narrow sans serif at 8.25 points.
QFont formFont();

// Lets a one-line label show all of its text: it widens up to rightEdge
// pixels and, where even that is too narrow for the desktop's font, its
// font shrinks to fit.
void fitLabel(QLabel* label, int rightEdge);

// Draws an etched rule at twips y from the left edge: a grey line reaching
// darkRight, and one twips-pixel below it a light grey one reaching lightRight.
void etchedRule(QWidget* parent, int y, int darkRight, int lightRight);

}  // namespace farsend
