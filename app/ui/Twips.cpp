#include "app/ui/Twips.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <algorithm>

namespace farsend {

QFont formFont() {
    QFont f = QGuiApplication::font();
    // The layout was drawn for a narrow sans serif; prefer one of that
    // width where the desktop has it, else its own sans serif.
    f.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial", "Nimbus Sans",
                   "Helvetica", f.family()});
    f.setPointSizeF(8.25);
    return f;
}

void fitLabel(QLabel* label, int rightEdge) {
    const int room = rightEdge - label->x();
    QFont f = label->font();
    auto needed = [&] { return QFontMetrics(f).horizontalAdvance(label->text()) + 2; };
    while (needed() > room && f.pointSizeF() > 6.0) f.setPointSizeF(f.pointSizeF() - 0.25);
    label->setFont(f);
    if (needed() > label->width()) label->resize(std::min(needed(), room), label->height());
}

static void ruleLine(QWidget* parent, int y, int right, const char* colour) {
    auto* line = new QFrame(parent);
    line->setObjectName("rule");
    line->setGeometry(0, twips(y), twips(right), 1);
    line->setStyleSheet(QString("background: %1; border: none").arg(colour));
}

void etchedRule(QWidget* parent, int y, int darkRight, int lightRight) {
    ruleLine(parent, y, darkRight, "rgb(128,128,128)");
    ruleLine(parent, y + 15, lightRight, "rgb(224,224,224)");
}

}  // namespace farsend
