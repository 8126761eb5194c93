#pragma once
// A main window on scratch services: a fault-injecting file system over the
// real one, settings in memory, volumes of the test's choosing (the root
// alone unless it says otherwise), prompts answered from a script, and
// recorders in place of ending the process and opening the help page. And
// the small steps the window tests share.

#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/frmFSMain.h"
#include "support/FaultyFileSystem.h"
#include "support/MemoryStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"
#include "support/ui/Modal.h"

namespace farsend::test {

// The control of parent with this object name; stops the test when there is none.
template <class T = QWidget>
T* child(QObject& parent, const char* name) {
    if (T* found = parent.findChild<T*>(name)) return found;
    qFatal("no control named %s", name);
}

inline void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// A key pressed where the focus is, as a user would.
inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

inline QStringList lines(const std::vector<std::string>& texts) {
    QStringList out;
    for (const std::string& s : texts) out << QString::fromStdString(s);
    return out;
}

struct MainHarness {
    TempTree tree;
    FaultyFileSystem fs;
    MemoryStore store;
    ScriptedPrompts prompts;
    FakeVolumes volumes{{{"/", ""}}};
    ISysInfoSource* sysInfo = nullptr;
    std::optional<int> endedWith;  // the exit code of "end at once"
    std::vector<std::string> openedUrls;
    std::unique_ptr<frmFSMain> window_;

    MainHarness() { clearModalAnswers(); }
    std::optional<std::string> stored(const std::string& section, const std::string& key) {
        return store.read(section, key);
    }
    // Creates the window, runs the start-up sequence and shows the window when
    // that succeeded (else unloads it); returns whether it succeeded.
    bool start(std::vector<std::string> args) {
        window_ = std::make_unique<frmFSMain>(
            Services{&fs, &volumes, &store, &prompts, sysInfo, std::move(args), [this](int code) { endedWith = code; },
                     [this](const std::string& url) { return openedUrls.push_back(url), true; }});
        if (!window_->Form_Load()) return window_->Form_Unload(), false;
        window_->show();
        return QTest::qWaitForWindowExposed(window_.get());
    }
    frmFSMain& window() { return *window_; }
};

}  // namespace farsend::test
