#include "Messages.h"

#include "MessageHandler.h"
#include "ProgramEnd.h"

#include <QApplication>
#include <QMessageBox>

#include <array>
#include <utility>
#include <vector>

namespace vexa {

namespace {

using Button = QMessageBox::StandardButton;

/// Our answers and Qt's buttons, one to one.
constexpr std::array<std::pair<MessageAnswer, Button>, 5> kAnswerButtons{{
    {MessageAnswer::Ok, QMessageBox::Ok},
    {MessageAnswer::Cancel, QMessageBox::Cancel},
    {MessageAnswer::Yes, QMessageBox::Yes},
    {MessageAnswer::No, QMessageBox::No},
    {MessageAnswer::Retry, QMessageBox::Retry},
}};

Button ButtonFor(MessageAnswer answer)
{
    for (const auto& [candidate, button] : kAnswerButtons) {
        if (candidate == answer)
            return button;
    }
    return QMessageBox::NoButton;
}

/// The buttons of a set, in the order the box shows them; the first is the
/// default button, as on the desktop the programs were designed for.
std::vector<MessageAnswer> AnswersOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return {MessageAnswer::Ok};
    case MessageButtons::OkCancel:
        return {MessageAnswer::Ok, MessageAnswer::Cancel};
    case MessageButtons::YesNo:
        return {MessageAnswer::Yes, MessageAnswer::No};
    case MessageButtons::YesNoCancel:
        return {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};
    case MessageButtons::RetryCancel:
        return {MessageAnswer::Retry, MessageAnswer::Cancel};
    }
    return {MessageAnswer::Ok};
}

QMessageBox::Icon QtIconFor(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

/// Qt's message boxes and the desktop's beep.
class RealMessageHandler final : public MessageHandler {
public:
    MessageAnswer show(const MessageRequest& request) override
    {
        // Parented to the owner so that the box is centred over it and stays
        // above it.
        QMessageBox box(request.owner);
        box.setWindowTitle(request.caption);
        // Texts are shown as given: a '<' in a file name must never turn the
        // rest of the message into markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(request.text);
        box.setIcon(QtIconFor(request.icon));

        const std::vector<MessageAnswer> answers = AnswersOf(request.buttons);
        QMessageBox::StandardButtons standardButtons;
        for (MessageAnswer answer : answers)
            standardButtons |= ButtonFor(answer);
        box.setStandardButtons(standardButtons);
        box.setDefaultButton(ButtonFor(answers.front()));
        box.setEscapeButton(ButtonFor(DismissAnswer(request.buttons)));

        // A system-modal box has no stronger counterpart than blocking every
        // window of the program. An ordinary box blocks only its owner, or the
        // whole program when it has none.
        const bool blockAll = request.systemModal || request.owner == nullptr;
        box.setWindowModality(blockAll ? Qt::ApplicationModal : Qt::WindowModal);

        box.exec();
        const Button clicked = box.standardButton(box.clickedButton());
        for (const auto& [answer, button] : kAnswerButtons) {
            if (button == clicked && IsAnswerOffered(request.buttons, answer))
                return answer;
        }
        return DismissAnswer(request.buttons);
    }

    void beep() override { QApplication::beep(); }
};

MessageHandler& RealHandler()
{
    static RealMessageHandler handler;
    return handler;
}

/// The installed replacement; nullptr while the real handler serves.
MessageHandler* s_installed = nullptr;

MessageHandler& CurrentHandler()
{
    return s_installed != nullptr ? *s_installed : RealHandler();
}

}  // namespace

MessageHandler* SetMessageHandler(MessageHandler* handler)
{
    return std::exchange(s_installed, handler);
}

MessageAnswer ShowMessage(const MessageRequest& request)
{
    // A program that is ending asks nothing: the box counts as dismissed.
    if (IsProgramEnding())
        return DismissAnswer(request.buttons);
    return CurrentHandler().show(request);
}

MessageAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                          MessageIcon icon, MessageButtons buttons, bool systemModal)
{
    MessageRequest request;
    request.owner = owner;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    request.systemModal = systemModal;
    return ShowMessage(request);
}

void Beep()
{
    CurrentHandler().beep();
}

bool IsAnswerOffered(MessageButtons buttons, MessageAnswer answer)
{
    for (MessageAnswer offered : AnswersOf(buttons)) {
        if (offered == answer)
            return true;
    }
    return false;
}

MessageAnswer DismissAnswer(MessageButtons buttons)
{
    for (MessageAnswer preferred : {MessageAnswer::Cancel, MessageAnswer::No}) {
        if (IsAnswerOffered(buttons, preferred))
            return preferred;
    }
    return MessageAnswer::Ok;
}

const char* MessageIconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return "none";
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Exclamation:
        return "exclamation";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Stop:
        return "stop";
    }
    return "?";
}

const char* MessageAnswerName(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return "Ok";
    case MessageAnswer::Cancel:
        return "Cancel";
    case MessageAnswer::Yes:
        return "Yes";
    case MessageAnswer::No:
        return "No";
    case MessageAnswer::Retry:
        return "Retry";
    }
    return "?";
}

}  // namespace vexa
