#pragma once

#include "link/sockets/Socket.h"
#include "server/inputs/LiveInput.h"

#include <sys/socket.h>

#include <string>

namespace vexa::server {

/// An input that listens on a port of its own at the configured bind
/// address: it restarts when either changes, and stops when its port is 0.
class ListeningInput : public LiveInput {
    Q_OBJECT

public:
    /// \p port is the member of the configuration that holds this input's port.
    ListeningInput(QString name, int index, int InputsConfig::*port, ValueTable& table, ServerLog& log,
                   QObject* parent = nullptr);

    void Apply(const InputsConfig& config) final;
    bool isConfigured() const final { return m_port != 0; }

    /// The port the input was last asked to listen on; 0 when off.
    int port() const { return m_port; }

protected:
    /// Opens a non-blocking socket of \p type bound to the configured
    /// address and port; an invalid socket, with \p failure saying why, when
    /// that fails.
    sockets::Socket OpenBoundSocket(int type, QString* failure) const;
    /// Starts listening; false, with \p failure saying why, when it cannot.
    virtual bool Listen(QString* failure) = 0;
    /// Stops listening and lets go of everything the input holds open.
    virtual void Close() = 0;
    /// The text of the system's error \p err for the failure of \p what.
    static QString SystemFailure(const QString& what, int err);

private:
    /// The address and port, as the log shows them: 127.0.0.1:8089, [::1]:8089.
    QString endpoint() const;

    int InputsConfig::*m_portField;
    int m_port = 0;
    std::string m_bindAddress;
};

}  // namespace vexa::server
