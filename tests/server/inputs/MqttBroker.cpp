#include "MqttBroker.h"

#include "support/RawTcpClient.h"
#include "support/RawTcpListener.h"
#include "support/Waits.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace vexa::server::test {

namespace {

constexpr const char* kBrokerProgram = "mosquitto";
constexpr const char* kPublishProgram = "mosquitto_pub";
/// The broker is not on the PATH of every user: Debian puts it in /usr/sbin.
constexpr const char* kBrokerFolders[] = {"/usr/sbin", "/usr/local/sbin"};
constexpr int kStartTimeoutMs = 10000;

QString BrokerPath()
{
    QString found = QStandardPaths::findExecutable(QString::fromLatin1(kBrokerProgram));
    if (found.isEmpty()) {
        QStringList folders;
        for (const char* folder : kBrokerFolders)
            folders.append(QString::fromLatin1(folder));
        found = QStandardPaths::findExecutable(QString::fromLatin1(kBrokerProgram), folders);
    }
    return found;
}

}  // namespace

bool MqttBroker::isInstalled()
{
    return !BrokerPath().isEmpty() && !QStandardPaths::findExecutable(QString::fromLatin1(kPublishProgram)).isEmpty();
}

MqttBroker::MqttBroker(Access access) : m_dir(std::make_unique<QTemporaryDir>()), m_port(vexa::test::FreePort())
{
    QFile config(m_dir->filePath(QStringLiteral("mosquitto.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return;
    // The loopback interface only, nothing kept on disk.
    config.write("listener " + QByteArray::number(m_port) + " 127.0.0.1\npersistence false\nallow_anonymous "
                 + (access == Access::Anonymous ? "true\n" : "false\n"));
    config.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_serving = start();
}

MqttBroker::~MqttBroker()
{
    kill();
}

QString MqttBroker::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QByteArray MqttBroker::output()
{
    return m_process.readAll();
}

bool MqttBroker::start()
{
    m_process.start(BrokerPath(), {QStringLiteral("-c"), m_dir->filePath(QStringLiteral("mosquitto.conf"))});
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return false;
    return QTest::qWaitFor(
               [this] {
                   return m_process.state() != QProcess::Running || vexa::test::RawTcpClient(m_port).isConnected();
               },
               kStartTimeoutMs)
           && m_process.state() == QProcess::Running;
}

void MqttBroker::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(vexa::test::kWaitTimeoutMs);
}

bool MqttBroker::restart()
{
    kill();
    m_serving = start();
    return m_serving;
}

bool MqttBroker::publish(const QByteArray& topic, const QByteArray& payload, bool retain) const
{
    QStringList arguments = {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                             QString::number(m_port), QStringLiteral("-t"), QString::fromLatin1(topic)};
    // An empty payload is the null message.
    if (payload.isEmpty())
        arguments.append(QStringLiteral("-n"));
    else
        arguments += {QStringLiteral("-m"), QString::fromLatin1(payload)};
    if (retain)
        arguments.append(QStringLiteral("-r"));
    QProcess client;
    client.start(QString::fromLatin1(kPublishProgram), arguments);
    return client.waitForFinished(vexa::test::kWaitTimeoutMs) && client.exitStatus() == QProcess::NormalExit
           && client.exitCode() == 0;
}

}  // namespace vexa::server::test
