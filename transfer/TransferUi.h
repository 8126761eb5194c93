#pragma once
// What the transfer needs from the main window, kept narrow so the engine
// stays free of the toolkit: the displays it writes, the questions it asks,
// the progress bar's value and a chance for the window to repaint.

#include <cstdint>
#include <string>

#include "platform/Prompts.h"
#include "search/CFiles.h"

namespace farsend {

// The main window's progress bar, as far as the byte copy drives it.
class IProgressValue {
public:
    virtual ~IProgressValue() = default;
    virtual void setValue(std::int32_t value) = 0;
};

// The main window as the transfer sees it. setBusy (from IBusyPointer) shows
// or clears the hourglass over the main window.
class ITransferUi : public IBusyPointer {
public:
    // The folder the destination chooser shows at this moment.
    virtual std::string destinationFolder() = 0;
    // The caption of the Copy/Move button, which holds the mode.
    virtual std::string modeCaption() = 0;
    // The selection display and the status line.
    virtual void setSelectionText(const std::string& text) = 0;
    virtual void setStatusText(const std::string& text) = 0;
    // Lets the window handle what is pending: repaints, and input that the
    // window refuses while a transfer runs.
    virtual void processEvents() = 0;

    // A modal box with Yes, No and Cancel (Yes the default) and the
    // exclamation icon; closing it counts as Cancel.
    virtual MsgAnswer askYesNoCancel(const std::string& text, const std::string& title) = 0;
    // A modal input box; returns the text typed, empty when it was cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) = 0;
    // The Replace File? dialog: 0 Cancel (or closed), 1 Yes, 2 Yes to All,
    // 3 No, 4 No to All.
    virtual int askReplace() = 0;
    // A modal box with an OK button only.
    virtual void messageOk(const std::string& text, const std::string& title) = 0;
};

}  // namespace farsend
