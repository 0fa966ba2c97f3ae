#include "TransportTestSupport.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::server::test {

void RecordingLog::LogLine(const QString& text)
{
    texts.append(text);
    entries.append(text.split(QLatin1Char('\n')));
}

TestClient::TestClient(int port)
{
    m_fd = vexa::test::ConnectLoopback(port);
    if (m_fd < 0)
        return;
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
}

TestClient::~TestClient()
{
    close();
}

bool TestClient::send(const QByteArray& bytes)
{
    qint64 sent = 0;
    while (m_fd >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            QTest::qWait(1);
        } else {
            return false;
        }
    }
    return m_fd >= 0;
}

QByteArray TestClient::receive(int length, int timeoutMs)
{
    QByteArray received;
    // What has come when the wait ends is the answer, whole or not.
    [[maybe_unused]] const bool whole = QTest::qWaitFor(
        [&] {
            char buffer[4096];
            while (received.size() < length) {
                const ssize_t n =
                    recv(m_fd, buffer, size_t(std::min<qsizetype>(sizeof buffer, length - received.size())), 0);
                if (n <= 0) {
                    return n == 0;  // closed: nothing more will come
                }
                received.append(buffer, n);
            }
            return true;
        },
        timeoutMs);
    return received;
}

bool TestClient::staysSilent(int ms)
{
    QTest::qWait(ms);
    int waiting = 0;
    return ioctl(m_fd, FIONREAD, &waiting) == 0 && waiting == 0;
}

QByteArray TestClient::requestSample(int count)
{
    if (!send(link::BuildSampleRequest())) {
        return {};
    }
    return receive(link::SampleBytesFor(count));
}

void TestClient::close(bool reset)
{
    if (m_fd < 0) {
        return;
    }
    if (reset) {
        linger hard{1, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    ::close(m_fd);
    m_fd = -1;
}

QByteArray LayoutMessage(const QByteArray& path, const QList<QByteArray>& names)
{
    link::LayoutBlock block(link::kServerLayoutNames);
    block.setPath(path);
    block.setCount(std::int32_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        block.setName(i, names[i]);
    }
    return link::BuildLayoutMessage(block);
}

namespace {
const QString kClientConnection = QStringLiteral("vexa-test-client");
constexpr int kCallTimeoutMs = 5000;
}  // namespace

BusClient::BusClient()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kClientConnection))
{
}

BusClient::~BusClient()
{
    QDBusConnection::disconnectFromBus(kClientConnection);
}

QDBusMessage BusClient::call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage request = QDBusMessage::createMethodCall(
        QString(link::kBusName), QString(link::kBusPath), QString(link::kBusInterface), method);
    request.setArguments(arguments);
    QDBusPendingCall pending = m_bus.asyncCall(request, kCallTimeoutMs);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, kCallTimeoutMs + 1000)) {
        return {};
    }
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

}  // namespace vexa::server::test
