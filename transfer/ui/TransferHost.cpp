#include "transfer/ui/TransferHost.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include "app/ui/DirListBox.h"
#include "app/ui/frmFSMain.h"
#include "progress/CProgressBar.h"

namespace farsend {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TransferHost::TransferHost(frmFSMain& window)
    : w_(window),
      engine_(*window.services().fs, *this, *this, ReplaceAll{window.YesToAll, window.NoToAll},
              [this]() -> CFiles& { return search(); }) {}

CFiles& TransferHost::search() {
    if (!w_.fileSearch) w_.fileSearch = std::make_shared<CFiles>(*w_.services().fs, this);
    return *w_.fileSearch;
}

std::string TransferHost::destinationFolder() { return w_.dirFSDir->Path(); }

std::string TransferHost::modeCaption() { return w_.Command1[0]->text().toStdString(); }

void TransferHost::setSelectionText(const std::string& text) { w_.setSelectionCaption(q(text)); }

void TransferHost::setStatusText(const std::string& text) { w_.lblStatus->setText(q(text)); }

void TransferHost::setBusy(bool busy) {
    if (busy)
        w_.setCursor(Qt::WaitCursor);
    else
        w_.unsetCursor();
}

void TransferHost::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

MsgAnswer TransferHost::askYesNoCancel(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Warning, q(title), q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    &w_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
    }
}

std::string TransferHost::inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) {
    QInputDialog box(&w_);
    box.setWindowTitle(q(title));
    box.setLabelText(q(prompt));
    box.setTextValue(q(proposed));
    if (box.exec() != QDialog::Accepted) return {};
    return box.textValue().toStdString();
}

int TransferHost::askReplace() { return w_.AskReplace(); }

void TransferHost::messageOk(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, q(title), q(text), QMessageBox::Ok, &w_);
    box.exec();
}

void TransferHost::setValue(std::int32_t value) {
    if (!w_.cpbProgress) w_.attachProgressBar();
    if (w_.cpbProgress) w_.cpbProgress->setValue(value);
    if (w_.progressTap) w_.progressTap(value);
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
