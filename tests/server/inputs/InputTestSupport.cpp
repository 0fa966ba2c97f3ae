#include "InputTestSupport.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"
#include "support/ServerProcess.h"

#include <QDeadlineTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <ostream>

namespace vexa::server::test {

bool SunkValue::operator==(const SunkValue& other) const
{
    const bool sameTime = sourceTime == other.sourceTime || (std::isnan(sourceTime) && std::isnan(other.sourceTime));
    return name == other.name && DoubleBytes(value) == DoubleBytes(other.value) && sameTime;
}

void PrintTo(const SunkValue& value, std::ostream* os)
{
    *os << "{\"" << value.name << "\", " << value.value << (std::signbit(value.value) ? " (negative)" : "") << ", "
        << value.sourceTime << "}";
}

void RecordingSink::Value(std::string_view name, double value, double sourceTime)
{
    values.push_back(SunkValue{std::string(name), value, sourceTime});
}

QByteArray DoubleBytes(double value)
{
    QByteArray bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

}  // namespace vexa::server::test

namespace vexa::test {

int ConnectLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = LoopbackAddress(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace vexa::test

namespace vexa::server::test {

namespace {

constexpr int kAnswerTimeoutMs = 5000;
constexpr int kPollPauseMs = 10;

}  // namespace

SampleClient::SampleClient(int port) : m_fd(vexa::test::ConnectLoopback(port)) {}

SampleClient::~SampleClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SampleClient::SendLayout(const QByteArray& path, const QList<QByteArray>& names)
{
    link::LayoutBlock block(link::kServerLayoutNames);
    block.setPath(path);
    block.setCount(std::int32_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        block.setName(i, names[i]);
    m_count = int(names.size());
    return SendAll(m_fd, link::BuildLayoutMessage(block));
}

std::vector<QByteArray> SampleClient::Sample()
{
    if (!SendAll(m_fd, link::BuildSampleRequest()))
        return {};
    QByteArray answer;
    const qsizetype length = link::SampleBytesFor(m_count);
    QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (answer.size() < length) {
        pollfd readable{m_fd, POLLIN, 0};
        if (::poll(&readable, 1, int(deadline.remainingTime())) <= 0)
            return {};
        char buffer[4096];
        const ssize_t n = ::recv(m_fd, buffer, size_t(std::min<qsizetype>(sizeof buffer, length - answer.size())), 0);
        if (n <= 0)
            return {};
        answer.append(buffer, n);
    }
    m_timeOfDay = link::ReadDouble(answer.constData());
    std::vector<QByteArray> values;
    for (int i = 0; i < m_count; ++i)
        values.push_back(answer.mid(8 + 8 * i, 8));
    return values;
}

bool SampleClient::WaitFor(const std::function<bool(const std::vector<QByteArray>& values)>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const std::vector<QByteArray> values = Sample();
        if (int(values.size()) == m_count && done(values))
            return true;
        if (deadline.hasExpired())
            return false;
        ::poll(nullptr, 0, kPollPauseMs);
    }
}

bool SendAll(int fd, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (fd >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return fd >= 0;
}

}  // namespace vexa::server::test
