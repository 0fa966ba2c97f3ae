#include "InputTestSupport.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"
#include "support/ServerProcess.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <poll.h>

#include <algorithm>
#include <cstring>
#include <ostream>

namespace vexa::server::test {

namespace {

/// The pause between two samples while a test waits for a value.
constexpr int kPollPauseMs = 10;

}  // namespace

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

double Number(const QByteArray& value)
{
    double number = 0.0;
    std::memcpy(&number, value.constData(), std::min<std::size_t>(sizeof number, std::size_t(value.size())));
    return number;
}

QByteArray DoubleBytes(double value)
{
    QByteArray bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

SampleClient::SampleClient(int port) : m_client(port) {}

bool SampleClient::SendLayout(const QByteArray& path, const QList<QByteArray>& names)
{
    link::LayoutBlock block(link::kServerLayoutNames);
    block.setPath(path);
    block.setCount(std::int32_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        block.setName(i, names[i]);
    m_count = int(names.size());
    return m_client.send(link::BuildLayoutMessage(block));
}

std::vector<QByteArray> SampleClient::Sample()
{
    if (!m_client.send(link::BuildSampleRequest()))
        return {};
    const qsizetype length = link::SampleBytesFor(m_count);
    const QByteArray answer = m_client.receive(length);
    if (answer.size() < length)
        return {};
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

void ExpectSampleBecomes(SampleClient& client, const std::vector<QByteArray>& expected, int timeoutMs)
{
    std::vector<QByteArray> last;
    EXPECT_TRUE(client.WaitFor(
        [&](const std::vector<QByteArray>& values) {
            last = values;
            return values == expected;
        },
        timeoutMs));
    for (std::size_t i = 0; i < last.size() && i < expected.size(); ++i)
        EXPECT_EQ(last[i].toHex(), expected[i].toHex()) << "value " << i;
}

}  // namespace vexa::server::test
