#pragma once
// A main window on scratch services: a fault-injecting file system over the
// real one, a settings store in a scratch INI file, a volume list (the real
// one unless a test gives its own) and a recorder in place of ending the
// process.

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/QtPrompts.h"
#include "app/ui/QtVolumes.h"
#include "app/ui/frmFSMain.h"
#include "prefs/ui/QtSettingsStore.h"
#include "support/FaultyFileSystem.h"
#include "support/MemoryStore.h"
#include "support/TempTree.h"

namespace farsend::test {

class MainHarness {
public:
    MainHarness();
    ~MainHarness();

    TempTree tree;                       // scratch files of the test
    FaultyFileSystem fs;                 // wraps the real file system
    std::unique_ptr<QtSettingsStore> store;
    QtVolumes realVolumes;
    QtPrompts prompts;                   // the real boxes, answered through Modal.h
    std::optional<FakeVolumes> fakeVolumes;  // set before create() to replace the machine's volumes
    std::optional<int> endedWith;       // exit code passed to "end at once"
    std::vector<std::string> openedUrls;
    bool openUrlResult = true;

    // Path of the scratch settings file.
    QString storeFile() const;
    // Reads Section/Key from the store file as another process would.
    std::optional<std::string> stored(const std::string& section, const std::string& key) const;
    // Writes Section/Key into the store file before the window starts.
    void preset(const std::string& section, const std::string& key, const std::string& value);

    // Creates the window with these arguments (not yet loaded or shown).
    farsend::frmFSMain& create(std::vector<std::string> args);
    // Creates it, runs the start-up sequence and shows it when that succeeded;
    // returns whether start-up succeeded.
    bool start(std::vector<std::string> args);
    farsend::frmFSMain& window() { return *window_; }

private:
    std::unique_ptr<farsend::frmFSMain> window_;
};

}  // namespace farsend::test
