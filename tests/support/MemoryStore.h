#pragma once
// Settings store and volume list kept in memory, for core tests.

#include <cerrno>
#include <map>

#include "platform/Volumes.h"
#include "prefs/SettingsStore.h"

namespace farsend::test {

struct MemoryStore final : ISettingsStore {
    std::optional<std::string> read(const std::string& section, const std::string& key) override {
        return values.count({section, key}) != 0 ? std::optional(values[{section, key}]) : std::nullopt;
    }
    Status write(const std::string& section, const std::string& key, const std::string& value) override {
        writes.push_back(section + "/" + key + "=" + value);
        if (failWrites) return Error::fromErrno(EROFS);
        values[{section, key}] = value;
        return {};
    }
    std::string location() const override { return "(memory)"; }

    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> writes;  // every write, in order, as section/key=value
    bool failWrites = false;
};

struct FakeVolumes final : IVolumes {
    std::vector<Volume> volumes() override { return list; }
    std::vector<Volume> list{{"/", ""}};  // the root alone unless a test says otherwise
};

}  // namespace farsend::test
