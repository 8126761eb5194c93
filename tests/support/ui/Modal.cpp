#include "support/ui/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <deque>

namespace farsend::test {

namespace {

// Watches the application's Show events for modal windows; each gets the
// next armed answer from inside its own event loop.
class Answerer final : public QObject {
public:
    Answerer() { qApp->installEventFilter(this); }
    std::deque<std::function<void(QWidget*)>> answers;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = event->type() == QEvent::Show && watched->isWidgetType() ? static_cast<QWidget*>(watched) : nullptr;
        if (w != nullptr && w->isWindow() && w->isModal())
            QMetaObject::invokeMethod(
                this, [this, d = QPointer<QWidget>(w)] { answer(d); }, Qt::QueuedConnection);
        return false;
    }

private:
    void answer(const QPointer<QWidget>& dialog) {
        if (dialog.isNull() || !dialog->isVisible()) return;
        const QString title = dialog->windowTitle();
        if (!answers.empty()) {
            const auto next = std::move(answers.front());
            answers.pop_front();
            next(dialog);
            if (dialog.isNull() || !dialog->isVisible()) return;
        }
        // Not expected, or left open by its answer: closed now, and the test fails.
        if (auto* d = qobject_cast<QDialog*>(dialog.data()))
            d->reject();
        else
            dialog->close();
        if (!QTest::currentTestFailed()) QTest::qFail(qPrintable("dialog left open: " + title), __FILE__, __LINE__);
    }
};

Answerer& answerer() {
    static auto* a = new Answerer;
    return *a;
}

}  // namespace

void onNextModal(std::function<void(QWidget*)> answer) { answerer().answers.push_back(std::move(answer)); }

int pendingModalAnswers() { return static_cast<int>(answerer().answers.size()); }

void clearModalAnswers() { answerer().answers.clear(); }

}  // namespace farsend::test
