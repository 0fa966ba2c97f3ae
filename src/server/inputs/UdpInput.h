#pragma once

#include "server/inputs/ListeningInput.h"

#include <QTimer>

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
///
/// A datagram that comes alone is read at once. While they keep coming, a
/// wake-up that found only a few lets the next ones gather for a moment
/// before it reads again, so that a steady feed costs a few wake-ups a
/// millisecond rather than one per datagram.
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
    /// How long datagrams of a steady feed gather before they are read.
    static constexpr int kGatherMs = 2;

    UdpInput(QString name, int index, int InputsConfig::*port, DatagramParser parse, ValueTable& table,
             ServerLog& log, QObject* parent = nullptr);
    ~UdpInput() override;

    /// The receive buffer the system granted; 0 while not listening.
    int receiveBufferBytes() const { return m_receiveBufferBytes; }

protected:
    bool Listen(QString* failure) override;
    void Close() override;

private:
    /// Reads what waits; returns the number of datagrams read.
    int ReadDatagrams();
    /// After a wake-up that read \p datagrams: wait for the next datagram,
    /// let a steady feed gather, or read on at once.
    void PaceReading(int datagrams);
    /// Takes the system's count of dropped datagrams from a received header.
    void ReadDropCount(const msghdr& header);

    DatagramParser m_parse;
    sockets::Socket m_socket;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_gather;
    int m_receiveBufferBytes = 0;
    /// Drops counted by the sockets of earlier starts; each socket counts from 0.
    std::uint64_t m_dropsBefore = 0;
    std::vector<char> m_buffers;
    std::vector<char> m_controls;
    std::vector<iovec> m_vectors;
    std::vector<mmsghdr> m_headers;
};

}  // namespace vexa::server
