#pragma once
// A scripted main window for the engine's tests: every question is
// cancelled, and the messages and progress values shown are counted.

#include <string>
#include <vector>

#include "transfer/TransferUi.h"

namespace farsend::test {

class ScriptedUi final : public ITransferUi, public IProgressValue {
public:
    std::string destination;
    std::vector<std::int32_t> values;
    int messages = 0;
    int passes = 0;

    std::string destinationFolder() override { return destination; }
    std::string modeCaption() override { return "&Copy"; }
    void setSelectionText(const std::string&) override {}
    void setStatusText(const std::string&) override {}
    void setBusy(bool) override {}
    void processEvents() override { ++passes; }
    MsgAnswer askYesNoCancel(const std::string&, const std::string&) override { return MsgAnswer::Cancel; }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    int askReplace() override { return 0; }
    void messageOk(const std::string&, const std::string&) override { ++messages; }
    void setValue(std::int32_t v) override { values.push_back(v); }
};

}  // namespace farsend::test
