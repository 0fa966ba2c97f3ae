#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <memory>

class QTemporaryDir;

namespace vexa::server::test {

/// A real MQTT broker (mosquitto) for one test, on a free loopback port with
/// a configuration file of the test's own, and the publishing client that
/// comes with it. Killed, and waited for, when the object goes.
class MqttBroker {
public:
    /// Who may connect: anyone, or only clients with a name and password
    /// (of which the broker knows none).
    enum class Access { Anonymous, PasswordOnly };

    /// Starts the broker and waits until it takes connections.
    explicit MqttBroker(Access access = Access::Anonymous);
    ~MqttBroker();
    MqttBroker(const MqttBroker&) = delete;
    MqttBroker& operator=(const MqttBroker&) = delete;

    /// True when the broker and its publishing client are installed.
    static bool isInstalled();

    bool isServing() const { return m_serving; }
    int port() const { return m_port; }
    /// "127.0.0.1:PORT", as vexalink's --mqtt takes it.
    QString address() const;
    /// What the broker wrote, for a failure's message.
    QByteArray output();

    /// Kills the broker at once, as a crash would, and waits until it has gone.
    void kill();
    /// Starts it again on the same port and waits until it takes connections.
    bool restart();

    /// Publishes \p payload on \p topic with the broker's own client,
    /// retained when \p retain is set (so that a subscriber that comes later
    /// still gets it), and waits until the client has done so.
    bool publish(const QByteArray& topic, const QByteArray& payload, bool retain = false) const;

private:
    bool start();

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    int m_port = 0;
    bool m_serving = false;
};

}  // namespace vexa::server::test
