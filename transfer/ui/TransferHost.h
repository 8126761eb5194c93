#pragma once
// The main window as the transfer engine sees it: the displays, the
// questions, the progress bar and event processing, plus the engine itself
// for the run's one transfer.

#include <QObject>
#include <QPointer>

#include "transfer/TransferEngine.h"
#include "transfer/TransferUi.h"

namespace farsend {

class frmFSMain;

class TransferHost final : public ITransferUi, public IProgressValue {
public:
    explicit TransferHost(frmFSMain& window);

    TransferEngine& engine() { return engine_; }
    // The program-wide search object, created on first use.
    CFiles& search();

    std::string destinationFolder() override;
    std::string modeCaption() override;
    void setSelectionText(const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void setBusy(bool busy) override;
    void processEvents() override;
    MsgAnswer askYesNoCancel(const std::string& text, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) override;
    int askReplace() override;
    void messageOk(const std::string& text, const std::string& title) override;
    void setValue(std::int32_t value) override;

private:
    frmFSMain& w_;
    TransferEngine engine_;
};

// While it lives, user input aimed at the main window (mouse, keys,
// shortcuts, the wheel) is swallowed, whoever delivers it, so nothing starts
// a second transfer, switches the mode or changes the destination; repaints
// and the modal dialogs of the transfer go on as usual.
class TransferInputGuard final : public QObject {
public:
    explicit TransferInputGuard(QWidget& window);
    ~TransferInputGuard() override;
    TransferInputGuard(const TransferInputGuard&) = delete;
    TransferInputGuard& operator=(const TransferInputGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool aimsAtWindow(QObject* receiver) const;
    QPointer<QWidget> window_;
};

}  // namespace farsend
