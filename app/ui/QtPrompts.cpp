#include "app/ui/QtPrompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include "app/ui/Twips.h"
#include "transfer/ui/frmReplace.h"

namespace farsend {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The dialog in front: a modal one first (a box asked from a dialog belongs
// to it), else the active window.
QWidget* owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

int exec(QMessageBox& box) {
    box.setFont(formFont());
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

}  // namespace

void QtPrompts::message(const std::string& text, const std::string& title, MsgIcon icon) {
    QMessageBox box(icon == MsgIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, q(title), q(text),
                    QMessageBox::Ok, owner());
    exec(box);
}

MsgAnswer QtPrompts::askYesNoCancel(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Warning, q(title), q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    owner());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (exec(box)) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
    }
}

std::string QtPrompts::inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) {
    QInputDialog box(owner());
    box.setFont(formFont());
    box.setWindowTitle(q(title));
    // The prompt names a file as it is named: plain text, and each "&" doubled,
    // since the line edit is the label's buddy and an "&" would mark an access key.
    box.setLabelText(q(prompt).replace('&', "&&"));
    if (auto* label = box.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    box.setTextValue(q(proposed));
    if (box.exec() != QDialog::Accepted) return {};
    return box.textValue().toStdString();
}

int QtPrompts::askReplace() {
    std::int16_t answer = 0;  // closed through its frame: Cancel
    frmReplace dialog(answer, owner());
    dialog.exec();
    return answer;
}

}  // namespace farsend
