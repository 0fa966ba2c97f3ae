#pragma once

#include "MessageHandler.h"

#include <deque>
#include <functional>
#include <vector>

namespace vexa {

/// A message handler for tests: installs itself while it lives, records every
/// box and beep in order, and answers boxes from a script of answers.
///
/// A box that offers only "OK" needs no scripted answer. A box that offers a
/// choice takes the next scripted answer; when none is left, or the scripted
/// answer is not one of the box's buttons, the failure reporter is called with
/// a description of the box and the box is dismissed (DismissAnswer()).
class MessageRecorder : public MessageHandler {
public:
    struct Call {
        bool isBeep = false;
        MessageRequest request;   ///< empty for a beep
        MessageAnswer answer = MessageAnswer::Ok;
    };

    using FailureReporter = std::function<void(const QString& what)>;

    /// \p onFailure defaults to printing the failure and aborting the program.
    explicit MessageRecorder(FailureReporter onFailure = {});
    ~MessageRecorder() override;

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    /// Appends answers to the script, used in order by the boxes that offer a choice.
    void script(std::initializer_list<MessageAnswer> answers);

    const std::vector<Call>& calls() const { return m_calls; }
    /// The boxes alone, in order.
    std::vector<MessageRequest> boxes() const;
    int beepCount() const;
    /// Scripted answers not used yet.
    std::size_t unusedAnswers() const { return m_script.size(); }
    /// Forgets the recorded calls and the remaining script.
    void clear();

    MessageAnswer show(const MessageRequest& request) override;
    void beep() override;

private:
    FailureReporter m_onFailure;
    MessageHandler* m_previous = nullptr;
    std::deque<MessageAnswer> m_script;
    std::vector<Call> m_calls;
};

}  // namespace vexa
