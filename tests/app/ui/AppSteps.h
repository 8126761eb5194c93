#pragma once
// Small steps shared by the main-window tests of the application shell.

#include <QDialog>
#include <QTimer>
#include <functional>

#include "support/ui/Modal.h"

namespace farsend::test {

// Runs fn from the event loop once the current modal answer has returned.
// An answer that presses a button which opens another dialog must go this
// way: a nested dialog opened inside the answer could never be answered.
inline void later(std::function<void()> fn) { QTimer::singleShot(0, qApp, std::move(fn)); }

// Arms a catch-all for a dialog that must not appear: it sets *seen and
// closes the dialog. A test checks afterwards that pendingModalAnswers()
// still counts it, then clears the answers.
inline void armUnexpected(bool* seen) {
    onNextModal([seen](QWidget* w) {
        *seen = true;
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    });
}

}  // namespace farsend::test
