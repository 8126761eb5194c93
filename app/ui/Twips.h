#pragma once
// Layout in twips: 15 twips are one pixel at 96 dots per inch.

#include <QFont>
#include <QWidget>

namespace farsend {

constexpr int twips(int t) { return (t + 7) / 15; }

inline void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

// The font of every window and message box of the program: the desktop's
// own family, at the 8.25 points the layout was drawn for. Every window
// shows the same font, and the layout leaves room for the widest of the
// desktops' sans serifs.
QFont formFont();

// Where the one-line text of w needs more room than its designed size gives it, grows w
// to its text: the width from its left edge, the height around its middle,
// so that a caption stays level with the control beside it.
void growToText(QWidget* w);

// Draws an etched rule at twips y from the left edge: a grey line reaching
// darkRight, and one twips-pixel below it a light grey one reaching lightRight.
void etchedRule(QWidget* parent, int y, int darkRight, int lightRight);

}  // namespace farsend
