#include "ServerProcess.h"

#include "link/protocol/WireFormat.h"
#include "support/RawTcpClient.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

namespace vexa::test {

namespace {

constexpr int kStartTimeoutMs = 10000;

}  // namespace

ServerProcess::ServerProcess(const QString& program, int port, const QStringList& arguments, const Launch& launch)
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
    for (const auto& [name, value] : launch.environment)
        environment.insert(name, value);
    m_process.setProcessEnvironment(environment);
    if (launch.inChild)
        m_process.setChildProcessModifier(launch.inChild);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, QStringList{QStringLiteral("--minimized")} + arguments);
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return;
    const bool settled = QTest::qWaitFor(
        [this] {
            if (m_process.state() != QProcess::Running)
                return true;
            if (m_port > 0)
                return RawTcpClient(m_port).isConnected();
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString(link::kBusName)).value();
        },
        kStartTimeoutMs);
    m_serving = settled && isRunning();
}

ServerProcess::~ServerProcess()
{
    stop();
}

bool ServerProcess::stop(int withinMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.terminate();
    if (m_process.waitForFinished(withinMs))
        return true;
    kill();
    return false;
}

bool ServerProcess::endedWithSuccess() const
{
    return m_process.state() == QProcess::NotRunning && m_process.exitStatus() == QProcess::NormalExit
           && m_process.exitCode() == 0;
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

}  // namespace vexa::test
