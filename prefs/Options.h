#pragma once
// What the Options dialog shows and stores, apart from its widgets.

#include <string>
#include <utility>
#include <vector>

#include "prefs/InMemorySettings.h"

namespace farsend {

struct OptionsChoice {
    bool rootDir = true;  // optRootDir selected (else optLDU)
    std::string drive;    // designation of the default drive
    bool copy = true;     // optCopy selected (else optMove)
    bool tips = false;    // chkTips checked
};

// The dialog's starting state, from the in-memory settings.
OptionsChoice optionsFrom(const InMemorySettings& settings);

// The four "Options" keys OK stores, in the order they are written.
std::vector<std::pair<std::string, std::string>> optionsWrites(const OptionsChoice& choice);

}  // namespace farsend
