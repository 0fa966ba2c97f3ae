// A real vexalink subscribed to a real broker (mosquitto, started by the
// test on a free loopback port with a configuration of its own), fed by the
// broker's own publishing client, and read back as the display reads it.

#include "InputTestSupport.h"
#include "MqttBroker.h"

#include "support/ServerProcess.h"
#include "support/Waits.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace vexa::server::test {
namespace {

/// How long a published value, or the server's reconnection, may take to
/// show: the first retry comes a second after the broker went.
constexpr int kArrivalMs = 10000;
const QByteArray kPlantPath = "/data/plant.mvx";

class MqttServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!MqttBroker::isInstalled())
            GTEST_SKIP() << "mosquitto and mosquitto_pub are not installed (scripts/setup installs them)";
        m_broker = std::make_unique<MqttBroker>();
        ASSERT_TRUE(m_broker->isServing()) << m_broker->output().toStdString();
        m_server = std::make_unique<vexa::test::ServerProcess>(
            QStringLiteral(VEXALINK_PATH), m_port,
            QStringList{"--mqtt", m_broker->address(), "--mqtt-topic", "plant/#", "--mqtt-topic", "lab/+/v",
                        "--log-file", m_logFile});
        ASSERT_TRUE(m_server->isServing()) << m_server->errorText().toStdString();
    }

    /// The lines the server has logged so far.
    QStringList LogLines() const
    {
        QFile file(m_logFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    /// Waits until the server has logged \p count lines that begin with \p start.
    bool WaitForLogLines(const QString& start, int count) const
    {
        return QTest::qWaitFor(
            [&] {
                const QStringList lines = LogLines();
                return std::count_if(lines.begin(), lines.end(), [&](const QString& line) { return line.startsWith(start); })
                       >= count;
            },
            kArrivalMs);
    }

    QTemporaryDir m_dir;
    QString m_logFile = m_dir.filePath(QStringLiteral("vexalink.log"));
    int m_port = vexa::test::FreePort();
    std::unique_ptr<MqttBroker> m_broker;
    std::unique_ptr<vexa::test::ServerProcess> m_server;
};

TEST_F(MqttServer, PublishedNumbersAndObjectsFeedNamesThatSamplesCarryBitForBit)
{
    // Retained, so that they reach the server whenever its subscription comes.
    ASSERT_TRUE(m_broker->publish("plant/line1/temp", "0.1", true));
    ASSERT_TRUE(m_broker->publish("plant/max", "1.7976931348623157e308", true));
    ASSERT_TRUE(m_broker->publish("plant/negzero", "-0", true));
    ASSERT_TRUE(m_broker->publish("plant/pump", "true", true));
    ASSERT_TRUE(m_broker->publish("plant/engine", R"({"rpm": 3000.125, "temps": [1, 4.9e-324]})", true));
    ASSERT_TRUE(m_broker->publish("lab/7/v", "-273.15", true));
    // Not among the filters: never a name.
    ASSERT_TRUE(m_broker->publish("elsewhere/v", "5", true));

    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"plant.line1.temp", "plant.max", "plant.negzero", "plant.pump",
                                               "plant.engine.rpm", "plant.engine.temps.1", "lab.7.v", "elsewhere.v"}));
    const std::vector<QByteArray> expected = {
        DoubleBytes(0.1),      DoubleBytes(1.7976931348623157e308), DoubleBytes(-0.0),    DoubleBytes(1.0),
        DoubleBytes(3000.125), DoubleBytes(4.9e-324),               DoubleBytes(-273.15),
        DoubleBytes(std::numeric_limits<double>::quiet_NaN())};
    ExpectSampleBecomes(client, expected, kArrivalMs);
    EXPECT_TRUE(LogLines().contains(QStringLiteral("MQTT: connected to %1").arg(m_broker->address())));
}

TEST_F(MqttServer, ABrokerKilledAndRestartedTwiceIsReconnectedAndValuesResume)
{
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"plant.beat"}));
    ASSERT_TRUE(WaitForLogLines(QStringLiteral("MQTT: connected to"), 1));
    for (int round = 1; round <= 3; ++round) {
        if (round > 1) {
            m_broker->kill();
            ASSERT_TRUE(WaitForLogLines(QStringLiteral("MQTT: reconnecting: connection to %1 lost").arg(m_broker->address()),
                                        round - 1));
            // Samples go on being answered, with the last value, while the broker is away.
            EXPECT_TRUE(client.WaitFor([&](const auto& values) { return Number(values[0]) == round - 1; }, kArrivalMs));
            ASSERT_TRUE(m_broker->restart()) << m_broker->output().toStdString();
        }
        // The restarted broker has kept nothing: the value is published anew.
        ASSERT_TRUE(m_broker->publish("plant/beat", QByteArray::number(round), true));
        EXPECT_TRUE(client.WaitFor([&](const auto& values) { return Number(values[0]) == round; }, kArrivalMs))
            << round;
    }
    // One line per change of state: connected, lost, connected, lost, connected.
    QStringList changes;
    for (const QString& line : LogLines()) {
        if (line.startsWith(QLatin1String("MQTT: ")))
            changes.append(line.section(QLatin1Char(':'), 1, 1).trimmed().section(QLatin1Char(' '), 0, 0));
    }
    EXPECT_EQ(changes, (QStringList{"connected", "reconnecting", "connected", "reconnecting", "connected"}));
}

TEST_F(MqttServer, BadPayloadsAndNamesAreCountedAndTheServerGoesOn)
{
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"plant.ready", "plant.done"}));
    // Once this arrives the server is subscribed, and no later message is missed.
    ASSERT_TRUE(m_broker->publish("plant/ready", "1", true));
    ASSERT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 1; }, kArrivalMs));

    struct Message {
        QByteArray topic;
        QByteArray payload;
    };
    const Message messages[] = {
        {"plant/bad", "hello"}, {"plant/bad", "NaN"},   {"plant/bad", "inf"}, {"plant/bad", "1e400"},
        {"plant/bad", "12i"},   {"plant/bad", R"({"v": )"}, {"plant/bad", "[1]"},
        {"plant/cleared", ""},  // skipped
        {"plant/" + QByteArray(40, 'n'), "1"}, {"plant/with[bracket", "1"},  // refused names
        {"plant/obj", R"({"s": "text", "ok": 2, "x=y": 3})"},  // a value, a string skipped, a name refused
        {"plant/done", "1"},
    };
    qsizetype bytes = QByteArray("plant/ready1").size();
    for (const Message& message : messages) {
        ASSERT_TRUE(m_broker->publish(message.topic, message.payload));
        bytes += message.topic.size() + message.payload.size();
    }
    ASSERT_TRUE(client.WaitFor([](const auto& values) { return Number(values[1]) == 1; }, kArrivalMs));

    // What the Sources window counts, as the server logs it at its end.
    ASSERT_TRUE(m_server->stop());
    const QStringList totals = LogLines().filter(QRegularExpression(QStringLiteral("^MQTT: \\d+ messages")));
    ASSERT_EQ(totals.size(), 1);
    EXPECT_EQ(totals[0], QStringLiteral("MQTT: 13 messages, 3 values, %1 bytes, 7 parse errors, 3 refused names, "
                                        "2 skipped, 0 oversize lines, 0 kernel drops")
                             .arg(bytes));
}

}  // namespace
}  // namespace vexa::server::test
