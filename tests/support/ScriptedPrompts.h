#pragma once
// Prompts answered from a script: each question takes the next answer
// ("Yes"/"No"/"Cancel", the text typed with "" for a cancelled input box,
// "0".."4" for Replace File?), and every prompt is logged as one line
// ("kind: text"), so a missing, extra or different prompt shows as a
// difference from the expected log. A question past the script's end is
// cancelled and logged with "(unscripted)".

#include <deque>
#include <vector>

#include "platform/Prompts.h"

namespace farsend::test {

class ScriptedPrompts final : public IPrompts {
public:
    std::deque<std::string> answers;
    std::vector<std::string> log;

    void message(const std::string& text, const std::string& title, MsgIcon) override {
        log.push_back("message " + title + ": " + text);
    }
    MsgAnswer askYesNoCancel(const std::string& text, const std::string& title) override {
        const std::string a = next("ask " + title + ": " + text);
        return a == "Yes" ? MsgAnswer::Yes : a == "No" ? MsgAnswer::No : MsgAnswer::Cancel;
    }
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) override {
        return next("input " + title + ": " + prompt + " [" + proposed + "]");
    }
    int askReplace() override {
        const std::string a = next("replace");
        return a.size() == 1 && a[0] >= '0' && a[0] <= '4' ? a[0] - '0' : 0;
    }

private:
    std::string next(const std::string& line) {
        if (answers.empty()) {
            log.push_back(line + " (unscripted)");
            return {};
        }
        std::string a = std::move(answers.front());
        answers.pop_front();
        log.push_back(line + " > " + a);
        return a;
    }
};

}  // namespace farsend::test
