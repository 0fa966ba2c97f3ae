#pragma once

#include <QString>

class QWidget;

namespace vexa {

/// The caption of the display program's own message boxes.
inline constexpr const char* kDisplayCaption = "VEXA Display";

/// The icons a message box can carry.
enum class MessageIcon { None, Information, Exclamation, Question, Stop };

/// The button sets a message box can offer.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

/// The button the user chose.
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

/// Everything that describes one message box.
struct MessageRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    bool systemModal = false;
};

/// Shows a message box through the installed handler and returns the answer.
/// Every message box of both programs goes through here.
MessageAnswer ShowMessage(const MessageRequest& request);

/// Convenience form of ShowMessage().
MessageAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                          MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                          bool systemModal = false);

/// Sounds the default beep through the installed handler.
void Beep();

/// True when \p answer is one of the buttons of \p buttons.
bool IsAnswerOffered(MessageButtons buttons, MessageAnswer answer);

/// The answer a box gives when it is dismissed without a choice (Escape or the
/// close box): Cancel where offered, otherwise No, otherwise Ok.
MessageAnswer DismissAnswer(MessageButtons buttons);

/// Readable names, for test failures and logs.
const char* MessageIconName(MessageIcon icon);
const char* MessageAnswerName(MessageAnswer answer);

}  // namespace vexa
