#pragma once
// A scripted main window for the engine's tests: answers come from queues,
// and everything shown is logged in order.

#include <deque>
#include <string>
#include <vector>

#include "transfer/TransferUi.h"

namespace farsend::test {

class ScriptedUi final : public ITransferUi, public IProgressValue {
public:
    std::string destination;
    std::string caption = "&Copy";
    std::deque<MsgAnswer> yesNoCancel;
    std::deque<std::string> inputs;
    std::deque<int> replaceAnswers;

    std::vector<std::string> log;  // "message: ...", "ask: ...", "input: ...", "replace", "status: ..."
    std::vector<std::int32_t> values;
    std::string selection;
    std::string status;
    bool busy = false;
    int passes = 0;

    std::string destinationFolder() override { return destination; }
    std::string modeCaption() override { return caption; }
    void setSelectionText(const std::string& text) override { selection = text; }
    void setStatusText(const std::string& text) override {
        status = text;
        log.push_back("status: " + text);
    }
    void setBusy(bool b) override { busy = b; }
    void processEvents() override { ++passes; }
    MsgAnswer askYesNoCancel(const std::string& text, const std::string&) override {
        log.push_back("ask: " + text);
        if (yesNoCancel.empty()) return MsgAnswer::Cancel;
        const MsgAnswer a = yesNoCancel.front();
        yesNoCancel.pop_front();
        return a;
    }
    std::string inputBox(const std::string& prompt, const std::string&, const std::string&) override {
        log.push_back("input: " + prompt);
        if (inputs.empty()) return {};
        std::string a = inputs.front();
        inputs.pop_front();
        return a;
    }
    int askReplace() override {
        log.push_back("replace");
        if (replaceAnswers.empty()) return 0;
        const int a = replaceAnswers.front();
        replaceAnswers.pop_front();
        return a;
    }
    void messageOk(const std::string& text, const std::string&) override { log.push_back("message: " + text); }
    void setValue(std::int32_t v) override { values.push_back(v); }

    int count(const std::string& prefix) const {
        int n = 0;
        for (const auto& l : log) n += l.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }
};

}  // namespace farsend::test
