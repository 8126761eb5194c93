#pragma once
// The program's questions and messages as real modal dialogs, owned by the
// window that is active when they are asked.

#include "platform/Prompts.h"

namespace farsend {

class QtPrompts final : public IPrompts {
public:
    void message(const std::string& text, const std::string& title, MsgIcon icon) override;
    MsgAnswer askYesNoCancel(const std::string& text, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) override;
    int askReplace() override;
};

}  // namespace farsend
