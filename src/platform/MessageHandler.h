#pragma once

#include "Messages.h"

namespace vexa {

/// Shows message boxes and beeps. The program installs the real one (Qt's
/// message boxes and the system beep); tests install a MessageRecorder.
class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    virtual MessageAnswer show(const MessageRequest& request) = 0;
    virtual void beep() = 0;
};

/// Installs \p handler for ShowMessage() and Beep(); nullptr reinstates the
/// real one. Returns the handler that was installed before, or nullptr when it
/// was the real one. The caller keeps ownership of \p handler.
MessageHandler* SetMessageHandler(MessageHandler* handler);

}  // namespace vexa
