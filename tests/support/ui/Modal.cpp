#include <QDialog>
#include <QTimer>
#include <deque>

#include "support/ui/MainHarness.h"

namespace farsend::test {

namespace {

std::deque<std::function<void(QWidget*)>> armed;

// A dialog that opens with no answer armed, or that its answer leaves open,
// is closed now, and the test fails.
void answer(QWidget* dialog) {
    if (!dialog->isVisible()) return;
    if (!armed.empty()) {
        const auto next = std::move(armed.front());
        armed.pop_front();
        next(dialog);
        if (!dialog->isVisible()) return;
    }
    if (!QTest::currentTestFailed())
        QTest::qFail(qPrintable("dialog left open: " + dialog->windowTitle()), __FILE__, __LINE__);
    auto* d = qobject_cast<QDialog*>(dialog);
    d != nullptr ? d->reject() : (void)dialog->close();
}

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

// From the first use on (the application exists by then).
void watch() { [[maybe_unused]] static const Answerer* const watcher = new Answerer; }

}  // namespace

void onNextModal(std::function<void(QWidget*)> answer) { watch(), armed.push_back(std::move(answer)); }

void clearModalAnswers() { watch(), armed.clear(); }

}  // namespace farsend::test
