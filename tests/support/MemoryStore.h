#pragma once
// Settings store and volume list kept in memory, for core tests.

#include <cerrno>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Volumes.h"
#include "prefs/SettingsStore.h"

namespace farsend::test {

struct MemoryStore final : ISettingsStore {
    std::optional<std::string> read(const std::string& section, const std::string& key) override {
        const auto it = values.find({section, key});
        return it == values.end() ? std::nullopt : std::optional(it->second);
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
    explicit FakeVolumes(std::vector<Volume> v = {}) : list(std::move(v)) {}
    std::vector<Volume> volumes() override { return list; }
    std::vector<Volume> list;
};

}  // namespace farsend::test
