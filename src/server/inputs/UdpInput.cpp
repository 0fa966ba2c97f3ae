#include "server/inputs/UdpInput.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vexa::server {

namespace {

constexpr std::size_t kControlBytes = CMSG_SPACE(sizeof(std::uint32_t));

/// Asks for \p bytes of receive buffer: beyond the system's usual ceiling
/// where the program may, within it otherwise. Returns what was granted.
int SizeReceiveBuffer(int fd, int bytes)
{
    if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    int granted = 0;
    socklen_t length = sizeof granted;
    getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &granted, &length);
    return granted;
}

}  // namespace

UdpInput::UdpInput(QString name, int index, int InputsConfig::*port, DatagramParser parse, ValueTable& table,
                   ServerLog& log, QObject* parent)
    : ListeningInput(std::move(name), index, port, table, log, parent), m_parse(parse)
{
    m_gather.setSingleShot(true);
    m_gather.setTimerType(Qt::PreciseTimer);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, [this] { PaceReading(ReadDatagrams()); });
}

UdpInput::~UdpInput()
{
    Close();
}

bool UdpInput::Listen(QString* failure)
{
    sockets::Socket socket = OpenBoundSocket(SOCK_DGRAM, failure);
    if (!socket.isValid())
        return false;
    const int on = 1;
    setsockopt(socket.fd(), SOL_SOCKET, SO_RXQ_OVFL, &on, sizeof on);
    m_receiveBufferBytes = SizeReceiveBuffer(socket.fd(), kReceiveBufferBytes);

    m_buffers.resize(std::size_t(kBatchDatagrams) * kDatagramBytes);
    m_controls.resize(std::size_t(kBatchDatagrams) * kControlBytes);
    m_vectors.resize(kBatchDatagrams);
    m_headers.resize(kBatchDatagrams);
    for (int i = 0; i < kBatchDatagrams; ++i) {
        m_vectors[std::size_t(i)] = iovec{m_buffers.data() + std::size_t(i) * kDatagramBytes, kDatagramBytes};
        msghdr& header = m_headers[std::size_t(i)].msg_hdr;
        header = msghdr{};
        header.msg_iov = &m_vectors[std::size_t(i)];
        header.msg_iovlen = 1;
    }

    m_socket = std::move(socket);
    m_notifier = new QSocketNotifier(m_socket.fd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { PaceReading(ReadDatagrams()); });
    return true;
}

void UdpInput::Close()
{
    m_gather.stop();
    if (m_notifier != nullptr) {
        // It may be the notifier whose signal is being delivered.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_socket.reset();
    m_receiveBufferBytes = 0;
    m_dropsBefore = counters().kernelDrops;
    // The buffers go with the socket, so that an input switched off holds
    // no memory for it.
    std::vector<char>().swap(m_buffers);
    std::vector<char>().swap(m_controls);
    std::vector<iovec>().swap(m_vectors);
    std::vector<mmsghdr>().swap(m_headers);
}

void UdpInput::PaceReading(int datagrams)
{
    if (m_notifier == nullptr)
        return;
    // A few: more are likely on their way, and are read together shortly.
    const bool gather = datagrams > 0 && datagrams < kBatchDatagrams;
    m_notifier->setEnabled(!gather);
    if (gather)
        m_gather.start();
}

int UdpInput::ReadDatagrams()
{
    Feed feed(*this);
    ParseCounts parsed;
    std::uint64_t bytes = 0;
    int budget = kDatagramsPerWakeUp;
    while (budget > 0 && m_socket.isValid()) {
        const int batch = std::min(budget, kBatchDatagrams);
        for (int i = 0; i < batch; ++i) {
            msghdr& header = m_headers[std::size_t(i)].msg_hdr;
            header.msg_control = m_controls.data() + std::size_t(i) * kControlBytes;
            header.msg_controllen = kControlBytes;
            header.msg_flags = 0;
        }
        const int received = recvmmsg(m_socket.fd(), m_headers.data(), unsigned(batch), MSG_DONTWAIT, nullptr);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            break;  // nothing more waits (or the socket has nothing to give now)
        }
        for (int i = 0; i < received; ++i) {
            const mmsghdr& message = m_headers[std::size_t(i)];
            bytes += message.msg_len;
            ReadDropCount(message.msg_hdr);
            parsed += m_parse(std::string_view(static_cast<const char*>(m_vectors[std::size_t(i)].iov_base),
                                               message.msg_len),
                              feed);
        }
        budget -= received;
        if (received < batch)
            break;
    }
    if (bytes > 0 || parsed.messages > 0)
        CountReceived(bytes);
    CountParse(parsed);
    return kDatagramsPerWakeUp - budget;
}

void UdpInput::ReadDropCount(const msghdr& header)
{
    for (const cmsghdr* control = CMSG_FIRSTHDR(&header); control != nullptr;
         control = CMSG_NXTHDR(const_cast<msghdr*>(&header), const_cast<cmsghdr*>(control))) {
        if (control->cmsg_level == SOL_SOCKET && control->cmsg_type == SO_RXQ_OVFL) {
            std::uint32_t dropped = 0;
            std::memcpy(&dropped, CMSG_DATA(control), sizeof dropped);
            counters().kernelDrops = m_dropsBefore + dropped;
        }
    }
}

}  // namespace vexa::server
