#pragma once
// Small steps shared by the main-window tests of the application shell.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <functional>

#include "app/ui/DirListBox.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

namespace farsend::test {

// Runs fn from the event loop once the current modal answer has returned, so
// that a dialog it opens can be answered too.
inline void later(std::function<void()> fn) { QTimer::singleShot(0, qApp, std::move(fn)); }

// Arms a catch-all for a dialog that must not appear: sets *seen and closes it.
inline void armUnexpected(bool* seen) {
    onNextModal([seen](QWidget* w) {
        *seen = true;
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    });
}

// Caption, text, buttons and icon of a box in one comparable value.
inline QString boxOf(const SeenMessage& s) {
    return QStringList{s.title, s.text, s.buttons.join('/'), QString::number(s.icon)}.join('|');
}
inline QString okBox(const QString& text) { return "Farsend 98|" + text + "|OK|0"; }

}  // namespace farsend::test
