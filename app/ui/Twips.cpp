#include "app/ui/Twips.h"

#include <QFrame>
#include <QGuiApplication>
#include <algorithm>

namespace farsend {

QFont formFont() {
    QFont f = QGuiApplication::font();
    f.setPointSizeF(8.25);
    return f;
}

void growToText(QWidget* w) {
    const QSize need = w->sizeHint();
    const int height = std::max(w->height(), need.height());
    w->setGeometry(w->x(), w->y() - (height - w->height()) / 2, std::max(w->width(), need.width()), height);
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
