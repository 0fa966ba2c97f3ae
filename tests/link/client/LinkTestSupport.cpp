#include "LinkTestSupport.h"

#include "link/protocol/WireFormat.h"

namespace vexa::link::test {

namespace {

/// No generator's prefix: the server draws such a value afresh per request.
constexpr const char* kRandomPrefix = "DRAW";

}  // namespace

void LinkFixture::expectOneFailureBox(const QString& reason)
{
    const std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, reason + QStringLiteral("\n\n") + QString::fromLatin1(DataLink::kFailureText));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("VEXA Display"));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Stop);
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_TRUE(m_host.isReconnectEnabled());
    EXPECT_EQ(m_host.connection(), QString());
}

void SetLayout(LayoutBlock& layout, const QByteArray& path, const QList<QByteArray>& names)
{
    layout.clear();
    layout.setPath(path);
    layout.setCount(std::int32_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        layout.setName(i, names[i]);
}

QList<QByteArray> RandomNames(int count)
{
    QList<QByteArray> names;
    for (int i = 1; i <= count; ++i)
        names.append(kRandomPrefix + QByteArray::number(i));
    return names;
}

bool HasRandomValues(const DataSample& sample, int count)
{
    constexpr double kLowestDraw = -100.0;
    constexpr double kHighestDraw = 100.0;
    bool anyNonZero = false;
    for (int i = 0; i < count; ++i) {
        const double value = sample.value(i);
        if (!(value >= kLowestDraw && value <= kHighestDraw))
            return false;
        anyNonZero = anyNonZero || value != 0.0;
    }
    return anyNonZero;
}

bool FakeTcpServer::accept()
{
    m_connection = m_listener.accept();
    return m_connection.isConnected();
}

bool FakeTcpServer::answer(const QByteArray& bytes)
{
    return m_connection.send(bytes);
}

void FakeTcpServer::endStream()
{
    m_connection.halfClose();
}

bool FakeTcpServer::reset()
{
    m_connection.reset();
    return m_connection.waitUntilPeerSeesTheEnd();
}

QByteArray FakeTcpServer::received()
{
    return m_connection.receiveAvailable();
}

QByteArray SampleAnswer(double timeOfDay, const QList<double>& values)
{
    QByteArray bytes(SampleBytesFor(int(values.size())), '\0');
    WriteDouble(bytes.data(), timeOfDay);
    for (int i = 0; i < values.size(); ++i)
        WriteDouble(bytes.data() + SampleBytesFor(i), values[i]);
    return bytes;
}

LayoutBlock ServerLayout(BusClient& bus)
{
    LayoutBlock layout(kServerLayoutNames);
    const QDBusMessage reply = bus.request(bus.connect(), QString(kControlItem));
    const QByteArray bytes = reply.arguments().value(0).toByteArray();
    layout.assign(bytes.constData(), bytes.size());
    return layout;
}

}  // namespace vexa::link::test
