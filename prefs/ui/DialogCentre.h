#pragma once
// Dialogs of this program centre themselves on the screen when they load.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace farsend {

inline void centreOnScreen(QWidget* w) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    w->move(area.left() + (area.width() - w->width()) / 2, area.top() + (area.height() - w->height()) / 2);
}

}  // namespace farsend
