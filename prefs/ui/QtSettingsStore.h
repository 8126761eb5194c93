#pragma once
// The settings store as an INI file under the user's configuration folder
// ($XDG_CONFIG_HOME/Farsend98/VA30.ini), one group per section.

#include <QString>

#include "prefs/SettingsStore.h"

namespace farsend {

class QtSettingsStore final : public ISettingsStore {
public:
    // The user's own store.
    QtSettingsStore();
    // A store kept in the given file (for tests).
    explicit QtSettingsStore(const QString& fileName);

    // A file that cannot be read (missing, unreadable, not an INI file) holds
    // no keys.
    std::optional<std::string> read(const std::string& section, const std::string& key) override;
    Status write(const std::string& section, const std::string& key, const std::string& value) override;
    std::string location() const override;

private:
    QString fileName_;
};

}  // namespace farsend
