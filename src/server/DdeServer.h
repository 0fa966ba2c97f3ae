#pragma once

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>

#include <map>

class QDBusServiceWatcher;

namespace vexa::server {

class SampleEngine;
class ServerLog;

/// The local transport: the server's conversations on the session bus. It
/// owns the service's bus name and answers connects with any topic, pokes of
/// the layout and requests of the sample and of the layout block.
class DdeServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vexa.Dde")
public:
    DdeServer(SampleEngine& engine, ServerLog& log, QObject* parent = nullptr);
    ~DdeServer() override;

    /// Registers the service on the session bus; logs the outcome.
    bool start();
    /// Forgets every conversation and gives the service name up.
    void shutdown();

    /// True while the remembered conversation is open.
    bool hasConversation() const { return m_current != 0; }

public slots:
    Q_SCRIPTABLE uint Connect(const QString& service, const QString& topic);
    Q_SCRIPTABLE uint Poke(uint conversation, const QString& item, uint format, const QByteArray& data);
    Q_SCRIPTABLE QByteArray Request(uint conversation, const QString& item, uint format);
    Q_SCRIPTABLE void Disconnect(uint conversation);

private:
    struct Conversation {
        QString topic;
        QString client;
    };

    const Conversation* callersConversation(uint conversation);
    void forget(uint conversation);
    void onClientVanished(const QString& client);

    SampleEngine& m_engine;
    ServerLog& m_log;
    QDBusServiceWatcher* m_clients = nullptr;
    std::map<uint, Conversation> m_conversations;
    uint m_current = 0;
    uint m_lastNumber = 0;
    bool m_registered = false;
};

}  // namespace vexa::server
