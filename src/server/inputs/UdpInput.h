#pragma once

#include "server/inputs/ListeningInput.h"

#include <sys/socket.h>
#include <sys/uio.h>

#include <string_view>
#include <vector>

class QSocketNotifier;

namespace vexa::server {

/// Reads one datagram's values into a sink.
using DatagramParser = ParseCounts (*)(std::string_view datagram, ValueSink& sink);

/// An input that takes datagrams on a UDP port and hands each to its parser.
/// Its receive buffer is made large, so that bursts wait in the system
/// rather than being dropped, and it reads many datagrams per system call
/// and per wake-up. Datagrams the system dropped all the same are counted
/// from the socket's drop counter, which the system hands over with the
/// next datagram it takes in after a drop.
class UdpInput final : public ListeningInput {
    Q_OBJECT

public:
    /// The receive buffer asked for: a few tenths of a second of a heavy feed.
    static constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;
    /// Room for the largest datagram.
    static constexpr int kDatagramBytes = 64 * 1024;
    /// Datagrams taken by one system call.
    static constexpr int kBatchDatagrams = 32;
    /// Datagrams read per wake-up before the event loop gets its turn back.
    static constexpr int kDatagramsPerWakeUp = 4096;

    UdpInput(QString name, int index, int InputsConfig::*port, DatagramParser parse, ValueTable& table,
             ServerLog& log, QObject* parent = nullptr);
    ~UdpInput() override;

    /// The receive buffer the system granted; 0 while not listening.
    int receiveBufferBytes() const { return m_receiveBufferBytes; }

protected:
    bool Listen(QString* failure) override;
    void Close() override;

private:
    void ReadDatagrams();
    /// Takes the system's count of dropped datagrams from a received header.
    void ReadDropCount(const msghdr& header);

    DatagramParser m_parse;
    sockets::Socket m_socket;
    QSocketNotifier* m_notifier = nullptr;
    int m_receiveBufferBytes = 0;
    /// Drops counted by the sockets of earlier starts; each socket counts from 0.
    std::uint64_t m_dropsBefore = 0;
    std::vector<char> m_buffers;
    std::vector<char> m_controls;
    std::vector<iovec> m_vectors;
    std::vector<mmsghdr> m_headers;
};

}  // namespace vexa::server
