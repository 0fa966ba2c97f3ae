#include "ProgramEnd.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace vexa {

namespace {

bool s_ending = false;

/// Dismisses a dialog that is closed by the session: done() rather than
/// reject(), which an editor turns into a question about its changes.
void Dismiss(QDialog* dialog)
{
    dialog->done(QDialog::Rejected);
}

/// Dismisses each dialog that is shown after the end began. The dismissal
/// waits for the dialog's own loop: a dialog closed before its exec() entered
/// the loop would leave that loop running.
class LateDialogDismisser final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog != nullptr && dialog->isWindow())
                QTimer::singleShot(0, dialog, [dialog] { Dismiss(dialog); });
        }
        return false;
    }
};

void DismissOpenWindows()
{
    // Each close takes one popup off the stack; the count bounds the loop
    // should a popup refuse to go.
    for (qsizetype left = QApplication::topLevelWidgets().size(); left > 0; --left) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr)
            break;
        popup->close();
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isVisible())
            Dismiss(dialog);
    }
}

}  // namespace

bool IsProgramEnding()
{
    return s_ending;
}

void EndProgram()
{
    if (!s_ending) {
        s_ending = true;
        if (QCoreApplication* application = QCoreApplication::instance(); application != nullptr)
            application->installEventFilter(new LateDialogDismisser(application));
    }
    DismissOpenWindows();
    // Leaves the loops of the dialogs and boxes on the stack as well as the
    // application's, and keeps any later loop from running.
    QCoreApplication::exit(0);
}

}  // namespace vexa
