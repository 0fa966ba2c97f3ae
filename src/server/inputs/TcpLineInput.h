#pragma once

#include "link/sockets/AsyncSelection.h"
#include "server/inputs/LineAssembler.h"
#include "server/inputs/ListeningInput.h"

#include <unordered_map>
#include <vector>

namespace vexa::server {

/// Line protocol over TCP: a listener that takes any number of clients at
/// once, each sending lines that may arrive split across reads however it
/// likes. A connection holds at most the unfinished end of one line (never
/// more than 64 KB of it); a longer line is dropped and counted.
class TcpLineInput final : public ListeningInput {
    Q_OBJECT

public:
    /// Bytes taken by one receive.
    static constexpr int kReadChunkBytes = 64 * 1024;
    /// The most one connection brings in per wake-up, so that a client
    /// that floods the input keeps neither the others nor the sample
    /// requests waiting.
    static constexpr int kReadBudgetBytes = 1024 * 1024;
    /// How long accepting pauses after accept itself failed (out of
    /// descriptors, say), so that a listener that stays readable does not spin.
    static constexpr int kAcceptPauseMs = 200;

    TcpLineInput(QString name, int index, ValueTable& table, ServerLog& log, QObject* parent = nullptr);
    ~TcpLineInput() override;

    bool takesConnections() const override { return true; }

protected:
    bool Listen(QString* failure) override;
    void Close() override;

private:
    struct Connection {
        sockets::Socket socket;
        LineAssembler lines;
    };

    void onSocketEvent(int fd, sockets::SocketEvent event, int errorCode);
    void AcceptConnections();
    void SelectListener();
    void ReadConnection(int fd);
    /// Closes connection \p fd; after an \p orderly end its unfinished last
    /// line is read first.
    void CloseConnection(int fd, bool orderly);

    sockets::AsyncSelection m_selection;
    sockets::Socket m_listening;
    std::unordered_map<int, Connection> m_connections;
    std::vector<char> m_buffer;
};

}  // namespace vexa::server
