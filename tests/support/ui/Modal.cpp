#include "support/ui/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <deque>

namespace farsend::test {

namespace {

void answer(QWidget* dialog);

// Watches the application's Show events for modal windows; each gets the
// next armed answer from inside its own event loop.
struct Answerer final : QObject {
    Answerer() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = event->type() == QEvent::Show ? qobject_cast<QWidget*>(watched) : nullptr;
        if (w != nullptr && w->isWindow() && w->isModal()) QTimer::singleShot(0, w, [w] { answer(w); });
        return false;
    }
};

std::deque<std::function<void(QWidget*)>>& armed() {
    static std::deque<std::function<void(QWidget*)>> answers;
    [[maybe_unused]] static const Answerer* const watcher = new Answerer;  // from the first use on
    return answers;
}

// A dialog that opens with no answer armed, or that its answer leaves open,
// is closed now, and the test fails.
void answer(QWidget* dialog) {
    if (!dialog->isVisible()) return;
    if (!armed().empty()) {
        const auto next = std::move(armed().front());
        armed().pop_front();
        next(dialog);
        if (!dialog->isVisible()) return;
    }
    if (!QTest::currentTestFailed())
        QTest::qFail(qPrintable("dialog left open: " + dialog->windowTitle()), __FILE__, __LINE__);
    auto* d = qobject_cast<QDialog*>(dialog);
    d != nullptr ? d->reject() : (void)dialog->close();
}

}  // namespace

void onNextModal(std::function<void(QWidget*)> answer) { armed().push_back(std::move(answer)); }

void clearModalAnswers() { armed().clear(); }

}  // namespace farsend::test
