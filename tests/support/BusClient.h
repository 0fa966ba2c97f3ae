#pragma once

#include "link/protocol/WireFormat.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

namespace vexa::test {

/// A client of the data server's bus object on a bus connection of its own,
/// as another program would be. Each call is asynchronous and waits for its
/// answer with the event loop turning, so that a server in this process can
/// answer it and the bus notices of the code under test keep arriving.
class BusClient {
public:
    BusClient();
    ~BusClient();
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;

    /// The reply to \p method with \p arguments; an invalid message when none
    /// came in time.
    QDBusMessage call(const QString& method, const QVariantList& arguments);
    /// The conversation number, 0 when refused.
    uint connect(const QString& service = QString(link::kServiceName),
                 const QString& topic = QString(link::kTopicName));
    QDBusMessage poke(uint conversation, const QString& item, const QByteArray& data);
    QDBusMessage request(uint conversation, const QString& item);

private:
    QDBusConnection m_bus;
};

}  // namespace vexa::test
