#include "PrintMessages.h"

#include "platform/Messages.h"

namespace vexa::app::printing {

const char* EndPageText(EndPageResult result)
{
    switch (result) {
    case EndPageResult::Ok:
        return "";
    case EndPageResult::OutOfMemory:
        return kOutOfMemoryText;
    case EndPageResult::OutOfDisk:
        return kOutOfDiskText;
    case EndPageResult::UserAbort:
        return kUserAbortText;
    case EndPageResult::AppAbort:
        return kAppAbortText;
    case EndPageResult::GeneralError:
        break;
    }
    return kGeneralErrorText;
}

void ReportJobError(QWidget* owner, const char* text, bool beep)
{
    if (beep)
        Beep();
    ShowMessage(owner, QString::fromLatin1(text), QString::fromLatin1(kInternalErrorCaption), MessageIcon::Stop);
}

void ReportEndPage(EndPageResult result)
{
    Beep();
    ShowMessage(nullptr, QString::fromLatin1(EndPageText(result)), QString::fromLatin1(kEndPageCaption),
                MessageIcon::Stop);
}

void ReportFailure(QWidget* owner, const QString& text)
{
    Beep();
    ShowMessage(owner, text, QString::fromLatin1(kDisplayCaption), MessageIcon::Stop);
}

}  // namespace vexa::app::printing
