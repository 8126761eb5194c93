#pragma once
// Placement helpers for this program's dialogs.

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace farsend {

// Dialogs centre themselves on the screen when they load.
inline void centreOnScreen(QWidget* w) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    w->move(area.left() + (area.width() - w->width()) / 2, area.top() + (area.height() - w->height()) / 2);
}

// Esc presses the dialog's Cancel button (whose handler may do more than
// close), rather than merely rejecting the dialog. Returns whether it did.
inline bool escapeClicks(QKeyEvent* event, QAbstractButton* cancel) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) return false;
    cancel->click();
    return true;
}

}  // namespace farsend
