#pragma once
// A transfer's window, kept as one line of what it would show: "Copying
// name" for each item and the bar's values, comma-separated; and how often
// it was given a pass of the event loop.

#include <string>

#include "transfer/TransferEngine.h"

namespace farsend::test {

struct RecordingDisplay final : ITransferDisplay {
    std::string shown;
    int passes = 0;
    void add(const std::string& s) { shown += (shown.empty() ? "" : ", ") + s; }
    void setSelectionText(const std::string& t) override {
        add(t.substr(0, t.find('\r')) + " " + t.substr(t.find('\n') + 1));
    }
    void setStatusText(const std::string&) override {}
    void setBusy(bool) override {}
    void setProgress(std::int32_t v) override { add(std::to_string(v)); }
    void processEvents() override { ++passes; }
    void showNow() override {}
};

}  // namespace farsend::test
