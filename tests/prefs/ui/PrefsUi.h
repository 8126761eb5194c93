#pragma once
// Shared steps of the preferences window tests.

#include <QAction>
#include <QApplication>
#include <QTest>

#include "app/ui/frmFSMain.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

namespace farsend::test {

// Starts the main window on one scratch file; start-up applies the settings.
inline bool startMain(MainHarness& h) { return h.start({h.tree.file("item.txt", "x")}); }

// A volume list of the root and one labelled volume mounted in the scratch tree.
inline void useScratchVolumes(MainHarness& h) {
    h.fakeVolumes.emplace(std::vector<Volume>{{"/", ""}, {h.tree.dir("usb"), "STICK"}});
}

// Lets pending events (queued dialogs, polls) run.
inline void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace farsend::test
