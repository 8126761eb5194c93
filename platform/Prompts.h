#pragma once
// Every question and message of the program goes through IPrompts: the
// windows show them as real dialogs, always as plain text (a file named
// "<b>x</b>.txt" is shown as it is named), and tests answer them from a
// script without opening a window.

#include <string>

namespace farsend {

// The program's title: window captions, and boxes that name no title of their own.
inline constexpr const char* kProgramTitle = "Farsend 98";
// The transfer's own questions have always carried this older title; keep it.
inline constexpr const char* kPromptTitle = "Farsend v. 3.0";

enum class MsgAnswer { Yes, No, Cancel };
enum class MsgIcon { None, Warning };

class IPrompts {
public:
    virtual ~IPrompts() = default;
    // A modal box with an OK button only.
    virtual void message(const std::string& text, const std::string& title, MsgIcon icon = MsgIcon::None) = 0;
    // A modal box with Yes, No and Cancel (Yes the default) and the
    // exclamation icon; closing it counts as Cancel.
    virtual MsgAnswer askYesNoCancel(const std::string& text, const std::string& title) = 0;
    // A modal input box; the text typed, empty when it was cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) = 0;
    // The Replace File? dialog: 0 Cancel (or closed by its frame), 1 Yes,
    // 2 Yes to All, 3 No, 4 No to All.
    virtual int askReplace() = 0;
};

}  // namespace farsend
