#pragma once
// Shared set-up of the transfer's window tests: a main window on scratch
// services with a selection and a destination, the progress values it
// shows recorded, and the transfer started by a click as a user would.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "app/ui/DirListBox.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

namespace farsend::test {

struct TransferRun {
    MainHarness h;
    std::vector<int> values;  // every progress value, in order

    frmFSMain& w() { return h.window(); }

    // Starts the window on args with destination as the chosen folder.
    bool start(const std::vector<std::string>& args, const std::string& destination, const QString& caption = "&Copy") {
        if (!h.start(args)) return false;
        frmFSMain& win = h.window();
        if (win.FileCount == 0 && !args.empty()) {
            // Start-up fills the selection from the arguments; fill it the
            // same way where it has not.
            for (std::size_t i = 0; i < args.size() && i < 21; ++i) win.SelectedFiles[i] = args[i];
            win.FileCount = static_cast<std::int16_t>(std::min<std::size_t>(args.size(), 21));
        }
        (void)win.dirFSDir->setPath(destination);
        win.Command1[0]->setText(caption);
        win.progressTap = [this](std::int32_t v) { values.push_back(v); };
        return true;
    }

    // A left click on the Copy/Move button: runs the whole transfer.
    void click() { QTest::mouseClick(w().Command1[0], Qt::LeftButton); }

    bool closed() { return !w().isVisible() && !h.endedWith; }
    bool endedAtOnce() { return h.endedWith.has_value(); }
};

inline std::string slurp(const std::string& path) { return TempTree::read(path); }

}  // namespace farsend::test
