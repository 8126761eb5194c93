#pragma once
// The per-user settings store, addressed by section and key under the
// program's one application name. The windows give it a QSettings file;
// tests give it a map.

#include <optional>
#include <string>

#include "platform/Prompts.h"
#include "platform/Result.h"

namespace farsend {

inline constexpr const char* kAppName = "VA30";

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored text, or nothing when the key is absent (a key stored with
    // empty text reads as empty text).
    virtual std::optional<std::string> read(const std::string& section, const std::string& key) = 0;
    // Stores text, creating section and key as needed; the write reaches the
    // disk before this returns, or the failure is returned.
    virtual Status write(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Where the store lives, for messages.
    virtual std::string location() const = 0;
};

// Returns the stored text of section/key, or defaultValue when it is absent.
inline std::string GetSetting(ISettingsStore& store, const std::string& section, const std::string& key,
                              const std::string& defaultValue) {
    auto v = store.read(section, key);
    return v ? *v : defaultValue;
}

// The message shown when a setting could not be stored: the platform's own
// words for the failure and where the store lives, so the user can mend it.
inline std::string writeFailureText(const Error& error, const std::string& location) {
    return "Your settings could not be saved: " + error.description + ".\n\nSettings file: " + location;
}

// Stores what the user chose (the dialogs, the last folder at exit). A write
// the store refuses is told once per run: the reason will not go away by
// itself, and the program carries on with what it has in memory. The
// start-up's own writes go to the store directly and fail silently.
class SettingsSaver {
public:
    SettingsSaver(ISettingsStore& store, IPrompts& prompts) : store_(store), prompts_(prompts) {}
    ISettingsStore& store() const { return store_; }
    void save(const std::string& section, const std::string& key, const std::string& value) {
        const Status written = store_.write(section, key, value);
        if (written.ok() || failureShown_) return;
        failureShown_ = true;
        prompts_.message(writeFailureText(written.error(), store_.location()), kProgramTitle, MsgIcon::Warning);
    }

private:
    ISettingsStore& store_;
    IPrompts& prompts_;
    bool failureShown_ = false;
};

}  // namespace farsend
