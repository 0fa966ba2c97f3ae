#include "DdeClient.h"

#include "DdeErrors.h"
#include "link/protocol/WireFormat.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QVariantList>

#include <algorithm>

namespace vexa::link {

namespace {

/// How long opening a conversation waits for the server's answer.
constexpr int kConnectTimeoutMs = 5000;

/// The server's answer to a call on a conversation it does not know.
constexpr QLatin1StringView kNoConversationError{"org.vexa.Dde.Error.NoConversation"};

/// The bus's answer for a name that nobody owns.
constexpr QLatin1StringView kNameHasNoOwner{"org.freedesktop.DBus.Error.NameHasNoOwner"};

/// A connection object that stands for no bus at all.
const QString kNoBus = QStringLiteral("vexa-no-bus");

QDBusMessage ServerCall(const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString(kBusName), QString(kBusPath),
                                                       QString(kBusInterface), method);
    // The server is started by the display program or the user, never by the bus.
    call.setAutoStartService(false);
    call.setArguments(arguments);
    return call;
}

bool IsError(const QDBusMessage& reply)
{
    return reply.type() != QDBusMessage::ReplyMessage;
}

}  // namespace

DdeClient::DdeClient(QObject* parent) : QObject(parent), m_bus(kNoBus) {}

DdeClient::~DdeClient()
{
    uninitialize();
}

bool DdeClient::initialize()
{
    if (m_initialized)
        return true;
    m_bus = QDBusConnection::sessionBus();
    if (!m_bus.isConnected()) {
        m_lastError = kDdeDllNotInitialized;
        return false;
    }
    // A new client starts without an error of an earlier one.
    m_lastError = kDdeNoError;
    m_watcher = new QDBusServiceWatcher(QString(kBusName), m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &DdeClient::onServerGone);
    m_initialized = true;
    return true;
}

void DdeClient::uninitialize()
{
    disconnectConversation();
    if (m_watcher != nullptr) {
        m_watcher->disconnect(this);
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    m_initialized = false;
}

bool DdeClient::connectConversation(const QString& service, const QString& topic)
{
    if (!m_initialized) {
        m_lastError = kDdeDllNotInitialized;
        return false;
    }
    disconnectConversation();
    const QDBusMessage reply =
        m_bus.call(ServerCall(QStringLiteral("Connect"), {service, topic}), QDBus::Block, kConnectTimeoutMs);
    if (IsError(reply)) {
        const QDBusError::ErrorType type = QDBusError(reply).type();
        // No owner of the name, a refusal, or a server that does not answer:
        // in every case no conversation came about.
        const bool noConversation = type == QDBusError::ServiceUnknown || reply.errorName() == kNameHasNoOwner ||
                                    type == QDBusError::NoReply || type == QDBusError::Timeout ||
                                    type == QDBusError::TimedOut || reply.errorName() == kBusRefusedError;
        if (noConversation)
            m_lastError = kDdeNoConversationEstablished;
        else
            setErrorFrom(QDBusError(reply), false);
        return false;
    }
    const quint32 conversation = reply.arguments().value(0).toUInt();
    if (conversation == 0) {
        m_lastError = kDdeNoConversationEstablished;
        return false;
    }
    m_conversation = conversation;
    // The answer comes from the server's own connection; when that one loses
    // the name, this conversation is over.
    m_serverOwner = reply.service();
    return true;
}

void DdeClient::disconnectConversation()
{
    dropPendingRequests();
    if (m_conversation == 0)
        return;
    // Nothing waits for the answer: a server that has gone needs no goodbye.
    m_bus.send(ServerCall(QStringLiteral("Disconnect"), {m_conversation}));
    m_conversation = 0;
    m_serverOwner.clear();
}

bool DdeClient::poke(const QString& item, const QByteArray& data)
{
    if (!isReady())
        return false;
    const QDBusMessage reply = m_bus.call(
        ServerCall(QStringLiteral("Poke"), {m_conversation, item, kTransferFormat, data}), QDBus::Block,
        kPokeTimeoutMs);
    if (IsError(reply)) {
        setErrorFrom(QDBusError(reply), true);
        return false;
    }
    return true;
}

bool DdeClient::request(const QString& item)
{
    if (!isReady())
        return false;
    const QDBusPendingCall pending = m_bus.asyncCall(
        ServerCall(QStringLiteral("Request"), {m_conversation, item, kTransferFormat}), kRequestTimeoutMs);
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    ++m_pendingRequests;
    m_lastRequest.start();
    if (watcher->isFinished()) {
        // The answer can be in before the watcher exists: a fast reply, or a
        // failure that never left this process (no bus any more). A failure
        // known at once is the request's own.
        const bool failed = watcher->isError();
        onRequestFinished(watcher);
        return !failed;
    }
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DdeClient::onRequestFinished);
    return true;
}

unsigned DdeClient::lastError()
{
    const unsigned error = m_lastError;
    m_lastError = kDdeNoError;
    return error;
}

bool DdeClient::isReady()
{
    if (!m_initialized || !m_bus.isConnected()) {
        m_lastError = kDdeDllNotInitialized;
        return false;
    }
    if (m_conversation == 0) {
        m_lastError = kDdeInvalidParameter;
        return false;
    }
    return true;
}

void DdeClient::onRequestFinished(QDBusPendingCallWatcher* watcher)
{
    watcher->disconnect(this);
    watcher->deleteLater();
    m_pendingRequests = std::max(m_pendingRequests - 1, 0);
    const QDBusPendingReply<QByteArray> reply = *watcher;
    if (reply.isError()) {
        setErrorFrom(reply.error(), false);
        return;
    }
    emit requestCompleted(reply.value());
}

void DdeClient::onServerGone(const QString& /*service*/, const QString& oldOwner, const QString& /*newOwner*/)
{
    // Only the end of the server this conversation was opened with counts; a
    // notice about an earlier server can arrive after a new conversation.
    if (m_conversation == 0 || oldOwner != m_serverOwner)
        return;
    dropPendingRequests();
    m_conversation = 0;
    m_serverOwner.clear();
    m_lastError = kDdeServerDied;
}

void DdeClient::dropPendingRequests()
{
    const QList<QDBusPendingCallWatcher*> pending =
        findChildren<QDBusPendingCallWatcher*>(Qt::FindDirectChildrenOnly);
    for (QDBusPendingCallWatcher* watcher : pending) {
        watcher->disconnect(this);
        watcher->deleteLater();
    }
    m_pendingRequests = 0;
}

bool DdeClient::isServerGone() const
{
    if (m_serverOwner.isEmpty())
        return true;
    QDBusConnectionInterface* bus = m_bus.interface();
    if (bus == nullptr)
        return true;
    const QDBusReply<QString> owner = bus->serviceOwner(QString(kBusName));
    return !owner.isValid() || owner.value() != m_serverOwner;
}

void DdeClient::setErrorFrom(const QDBusError& error, bool isPoke)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        m_lastError = kDdeServerDied;
        return;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        // The bus also answers "no reply" for a server that went away in the
        // middle of the call.
        if (isServerGone())
            m_lastError = kDdeServerDied;
        else
            m_lastError = isPoke ? kDdePokeAckTimeout : kDdeDataAckTimeout;
        return;
    case QDBusError::Disconnected:
        m_lastError = kDdeDllNotInitialized;
        return;
    default:
        break;
    }
    if (error.name() == kNameHasNoOwner)
        m_lastError = kDdeServerDied;
    else if (error.name() == kNoConversationError)
        m_lastError = kDdeInvalidParameter;
    else if (error.name() == kBusNoDataError)
        // The server made no data for the item: not processed.
        m_lastError = kDdeNotProcessed;
    else
        m_lastError = kDdeSysError;
}

}  // namespace vexa::link
