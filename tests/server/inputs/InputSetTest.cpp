// The inputs in this process, on the loopback interface: what they count,
// how they start, stop and fail, and what they do with what the system
// could not hold.

#include "server/inputs/InputSet.h"

#include "InputTestSupport.h"
#include "MqttBroker.h"

#include "server/inputs/MqttInput.h"

#include "link/sockets/Socket.h"

#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <vector>

namespace vexa::server::test {
namespace {

using vexa::test::RawTcpClient;

constexpr int kWaitMs = vexa::test::kWaitTimeoutMs;
constexpr int kMarkerWaitMs = 200;

class InputSetTest : public ::testing::Test {
protected:
    const LiveInput& input(int index) const { return m_inputs.input(index); }

    TextLog m_log;
    InputSet m_inputs{m_log};
};

TEST_F(InputSetTest, TcpClientsAreCountedAndTheirLinesJoinedAcrossReads)
{
    InputsConfig config;
    config.lineTcpPort = vexa::test::FreePort();
    m_inputs.Apply(config);
    const LiveInput& tcp = input(InputSet::kLineTcpInput);
    ASSERT_EQ(tcp.state(), InputState::Listening);

    std::vector<RawTcpClient> clients;
    for (int i = 0; i < 3; ++i) {
        clients.emplace_back(config.lineTcpPort, RawTcpClient::Peer::ThisProcess);
        ASSERT_TRUE(clients.back().isConnected());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.counters().clients == 3; }, kWaitMs));

    // One line over the limit, sent in pieces among good lines of others,
    // each piece read before the next is sent.
    const QByteArray tooLong = "long v=1,s=\"" + QByteArray(70000, 'x') + "\"\n";
    for (qsizetype at = 0; at < tooLong.size(); at += 8192) {
        ASSERT_TRUE(clients[0].send(tooLong.mid(at, 8192)));
        ASSERT_TRUE(clients[1].send("a v=" + QByteArray::number(at) + "\n"));
        ASSERT_TRUE(clients[0].waitUntilPeerHasRead());
        ASSERT_TRUE(clients[1].waitUntilPeerHasRead());
    }
    ASSERT_TRUE(clients[0].send("after v=2\n"));
    // A stream that ends in order ends its last line.
    ASSERT_TRUE(clients[2].send("unended v=3"));
    clients[2].close();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_inputs.table().find("after.v") && m_inputs.table().find("unended.v") && tcp.counters().clients == 2; },
        kWaitMs));
    EXPECT_EQ(tcp.counters().oversizeLines, 1u);
    EXPECT_EQ(tcp.counters().parseErrors, 0u);
    EXPECT_EQ(m_inputs.table().find("long"), std::nullopt);
    EXPECT_EQ(m_inputs.table().entry(*m_inputs.table().find("unended.v")).value, 3);
    EXPECT_EQ(tcp.counters().values, 9u + 2u);  // nine pieces, "after", "unended"

    clients[0].close();
    clients[1].close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return tcp.counters().clients == 0; }, kWaitMs));
}

TEST_F(InputSetTest, AChangedPortRestartsTheInputAndAFailedOneTriesAgain)
{
    InputsConfig config;
    config.lineUdpPort = FreeUdpPort();
    m_inputs.Apply(config);
    const int firstPort = config.lineUdpPort;

    // Another program holds the next port: the input fails, and says why.
    sockets::Socket holder(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    config.lineUdpPort = FreeUdpPort();
    const sockaddr_in held = vexa::test::LoopbackAddress(config.lineUdpPort);
    ASSERT_EQ(::bind(holder.fd(), reinterpret_cast<const sockaddr*>(&held), sizeof held), 0);
    m_inputs.Apply(config);
    EXPECT_EQ(input(InputSet::kLineUdpInput).state(), InputState::Failed);

    // Once it is free, putting the same configuration in force again retries.
    holder.reset();
    m_inputs.Apply(config);
    EXPECT_EQ(input(InputSet::kLineUdpInput).state(), InputState::Listening);
    const QString failed = QStringLiteral("Line protocol over UDP: failed: cannot bind 127.0.0.1:%1: Address already in use")
                               .arg(config.lineUdpPort);
    EXPECT_EQ(m_log.texts, (QStringList{QStringLiteral("Line protocol over UDP: listening on 127.0.0.1:%1").arg(firstPort),
                                        "Line protocol over UDP: stopped", failed,
                                        QStringLiteral("Line protocol over UDP: listening on 127.0.0.1:%1")
                                            .arg(config.lineUdpPort)}));
    EXPECT_TRUE(m_inputs.hasLiveSources());
    m_inputs.Apply(InputsConfig{});
    EXPECT_FALSE(m_inputs.hasLiveSources());
    EXPECT_EQ(m_log.texts.last(), QStringLiteral("Line protocol over UDP: stopped"));
}

TEST_F(InputSetTest, DatagramsTheSystemCouldNotHoldAreCountedAsKernelDrops)
{
    InputsConfig config;
    config.jsonUdpPort = FreeUdpPort();
    m_inputs.Apply(config);
    const LiveInput& json = input(InputSet::kJsonUdpInput);

    // Nothing is read while the test sends, so the receive buffer (16 MB at
    // the very most) overflows.
    constexpr int kDatagrams = 40000;
    const QByteArray datagram = R"({"v": 1, "pad": ")" + QByteArray(1000, 'p') + "\"}";
    const sockets::Socket sender(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const int fd = sender.fd();
    const sockaddr_in address = vexa::test::LoopbackAddress(config.jsonUdpPort);
    for (int i = 0; i < kDatagrams; ++i) {
        ASSERT_EQ(::sendto(fd, datagram.constData(), size_t(datagram.size()), 0,
                           reinterpret_cast<const sockaddr*>(&address), sizeof address),
                  datagram.size());
    }
    // The system tells of drops with the next datagram it takes in, so
    // markers follow until one gets through.
    int markers = 0;
    while (markers < kDatagrams) {
        const QByteArray marker = "{\"marker\": " + QByteArray::number(++markers) + "}";
        ::sendto(fd, marker.constData(), size_t(marker.size()), 0, reinterpret_cast<const sockaddr*>(&address),
                 sizeof address);
        const auto arrived = [&] {
            const std::optional<std::size_t> found = m_inputs.table().find("marker");
            return found.has_value() && m_inputs.table().entry(*found).value == markers;
        };
        if (QTest::qWaitFor(arrived, kMarkerWaitMs))
            break;
    }
    // Each datagram was read or counted as dropped.
    const auto& counters = json.counters();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return counters.messages + counters.kernelDrops == std::uint64_t(kDatagrams + markers); }, kWaitMs))
        << counters.messages << " read, " << counters.kernelDrops << " dropped";
    EXPECT_GT(counters.kernelDrops, 0u);
    EXPECT_EQ(counters.values, counters.messages);
}

TEST_F(InputSetTest, AnUnreachableBrokerIsTriedAgainLaterEachTimeAndLoggedOnce)
{
    InputsConfig config;
    config.mqttBroker = "127.0.0.1:" + std::to_string(vexa::test::FreePort());  // nothing listens there
    config.mqttTopics = {"plant/#"};
    m_inputs.Apply(config);
    const auto& mqtt = static_cast<const MqttInput&>(input(InputSet::kMqttInput));
    EXPECT_TRUE(m_inputs.hasLiveSources());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mqtt.state() == InputState::Reconnecting; }, kWaitMs));
    const QString refused = QStringLiteral("cannot connect to %1: Connection refused").arg(QString::fromStdString(config.mqttBroker));
    EXPECT_EQ(mqtt.detail(), refused);
    EXPECT_EQ(mqtt.retryDelayMs(), 2 * MqttInput::kFirstRetryMs);
    // The second attempt, a second later, fails alike: the pause doubles
    // again, and the log says nothing new.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mqtt.retryDelayMs() == 4 * MqttInput::kFirstRetryMs; },
                                kWaitMs + MqttInput::kFirstRetryMs));
    EXPECT_EQ(m_log.texts, QStringList{QStringLiteral("MQTT: reconnecting: ") + refused});

    m_inputs.Apply(InputsConfig{});
    EXPECT_EQ(mqtt.state(), InputState::Off);
    EXPECT_EQ(m_log.texts.last(), QStringLiteral("MQTT: stopped"));
}

TEST_F(InputSetTest, ABrokerThatRefusesTheClientLeavesTheInputFailedUntilAppliedAgain)
{
    if (!MqttBroker::isInstalled())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup installs it)";
    MqttBroker broker(MqttBroker::Access::PasswordOnly);
    ASSERT_TRUE(broker.isServing()) << broker.output().toStdString();
    InputsConfig config;
    config.mqttBroker = broker.address().toStdString();
    config.mqttTopics = {"plant/#"};
    m_inputs.Apply(config);
    const auto& mqtt = static_cast<const MqttInput&>(input(InputSet::kMqttInput));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mqtt.state() == InputState::Failed; }, kWaitMs));
    const QString failed =
        QStringLiteral("MQTT: failed: %1 refused the connection: Connection Refused: not authorised.").arg(broker.address());
    EXPECT_EQ(m_log.texts, QStringList{failed});
    // Nothing more is tried on its own...
    EXPECT_FALSE(mqtt.isRetryScheduled());
    // ...but putting the configuration in force again is another attempt.
    m_inputs.Apply(config);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_log.texts.size() == 2; }, kWaitMs));
    EXPECT_EQ(m_log.texts.last(), failed);
}

}  // namespace
}  // namespace vexa::server::test
