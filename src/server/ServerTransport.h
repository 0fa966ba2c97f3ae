#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace vexa::server {

class DdeServer;
class SampleEngine;
class ServerLog;
class TcpListener;

/// The one transport the server runs, chosen by its data path at start-up:
/// the DDE server, the TCP listener, or none for any other data path.
class ServerTransport {
public:
    /// \p window owns the listener's socket error boxes.
    ServerTransport(SampleEngine& engine, ServerLog& log, QWidget* window);
    ~ServerTransport();

    ServerTransport(const ServerTransport&) = delete;
    ServerTransport& operator=(const ServerTransport&) = delete;

    /// Starts the transport of \p dataPath (listening on \p port for TCP/IP);
    /// any other data path starts none. Only the first call starts anything.
    /// The transport logs its own outcome; false when it failed to start.
    bool start(int dataPath, int port);
    /// Shuts the running transport down; later calls change nothing.
    void shutdown();

    /// The data path the transport was started for; 0 before start().
    int dataPath() const { return m_dataPath; }
    const DdeServer* ddeServer() const { return m_dde.get(); }
    const TcpListener* tcpListener() const { return m_tcp.get(); }

    /// The word that says whether a client is connected: "DDE" or "No DDE",
    /// "Ethernet" or "No Ethernet", and empty without a transport.
    QString connectionState() const;

private:
    SampleEngine& m_engine;
    ServerLog& m_log;
    QWidget* m_window;
    int m_dataPath = 0;
    bool m_started = false;
    std::unique_ptr<DdeServer> m_dde;
    std::unique_ptr<TcpListener> m_tcp;
};

}  // namespace vexa::server
