#include "LinkTestSupport.h"

#include "link/protocol/WireFormat.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::link::test {

namespace {

constexpr int kCallTimeoutMs = 5000;
constexpr int kReceiveChunk = 4096;
constexpr int kFakeBacklog = 1;
/// No generator's prefix: the server draws such a value afresh per request.
constexpr const char* kRandomPrefix = "DRAW";
const QString kBusClientConnection = QStringLiteral("vexa-link-test-client");

bool SendAll(int fd, const QByteArray& bytes)
{
    qint64 sent = 0;
    while (fd >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return fd >= 0;
}

}  // namespace

void SetLayout(LayoutBlock& layout, const QByteArray& path, const QList<QByteArray>& names)
{
    layout.clear();
    layout.setPath(path);
    layout.setCount(std::int32_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        layout.setName(i, names[i]);
}

QList<QByteArray> RandomNames(int count)
{
    QList<QByteArray> names;
    for (int i = 1; i <= count; ++i)
        names.append(kRandomPrefix + QByteArray::number(i));
    return names;
}

bool HasRandomValues(const DataSample& sample, int count)
{
    constexpr double kLowestDraw = -100.0;
    constexpr double kHighestDraw = 100.0;
    bool anyNonZero = false;
    for (int i = 0; i < count; ++i) {
        const double value = sample.value(i);
        if (!(value >= kLowestDraw && value <= kHighestDraw))
            return false;
        anyNonZero = anyNonZero || value != 0.0;
    }
    return anyNonZero;
}

RawClient::RawClient(int port) : m_fd(vexa::test::ConnectLoopback(port)) {}

RawClient::~RawClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RawClient::send(const QByteArray& bytes)
{
    return SendAll(m_fd, bytes);
}

QByteArray RawClient::receiveUntilQuiet(int quietMs)
{
    QByteArray received;
    char chunk[kReceiveChunk];
    pollfd watched{m_fd, POLLIN, 0};
    while (m_fd >= 0 && ::poll(&watched, 1, quietMs) > 0) {
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            break;
        received.append(chunk, n);
    }
    return received;
}

FakeTcpServer::FakeTcpServer()
{
    m_listening = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = vexa::test::LoopbackAddress(0);
    if (::bind(m_listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listening, kFakeBacklog) != 0) {
        return;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listening, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
}

FakeTcpServer::~FakeTcpServer()
{
    if (m_connection >= 0)
        ::close(m_connection);
    if (m_listening >= 0)
        ::close(m_listening);
}

bool FakeTcpServer::accept()
{
    pollfd watched{m_listening, POLLIN, 0};
    if (::poll(&watched, 1, 0) <= 0)
        return false;
    m_connection = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC);
    return m_connection >= 0;
}

bool FakeTcpServer::answer(const QByteArray& bytes)
{
    return SendAll(m_connection, bytes);
}

void FakeTcpServer::endStream()
{
    ::shutdown(m_connection, SHUT_WR);
}

void FakeTcpServer::reset()
{
    if (m_connection < 0)
        return;
    const linger abortive{1, 0};
    ::setsockopt(m_connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(m_connection);
    m_connection = -1;
}

QByteArray FakeTcpServer::received()
{
    QByteArray bytes;
    char chunk[kReceiveChunk];
    for (;;) {
        const ssize_t n = ::recv(m_connection, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n <= 0)
            return bytes;
        bytes.append(chunk, n);
    }
}

QByteArray SampleAnswer(double timeOfDay, const QList<double>& values)
{
    QByteArray bytes(SampleBytesFor(int(values.size())), '\0');
    WriteDouble(bytes.data(), timeOfDay);
    for (int i = 0; i < values.size(); ++i)
        WriteDouble(bytes.data() + SampleBytesFor(i), values[i]);
    return bytes;
}

BusClient::BusClient() : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kBusClientConnection)) {}

BusClient::~BusClient()
{
    QDBusConnection::disconnectFromBus(kBusClientConnection);
}

QDBusMessage BusClient::call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage request = QDBusMessage::createMethodCall(QString(kBusName), QString(kBusPath),
                                                          QString(kBusInterface), method);
    request.setArguments(arguments);
    // The answer is waited for with the event loop turning, so that the
    // link's own bus notices keep arriving meanwhile.
    QDBusPendingCall pending = m_bus.asyncCall(request, kCallTimeoutMs);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, kCallTimeoutMs + kCallTimeoutMs))
        return {};
    return pending.reply();
}

uint BusClient::connect()
{
    const QDBusMessage reply = call(QStringLiteral("Connect"), {QString(kServiceName), QString(kTopicName)});
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toUInt() : 0;
}

QDBusMessage BusClient::poke(uint conversation, const QByteArray& data)
{
    return call(QStringLiteral("Poke"), {conversation, QString(kControlItem), kTransferFormat, data});
}

QDBusMessage BusClient::request(uint conversation, const QString& item)
{
    return call(QStringLiteral("Request"), {conversation, item, kTransferFormat});
}

LayoutBlock BusClient::serverLayout()
{
    LayoutBlock layout(kServerLayoutNames);
    const QDBusMessage reply = request(connect(), QString(kControlItem));
    const QByteArray bytes = reply.arguments().value(0).toByteArray();
    layout.assign(bytes.constData(), bytes.size());
    return layout;
}

}  // namespace vexa::link::test
