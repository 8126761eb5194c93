#pragma once
// The main window as a running transfer sees it: the selection display, the
// status line, the busy pointer, the progress bar and event processing. And
// a guard that keeps the user's input away from the window meanwhile.

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "transfer/TransferEngine.h"

class QLabel;
class QWidget;

namespace farsend {

class TransferHost final : public ITransferDisplay {
public:
    TransferHost(QWidget& window, QLabel& status, std::function<void(const std::string&)> showSelection,
                 std::function<void(std::int32_t)> showProgress);

    void setSelectionText(const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void setBusy(bool busy) override;
    void setProgress(std::int32_t value) override;
    void processEvents() override;
    void showNow() override;
    ~TransferHost() override;

private:
    QWidget& window_;
    QLabel& status_;
    std::function<void(const std::string&)> showSelection_;
    std::function<void(std::int32_t)> showProgress_;
    // What waits for the next pass: the window paints only then, and a copy
    // of many small files changes both many times between two passes.
    std::optional<std::string> text_;
    std::optional<std::int32_t> value_;
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
