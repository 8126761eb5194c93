#pragma once
// A main window on scratch services: the real file system, faults by path
// at its system calls, settings in memory, volumes of the test's choosing (the root
// alone unless it says otherwise), prompts answered from a script, and
// recorders in place of ending the process and opening the help page. And
// the small steps the window tests share, answering modal dialogs among them.

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "app/ui/frmFSMain.h"
#include "support/MemoryStore.h"
#include "support/PathFaults.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

namespace farsend::test {

namespace modal {

inline std::deque<std::function<void(QWidget*)>> armed;

// A dialog that opens with no answer armed, or that its answer leaves open,
// is closed now, and the test fails.
inline void answer(QWidget* dialog) {
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
inline void watch() { [[maybe_unused]] static const Answerer* const watcher = new Answerer; }

}  // namespace modal

// A test arms an answer before the action that opens a modal dialog; the
// answers run in the order armed, one per dialog, inside the dialog's own
// event loop as soon as it is shown. A dialog that its answer leaves open, or
// that opens with no answer armed, is closed at once and fails the test: a
// failing check never leaves a dialog waiting for the watchdog.
inline void onNextModal(std::function<void(QWidget*)> answer) {
    modal::watch(), modal::armed.push_back(std::move(answer));
}
inline void clearModalAnswers() { modal::watch(), modal::armed.clear(); }  // between test functions

// The control of parent with this object name; stops the test when there is none.
template <class T = QWidget>
T* child(QObject& parent, const char* name) {
    if (T* found = parent.findChild<T*>(name)) return found;
    qFatal("no control named %s", name);
}

inline void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// A key pressed where the focus is, as a user would.
inline void press(Qt::Key key, Qt::KeyboardModifiers m = {}) { QTest::keyClick(QApplication::focusWidget(), key, m); }

inline QStringList lines(const std::vector<std::string>& texts) {
    QStringList out;
    for (const std::string& s : texts) out << QString::fromStdString(s);
    return out;
}

struct MainHarness {
    TempTree tree;
    PathFaults fs;  // faults of the real file system by path
    MemoryStore store;
    ScriptedPrompts prompts;
    FakeVolumes volumes;
    ISysInfoSource* sysInfo = nullptr;
    std::optional<int> endedWith;  // the exit code of "end at once"
    std::vector<std::string> openedUrls;
    std::unique_ptr<frmFSMain> window_;

    MainHarness() { clearModalAnswers(); }
    std::optional<std::string> stored(const std::string& s, const std::string& k) { return store.read(s, k); }
    // Creates the window, runs the start-up sequence and shows the window when
    // that succeeded (else unloads it); returns whether it succeeded.
    bool start(std::vector<std::string> args) {
        window_ = std::make_unique<frmFSMain>(
            Services{&realFileSystem(), &volumes, &store, &prompts, sysInfo, std::move(args),
                     [this](int code) { endedWith = code; },
                     [this](const std::string& url) { return openedUrls.push_back(url), true; }});
        if (!window_->Form_Load()) return window_->Form_Unload(), false;
        window_->show();
        return QTest::qWaitForWindowExposed(window_.get());
    }
    frmFSMain& window() { return *window_; }
};

}  // namespace farsend::test
