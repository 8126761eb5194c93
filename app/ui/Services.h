#pragma once
// What the windows need from the outside world, gathered so tests can hand
// in a scratch settings store, a fault-injecting file system, a fake volume
// list, scripted prompts and a recorder in place of ending the process.

#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/Volumes.h"
#include "prefs/SettingsStore.h"

namespace farsend {

class ISysInfoSource;

struct Services {
    IFileSystem* fs = nullptr;
    IVolumes* volumes = nullptr;
    ISettingsStore* store = nullptr;
    // Every question and message of the program.
    IPrompts* prompts = nullptr;
    // Where the About box's System Info button looks; null: the desktop's own.
    ISysInfoSource* sysInfo = nullptr;
    // The program's arguments, without its own name: one piece each.
    std::vector<std::string> args;
    // Ends the process at once, without the main window's closing steps.
    std::function<void(int exitCode)> endNow;
    // Opens an address with the desktop's associated program; false when it
    // could not.
    std::function<bool(const std::string& url)> openUrl;
};

}  // namespace farsend
