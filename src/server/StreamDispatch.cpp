#include "server/StreamDispatch.h"

#include "server/engine/SampleEngine.h"
#include "server/engine/ServerLog.h"

namespace vexa::server {

void DispatchMessages(link::TcpMessageFramer& framer, SampleEngine& engine, ServerLog& log,
                      const AnswerSender& send)
{
    while (auto message = framer.next()) {
        if (message->kind == link::TcpMessage::Kind::SampleRequest) {
            engine.SampleStep();
            if (!send(engine.SampleView())) {
                log.LogLine(QStringLiteral("ERROR: Ethernet error sending data sample to VEXA-Display"));
            }
            continue;
        }
        if (engine.isVerbose()) {
            log.LogLine(QString::asprintf("Bytes received: %d", int(message->bytes.size())));
        }
        // The layout follows its command byte.
        engine.ReceiveLayout(message->bytes.constData() + 1, message->bytes.size() - 1);
    }
}

}  // namespace vexa::server
