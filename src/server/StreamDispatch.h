#pragma once

#include "link/protocol/TcpMessages.h"

#include <QByteArrayView>

#include <functional>

namespace vexa::server {

class SampleEngine;
class ServerLog;

/// Sends one answer on the connection a request came on; returns whether the
/// whole answer went out.
using AnswerSender = std::function<bool(QByteArrayView answer)>;

/// Hands every whole message gathered by \p framer to the engine, in the
/// order the messages arrived: a sample request runs the sample step and is
/// answered through \p send, a layout replaces the engine's layout. A failed
/// answer is logged and the remaining messages are still dispatched.
void DispatchMessages(link::TcpMessageFramer& framer, SampleEngine& engine, ServerLog& log,
                      const AnswerSender& send);

}  // namespace vexa::server
