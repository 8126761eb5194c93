#pragma once
// Answering modal dialogs from a test. A test arms an answer before the
// action that opens the dialog; the answer runs as soon as the dialog is up
// and drives it through its real widgets (clicks, typing).

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace farsend::test {

// What a message box showed.
struct SeenMessage {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;  // button texts, in the box's order
    QString defaultButton;
};

// Runs answer(dialog) on the next modal dialog that opens (polling the
// event loop). Several armed answers run in the order they were armed,
// one per dialog.
void onNextModal(std::function<void(QWidget*)> answer);

// Answers the next modal dialog, which must be a message box, by clicking
// the button whose text (without "&") equals buttonText; records what the
// box showed into *seen when given.
void answerMessageBox(const QString& buttonText, SeenMessage* seen = nullptr);

// Answers the next modal input dialog: types text into its field (replacing
// what is there) and presses OK, or presses Cancel when accept is false.
void answerInputBox(const QString& text, bool accept = true, QString* prompt = nullptr,
                    QString* title = nullptr, QString* proposed = nullptr);

// Clicks the button with objectName (or, failing that, text without "&")
// in the next modal dialog.
void clickInNextModal(const QString& buttonNameOrText);

// Number of armed answers not yet used.
int pendingModalAnswers();

// Forgets every armed answer (use between test functions).
void clearModalAnswers();

// Text of a caption without its access-key "&".
QString plain(const QString& caption);

}  // namespace farsend::test
