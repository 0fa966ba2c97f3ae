#include "DialogConventions.h"

namespace vexa {

CancelChoice ConfirmCancel(QWidget* dialog, bool changed)
{
    if (!changed)
        return CancelChoice::Close;
    Beep();
    switch (ShowMessage(dialog, kCancelDialogText, kCancelDialogCaption, MessageIcon::Question,
                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        return CancelChoice::SaveFirst;
    case MessageAnswer::No:
        return CancelChoice::Close;
    default:
        return CancelChoice::Stay;
    }
}

void ReportDialogFailure(QWidget* owner, const QString& caption, MessageIcon icon)
{
    ShowMessage(owner, kDialogFailureText, caption, icon, MessageButtons::Ok, true);
}

}  // namespace vexa
