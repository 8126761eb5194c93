#pragma once
// Answering modal dialogs from a test. A test arms an answer before the
// action that opens the dialog; the answer runs inside the dialog's own event
// loop as soon as the dialog is shown. A dialog that its answer leaves open,
// or that opens with no answer armed, is closed at once and fails the test:
// a failing check never leaves a dialog waiting for the watchdog.

#include <QWidget>
#include <functional>

namespace farsend::test {

// Runs answer(dialog) on the next modal dialog shown; several armed answers
// run in the order they were armed, one per dialog.
void onNextModal(std::function<void(QWidget*)> answer);

// Forgets every armed answer (use between test functions).
void clearModalAnswers();

}  // namespace farsend::test
