#pragma once

#include "server/engine/ServerLog.h"
#include "support/BusClient.h"
#include "support/RawTcpClient.h"
#include "support/RawTcpListener.h"
#include "support/ServerProcess.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vexa::server::test {

/// A log that keeps every text it is given and the entries they make.
class RecordingLog : public ServerLog {
public:
    void LogLine(const QString& text) override;
    QStringList texts;
    QStringList entries;
    bool contains(const QString& text) const { return texts.contains(text); }
};

using vexa::test::BusClient;
using vexa::test::FreePort;
using vexa::test::RawTcpClient;

/// Sends a sample request on \p client and returns its whole answer for
/// \p count names (fewer bytes when it does not come whole).
QByteArray RequestSample(RawTcpClient& client, int count);

/// The layout message for \p names under \p path.
QByteArray LayoutMessage(const QByteArray& path, const QList<QByteArray>& names);

/// A real vexalink, as the build made it.
class ServerProcess : public vexa::test::ServerProcess {
public:
    /// On the TCP path at \p port, or on the bus path when \p port is 0.
    explicit ServerProcess(int port, const QStringList& arguments = {})
        : vexa::test::ServerProcess(QStringLiteral(VEXALINK_PATH), port, arguments)
    {
    }
};

}  // namespace vexa::server::test
