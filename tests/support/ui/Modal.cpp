#include "support/ui/Modal.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>

namespace farsend::test {

namespace {

struct Pending {
    std::function<void(QWidget*)> answer;
};

std::deque<Pending>& queue() {
    static std::deque<Pending> q;
    return q;
}

QPointer<QWidget>& lastAnswered() {
    static QPointer<QWidget> w;
    return w;
}

QTimer* poller();

// Bumped by clearModalAnswers, so that an answer already on its way does not
// reach a later test's dialog.
int& generation() {
    static int g = 0;
    return g;
}

void poll() {
    if (queue().empty()) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == lastAnswered().data()) return;
    auto p = std::make_shared<Pending>(std::move(queue().front()));
    queue().pop_front();
    lastAnswered() = modal;
    // The answer runs from the event loop, not inside this timer's callback:
    // Qt does not call a timer's slot again while it is still running, so a
    // click that opens a nested modal dialog from here could never see that
    // dialog answered.
    QTimer::singleShot(0, qApp, [p, dialog = QPointer<QWidget>(modal), armedIn = generation()] {
        if (armedIn != generation()) return;
        if (dialog.isNull() || !dialog->isVisible()) {
            // Closed by something else meanwhile: the answer waits for the
            // next dialog instead of being lost.
            queue().push_front(std::move(*p));
            lastAnswered() = nullptr;
            return;
        }
        p->answer(dialog.data());
    });
}

QTimer* poller() {
    static QTimer* t = [] {
        auto* timer = new QTimer(qApp);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, &poll);
        return timer;
    }();
    return t;
}

QAbstractButton* findButton(QWidget* dialog, const QString& nameOrText) {
    for (auto* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->objectName() == nameOrText) return b;
    }
    for (auto* b : dialog->findChildren<QAbstractButton*>()) {
        if (plain(b->text()) == plain(nameOrText)) return b;
    }
    return nullptr;
}

}  // namespace

QString plain(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

void onNextModal(std::function<void(QWidget*)> answer) {
    queue().push_back({std::move(answer)});
    poller()->start();
}

int pendingModalAnswers() { return static_cast<int>(queue().size()); }

void clearModalAnswers() {
    ++generation();
    queue().clear();
    lastAnswered() = nullptr;
}

void answerMessageBox(const QString& buttonText, SeenMessage* seen) {
    onNextModal([buttonText, seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box != nullptr, qPrintable("expected a message box, got " + QString(w->metaObject()->className())));
        if (seen != nullptr) {
            seen->text = box->text();
            seen->title = box->windowTitle();
            seen->icon = box->icon();
            seen->buttons.clear();
            if (auto* bb = box->findChild<QDialogButtonBox*>()) {
                for (auto* b : bb->buttons()) seen->buttons << plain(b->text());
            }
            seen->defaultButton = box->defaultButton() ? plain(box->defaultButton()->text()) : QString();
        }
        QAbstractButton* b = findButton(box, buttonText);
        QVERIFY2(b != nullptr, qPrintable("no button " + buttonText + " in box: " + box->text()));
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

void answerInputBox(const QString& text, bool accept, QString* prompt, QString* title, QString* proposed) {
    onNextModal([=](QWidget* w) {
        auto* edit = w->findChild<QLineEdit*>();
        QVERIFY2(edit != nullptr, "expected an input box");
        if (prompt != nullptr) {
            *prompt = QString();
            for (auto* l : w->findChildren<QLabel*>())
                if (!l->text().isEmpty()) *prompt = l->text();
        }
        if (title != nullptr) *title = w->windowTitle();
        if (proposed != nullptr) *proposed = edit->text();
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
        QAbstractButton* b = nullptr;
        if (auto* bb = w->findChild<QDialogButtonBox*>())
            b = bb->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        if (b == nullptr) b = findButton(w, accept ? "OK" : "Cancel");
        QVERIFY2(b != nullptr, "input box without OK/Cancel");
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

void clickInNextModal(const QString& buttonNameOrText) {
    onNextModal([buttonNameOrText](QWidget* w) {
        QAbstractButton* b = findButton(w, buttonNameOrText);
        QVERIFY2(b != nullptr, qPrintable("no button " + buttonNameOrText + " in " + w->windowTitle()));
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

}  // namespace farsend::test
