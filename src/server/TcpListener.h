#pragma once

#include "link/protocol/TcpMessages.h"
#include "link/sockets/Sockets.h"

#include <QObject>
#include <QTimer>

#include <netinet/in.h>

#include <unordered_map>

class QWidget;

namespace vexa::server {

class SampleEngine;
class ServerLog;

/// The TCP transport: a listener on all local addresses that serves any
/// number of connections at once. Each connection gathers its bytes into
/// whole messages; a sample request is answered on the connection it came
/// on, and a layout from any connection replaces the one layout for all.
class TcpListener : public QObject {
    Q_OBJECT
public:
    /// \p window owns the socket error boxes.
    TcpListener(SampleEngine& engine, ServerLog& log, QWidget* window, QObject* parent = nullptr);
    ~TcpListener() override;

    /// Starts the socket layer and listens on \p port; logs the outcome.
    bool start(int port);
    /// Closes every connection and the listener and stops the socket layer.
    void shutdown();

    bool isListening() const { return m_listening.isValid(); }
    /// The number of connection records, one per open connection.
    int connectionCount() const { return int(m_connections.size()); }

private:
    /// One accepted connection, found by its descriptor. The serial number
    /// tells it apart after anything that may have closed it meanwhile,
    /// since its descriptor number may by then belong to a newer connection.
    struct Connection {
        sockets::Socket socket;
        sockaddr_in peer{};
        quint64 serial = 0;
        link::TcpMessageFramer framer;
    };

    void onSocketEvent(int fd, sockets::SocketEvent event, int errorCode);
    void acceptConnections();
    void pauseAccepting();
    void readConnection(Connection& connection);
    void closeConnection(int fd, quint64 serial);
    Connection* findConnection(int fd);

    SampleEngine& m_engine;
    ServerLog& m_log;
    QWidget* m_window;
    sockets::AsyncSelection m_selection;
    sockets::Socket m_listening;
    std::unordered_map<int, Connection> m_connections;
    quint64 m_lastSerial = 0;
    bool m_socketsStarted = false;
};

}  // namespace vexa::server
