#include "ServerProcess.h"

#include "link/protocol/WireFormat.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::test {

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 5000;

bool CanConnect(int port)
{
    const int fd = ConnectLoopback(port);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

sockaddr_in LoopbackAddress(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(0);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

int ConnectLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = LoopbackAddress(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

ServerProcess::ServerProcess(const QString& program, int port, const QStringList& arguments)
    : m_dir(std::make_unique<QTemporaryDir>()), m_port(port)
{
    const QString config = m_dir->filePath(QStringLiteral("config"));
    const QString runtime = m_dir->filePath(QStringLiteral("runtime"));
    QDir().mkpath(config);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile settings(config + QStringLiteral("/VexaDisplay.ini"));
    if (!settings.open(QIODevice::WriteOnly))
        return;
    settings.write(port > 0 ? "[VEXA-Com]\r\nDataPath=110\r\nPort=" + QByteArray::number(port) + "\r\n"
                            : QByteArray("[VEXA-Com]\r\nDataPath=109\r\n"));
    settings.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, QStringList{QStringLiteral("--minimized")} + arguments);
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return;
    const bool settled = QTest::qWaitFor(
        [this] {
            if (m_process.state() != QProcess::Running)
                return true;
            if (m_port > 0)
                return CanConnect(m_port);
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString(link::kBusName)).value();
        },
        kStartTimeoutMs);
    m_serving = settled && isRunning();
}

ServerProcess::~ServerProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopTimeoutMs))
        kill();
}

bool ServerProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

QString ServerProcess::errorText() const
{
    return m_process.errorString();
}

void ServerProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(kStopTimeoutMs);
}

int FreeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(0);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool SendLoopbackDatagram(int port, const QByteArray& datagram)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = LoopbackAddress(port);
    const ssize_t sent = ::sendto(fd, datagram.constData(), size_t(datagram.size()), 0,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == datagram.size();
}

}  // namespace vexa::test
