#include "BusClient.h"

#include "support/Waits.h"

#include <QDBusPendingCall>
#include <QTest>

namespace vexa::test {

namespace {

const QString kConnectionName = QStringLiteral("vexa-test-client");

}  // namespace

BusClient::BusClient() : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)) {}

BusClient::~BusClient()
{
    QDBusConnection::disconnectFromBus(kConnectionName);
}

QDBusMessage BusClient::call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage request = QDBusMessage::createMethodCall(QString(link::kBusName), QString(link::kBusPath),
                                                          QString(link::kBusInterface), method);
    request.setArguments(arguments);
    // The bus ends the call itself at its time-out; the wait only stands
    // guard over that.
    QDBusPendingCall pending = m_bus.asyncCall(request, kWaitTimeoutMs);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, kWaitTimeoutMs + kWaitTimeoutMs))
        return {};
    return pending.reply();
}

uint BusClient::connect(const QString& service, const QString& topic)
{
    const QDBusMessage reply = call(QStringLiteral("Connect"), {service, topic});
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toUInt() : 0;
}

QDBusMessage BusClient::poke(uint conversation, const QString& item, const QByteArray& data)
{
    return call(QStringLiteral("Poke"), {conversation, item, link::kTransferFormat, data});
}

QDBusMessage BusClient::request(uint conversation, const QString& item)
{
    return call(QStringLiteral("Request"), {conversation, item, link::kTransferFormat});
}

}  // namespace vexa::test
