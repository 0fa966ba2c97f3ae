#include "MessageRecorder.h"

#include "RecorderFailure.h"

#include <algorithm>
#include <utility>

namespace vexa {

namespace {

const char* ButtonsName(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return "Ok";
    case MessageButtons::OkCancel:
        return "OkCancel";
    case MessageButtons::YesNo:
        return "YesNo";
    case MessageButtons::YesNoCancel:
        return "YesNoCancel";
    case MessageButtons::RetryCancel:
        return "RetryCancel";
    }
    return "?";
}

/// Everything a test author needs to script the box, on one line.
QString Describe(const MessageRequest& request)
{
    return QStringLiteral("caption \"%1\", text \"%2\", icon %3, buttons %4")
        .arg(request.caption, request.text, QLatin1String(MessageIconName(request.icon)),
             QLatin1String(ButtonsName(request.buttons)));
}

}  // namespace

MessageRecorder::MessageRecorder(FailureReporter onFailure)
    : m_onFailure(onFailure ? std::move(onFailure) : FailureReporter(PrintAndAbort))
{
    m_previous = SetMessageHandler(this);
}

MessageRecorder::~MessageRecorder()
{
    SetMessageHandler(m_previous);
}

void MessageRecorder::script(std::initializer_list<MessageAnswer> answers)
{
    m_script.insert(m_script.end(), answers.begin(), answers.end());
}

std::vector<MessageRequest> MessageRecorder::boxes() const
{
    std::vector<MessageRequest> result;
    for (const Call& call : m_calls) {
        if (!call.isBeep)
            result.push_back(call.request);
    }
    return result;
}

int MessageRecorder::beepCount() const
{
    return static_cast<int>(
        std::count_if(m_calls.begin(), m_calls.end(), [](const Call& call) { return call.isBeep; }));
}

void MessageRecorder::clear()
{
    m_calls.clear();
    m_script.clear();
}

MessageAnswer MessageRecorder::show(const MessageRequest& request)
{
    MessageAnswer answer = MessageAnswer::Ok;
    QString failure;
    if (request.buttons != MessageButtons::Ok) {
        if (m_script.empty()) {
            failure = QStringLiteral("Unscripted message box: ") + Describe(request);
            answer = DismissAnswer(request.buttons);
        } else {
            answer = m_script.front();
            m_script.pop_front();
            if (!IsAnswerOffered(request.buttons, answer)) {
                failure = QStringLiteral("Scripted answer %1 is not offered by message box: ")
                              .arg(QLatin1String(MessageAnswerName(answer)))
                          + Describe(request);
                answer = DismissAnswer(request.buttons);
            }
        }
    }
    // Recorded before the failure is reported, so that a reporter that looks
    // at the calls sees this one too.
    m_calls.push_back(Call{false, request, answer});
    if (!failure.isEmpty())
        m_onFailure(failure);
    return answer;
}

void MessageRecorder::beep()
{
    m_calls.push_back(Call{true, {}, MessageAnswer::Ok});
}

}  // namespace vexa
