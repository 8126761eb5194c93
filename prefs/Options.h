#pragma once
// What the Options dialog shows and stores, apart from its widgets.

#include <string>
#include <utility>
#include <vector>

#include "platform/Volumes.h"
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

// The drive the dialog's list selects for the stored designation: the mount
// point of the listed volume it names (by designation or by mount point, so a
// volume relabelled since is still the same drive), else the first listed
// volume's designation; empty when none is listed.
std::string optionsDrive(const std::vector<Volume>& listed, const std::string& designation);

// The four "Options" keys OK stores, in the order they are written.
std::vector<std::pair<std::string, std::string>> optionsWrites(const OptionsChoice& choice);

}  // namespace farsend
