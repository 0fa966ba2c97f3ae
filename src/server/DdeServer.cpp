#include "server/DdeServer.h"

#include "link/protocol/WireFormat.h"
#include "server/engine/SampleEngine.h"
#include "server/engine/ServerLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>

#include <algorithm>

namespace vexa::server {

namespace {

/// The answer to a call on a conversation that was never opened, or that
/// belongs to another client.
constexpr QLatin1StringView kNoConversationError{"org.vexa.Dde.Error.NoConversation"};

}  // namespace

DdeServer::DdeServer(SampleEngine& engine, ServerLog& log, QObject* parent)
    : QObject(parent), m_engine(engine), m_log(log)
{
}

DdeServer::~DdeServer()
{
    shutdown();
}

bool DdeServer::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The object is exported before the name is taken, so that a client that
    // sees the name can call it at once.
    const bool registered =
        bus.isConnected() &&
        bus.registerObject(QString(link::kBusPath), this, QDBusConnection::ExportScriptableSlots);
    if (!registered || !bus.registerService(QString(link::kBusName))) {
        if (registered) {
            bus.unregisterObject(QString(link::kBusPath));
        }
        m_log.LogLine(QStringLiteral("DDE Initialization error"));
        return false;
    }
    m_clients = new QDBusServiceWatcher(this);
    m_clients->setConnection(bus);
    m_clients->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(m_clients, &QDBusServiceWatcher::serviceUnregistered, this, &DdeServer::onClientVanished);
    m_registered = true;
    m_log.LogLine(QStringLiteral("DDE Services initialized"));
    return true;
}

void DdeServer::shutdown()
{
    m_conversations.clear();
    m_current = 0;
    if (!m_registered) {
        return;
    }
    m_registered = false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(QString(link::kBusName));
    bus.unregisterObject(QString(link::kBusPath));
}

uint DdeServer::Connect(const QString& service, const QString& topic)
{
    if (!link::SameDdeName(service, link::kServiceName)) {
        m_log.LogLine(QStringLiteral("XTYP_CONNECT: hsz2 != hszService"));
        if (calledFromDBus()) {
            sendErrorReply(QString(link::kBusRefusedError), QStringLiteral("No such service: %1").arg(service));
        }
        return 0;
    }
    if (++m_lastNumber == 0) {
        ++m_lastNumber;  // 0 stands for no conversation
    }
    const QString client = calledFromDBus() ? message().service() : QString();
    m_conversations[m_lastNumber] = Conversation{topic, client};
    if (m_clients && !client.isEmpty()) {
        m_clients->addWatchedService(client);
    }
    m_current = m_lastNumber;
    m_log.LogLine(QStringLiteral("DDE connection established with client."));
    return m_lastNumber;
}

uint DdeServer::Poke(uint conversation, const QString& item, uint /*format*/, const QByteArray& data)
{
    const Conversation* open = callersConversation(conversation);
    if (!open) {
        return 0;
    }
    if (!link::SameDdeName(open->topic, link::kTopicName) || !link::SameDdeName(item, link::kControlItem)) {
        return 0;
    }
    m_engine.ReceiveLayout(data.constData(), std::min<qint64>(data.size(), link::kServerLayoutBytes));
    return link::kPokeAcknowledged;
}

QByteArray DdeServer::Request(uint conversation, const QString& item, uint /*format*/)
{
    if (!callersConversation(conversation)) {
        return {};
    }
    if (link::SameDdeName(item, link::kControlItem)) {
        return m_engine.LayoutBytes();
    }
    if (link::SameDdeName(item, link::kDataItem)) {
        m_engine.SampleStep();
        return m_engine.SampleBytes();
    }
    m_log.LogLine(QStringLiteral("Could not create data handle."));
    if (calledFromDBus()) {
        sendErrorReply(QString(link::kBusNoDataError), QStringLiteral("No data for item %1").arg(item));
    }
    return {};
}

void DdeServer::Disconnect(uint conversation)
{
    if (callersConversation(conversation)) {
        forget(conversation);
    }
}

const DdeServer::Conversation* DdeServer::callersConversation(uint conversation)
{
    const auto it = m_conversations.find(conversation);
    const bool found = it != m_conversations.end() &&
                       (!calledFromDBus() || it->second.client == message().service());
    if (!found) {
        if (calledFromDBus()) {
            sendErrorReply(QString(kNoConversationError),
                           QStringLiteral("No conversation %1").arg(conversation));
        }
        return nullptr;
    }
    return &it->second;
}

void DdeServer::forget(uint conversation)
{
    const auto it = m_conversations.find(conversation);
    if (it == m_conversations.end()) {
        return;
    }
    const QString client = it->second.client;
    m_conversations.erase(it);
    // Any disconnect clears the remembered conversation, as a second client
    // replaced it on connecting.
    m_current = 0;
    m_log.LogLine(QStringLiteral("The client has disconnected."));
    const bool clientHasMore = std::any_of(m_conversations.begin(), m_conversations.end(),
                                           [&client](const auto& entry) { return entry.second.client == client; });
    if (m_clients && !client.isEmpty() && !clientHasMore) {
        m_clients->removeWatchedService(client);
    }
}

void DdeServer::onClientVanished(const QString& client)
{
    std::vector<uint> numbers;
    for (const auto& [number, conversation] : m_conversations) {
        if (conversation.client == client) {
            numbers.push_back(number);
        }
    }
    for (uint number : numbers) {
        forget(number);
    }
}

}  // namespace vexa::server
