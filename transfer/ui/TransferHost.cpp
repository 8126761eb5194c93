#include "transfer/ui/TransferHost.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <QWindow>

namespace farsend {

TransferHost::TransferHost(QWidget& window, QLabel& status, std::function<void(const std::string&)> showSelection,
                           std::function<void(std::int32_t)> showProgress)
    : window_(window),
      status_(status),
      showSelection_(std::move(showSelection)),
      showProgress_(std::move(showProgress)) {}

TransferHost::~TransferHost() { showNow(); }

void TransferHost::setSelectionText(const std::string& text) { text_ = text; }

void TransferHost::setStatusText(const std::string& text) {
    showNow();
    status_.setText(QString::fromStdString(text));
}

void TransferHost::setBusy(bool busy) {
    if (busy)
        window_.setCursor(Qt::WaitCursor);
    else
        window_.unsetCursor();
}

void TransferHost::setProgress(std::int32_t value) { value_ = value; }

void TransferHost::showNow() {
    if (text_) showSelection_(*std::exchange(text_, std::nullopt));
    if (value_) showProgress_(*std::exchange(value_, std::nullopt));
}

void TransferHost::processEvents() {
    showNow();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

TransferInputGuard::TransferInputGuard(QWidget& window) : window_(&window) { qApp->installEventFilter(this); }

TransferInputGuard::~TransferInputGuard() { qApp->removeEventFilter(this); }

bool TransferInputGuard::aimsAtWindow(QObject* receiver) const {
    if (window_.isNull()) return false;
    if (receiver == window_->windowHandle()) return true;
    // Shortcuts arrive at actions and shortcut objects: judge by their owner.
    for (QObject* o = receiver; o != nullptr; o = o->parent()) {
        if (o->isWidgetType()) return static_cast<QWidget*>(o)->window() == window_.data();
    }
    return false;
}

bool TransferInputGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (aimsAtWindow(watched)) return true;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace farsend
