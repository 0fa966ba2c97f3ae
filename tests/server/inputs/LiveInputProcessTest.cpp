// A real vexalink with its live inputs on free loopback ports, fed as a test
// stand or a script would feed it, and read back as the display reads it:
// the bytes of the values in its samples.

#include "InputTestSupport.h"

#include "support/ServerProcess.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <poll.h>

#include <cmath>
#include <limits>
#include <memory>

namespace vexa::server::test {
namespace {

/// How long a fed value may take to show in a sample.
constexpr int kArrivalMs = 5000;
const QByteArray kPlantPath = "/data/plant.mvx";
const QByteArray kNan = DoubleBytes(std::numeric_limits<double>::quiet_NaN());

/// A vexalink on the TCP path with the given inputs' options.
class LiveServer : public ::testing::Test {
protected:
    void Start(const QStringList& options)
    {
        m_server = std::make_unique<vexa::test::ServerProcess>(QStringLiteral(VEXALINK_PATH), m_port, options);
        ASSERT_TRUE(m_server->isServing()) << m_server->errorText().toStdString();
    }
    /// Starts with line protocol over UDP and TCP and JSON over UDP, plus \p more.
    void StartAllInputs(const QStringList& more = {})
    {
        Start(QStringList{"--line-udp", QString::number(m_lineUdp), "--line-tcp", QString::number(m_lineTcp),
                          "--json-udp", QString::number(m_jsonUdp)}
              + more);
    }
    void TearDown() override
    {
        if (m_server == nullptr)
            return;
        // Whatever a test sent, the server is still there and answering.
        ASSERT_TRUE(m_server->isRunning());
        SampleClient probe(m_port);
        ASSERT_TRUE(probe.SendLayout(kPlantPath, {"probe"}));
        EXPECT_EQ(probe.Sample().size(), 1u);
    }

    /// Sends \p lines over one TCP connection to the line input.
    bool SendTcpLines(const QByteArray& lines) const
    {
        return vexa::test::RawTcpClient(m_lineTcp).send(lines);
    }

    int m_port = vexa::test::FreePort();
    int m_lineUdp = FreeUdpPort();
    int m_lineTcp = vexa::test::FreePort();
    int m_jsonUdp = FreeUdpPort();
    std::unique_ptr<vexa::test::ServerProcess> m_server;
};

TEST_F(LiveServer, EachInputFeedsNamesThatSamplesCarryBitForBit)
{
    StartAllInputs();
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"udp.tenth", "udp.max", "tcp.int", "tcp.tiny", "json.engine.rpm",
                                               "json.negzero", "json.temps.1", "udp"}));
    ASSERT_TRUE(SendDatagram(m_lineUdp, "udp tenth=0.1,max=1.7976931348623157e308\nudp value=-273.15\n"));
    ASSERT_TRUE(SendTcpLines("tcp,host=a int=-42i,tiny=4.9e-324 1700000000000000000\n"));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"json": {"engine": {"rpm": 3000.125}, "negzero": -0, "temps": [1, 2.5]}})"));

    const std::vector<QByteArray> expected = {
        DoubleBytes(0.1),   DoubleBytes(1.7976931348623157e308), DoubleBytes(-42), DoubleBytes(4.9e-324),
        DoubleBytes(3000.125), DoubleBytes(-0.0),                DoubleBytes(2.5), DoubleBytes(-273.15)};
    ExpectSampleBecomes(client, expected, kArrivalMs);
}

TEST_F(LiveServer, WithoutInputsNothingChangesFromTheStillSample)
{
    Start({});
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"never", "fed"}));
    EXPECT_EQ(client.Sample(), (std::vector<QByteArray>{DoubleBytes(0.0), DoubleBytes(0.0)}));
    EXPECT_EQ(client.timeOfDay(), 0.0);
}

TEST_F(LiveServer, WithAnInputConfiguredUnfedNamesAreNanUntilFed)
{
    StartAllInputs();
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"fed.v", "later.v"}));
    EXPECT_EQ(client.Sample(), (std::vector<QByteArray>{kNan, kNan}));
    // Live samples carry the time of day, as simulated ones do.
    EXPECT_GT(client.timeOfDay(), 0.0);
    EXPECT_LT(client.timeOfDay(), 86400.0);
    ASSERT_TRUE(SendDatagram(m_lineUdp, "fed v=1"));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 1 && IsNan(values[1]); },
                               kArrivalMs));
    ASSERT_TRUE(SendDatagram(m_lineUdp, "later v=2"));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[1]) == 2; }, kArrivalMs));
}

TEST_F(LiveServer, InSimulateModeLiveNamesKeepTheirValuesAmongTheGenerators)
{
    StartAllInputs();
    SampleClient client(m_port);
    // COS_LIVE would be the cosine's, but a live source feeds it.
    ASSERT_TRUE(client.SendLayout("/data/SIMULATE.mvx", {"SIN1", "COS_LIVE", "RAN_X", "PRESSURE"}));
    ASSERT_TRUE(SendDatagram(m_lineUdp, "COS_LIVE value=5.5\nPRESSURE value=-0"));
    EXPECT_TRUE(client.WaitFor(
        [](const std::vector<QByteArray>& values) {
            return Number(values[1]) == 5.5 && values[3] == DoubleBytes(-0.0);
        },
        kArrivalMs));
    const std::vector<QByteArray> values = client.Sample();
    ASSERT_EQ(values.size(), 4u);
    for (int simulated : {0, 2}) {
        EXPECT_FALSE(IsNan(values[std::size_t(simulated)])) << simulated;
        EXPECT_LE(std::fabs(Number(values[std::size_t(simulated)])), 100.0) << simulated;
    }
}

TEST_F(LiveServer, ANameNotFedWithinTheStaleLimitIsNanUntilFedAgain)
{
    StartAllInputs({"--stale-after", "1000"});
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"beat.v"}));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"beat": {"v": 1}})"));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 1; }, kArrivalMs));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return IsNan(values[0]); }, kArrivalMs));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"beat": {"v": 2}})"));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 2; }, kArrivalMs));
}

TEST_F(LiveServer, NamesAreUsedAsTheyArriveOrRefusedNeverCut)
{
    StartAllInputs();
    SampleClient client(m_port);
    const QByteArray longest(32, 'L');
    const QByteArray cut(32, 'C');  // what a 33-character name would be if it were cut
    const QByteArray high("\xffhigh\xe9");
    ASSERT_TRUE(client.SendLayout(kPlantPath, {longest, cut, high, "with[bracket", "nul", ";semi", "done"}));
    QByteArray lines = longest + " value=1\n" + cut + "C value=2\n" + high + " value=3\nwith[bracket value=4\n";
    lines += QByteArray("nul\0x value=5\n", 14) + ";semi value=6\ndone value=7\n";
    ASSERT_TRUE(SendTcpLines(lines));
    std::vector<QByteArray> last;
    EXPECT_TRUE(client.WaitFor(
        [&](const std::vector<QByteArray>& values) {
            last = values;
            return Number(values[6]) == 7;
        },
        kArrivalMs));
    ASSERT_EQ(last.size(), 7u);
    EXPECT_EQ(Number(last[0]), 1);
    EXPECT_TRUE(IsNan(last[1]));
    EXPECT_EQ(Number(last[2]), 3);
    for (int refused : {3, 4, 5})
        EXPECT_TRUE(IsNan(last[std::size_t(refused)])) << refused;
}

TEST_F(LiveServer, BadNumbersAreRefusedAndMinusZeroKeepsItsSign)
{
    StartAllInputs();
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"b.nan", "b.inf", "b.huge", "b.negzero", "j.huge", "j.ok", "done"}));
    ASSERT_TRUE(SendDatagram(m_lineUdp, "b nan=NaN\nb inf=inf\nb huge=1e400\nb negzero=-0\n"));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"j": {"huge": 1e400, "ok": 1}})"));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"j": {"ok": NaN}})"));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"done": Infinity})"));
    ASSERT_TRUE(SendDatagram(m_lineUdp, "done value=1"));
    std::vector<QByteArray> last;
    EXPECT_TRUE(client.WaitFor(
        [&](const std::vector<QByteArray>& values) {
            last = values;
            return Number(values[6]) == 1 && values[3] == DoubleBytes(-0.0);
        },
        kArrivalMs));
    ASSERT_EQ(last.size(), 7u);
    for (int refused : {0, 1, 2, 4, 5})
        EXPECT_TRUE(IsNan(last[std::size_t(refused)])) << refused;
}

TEST_F(LiveServer, LargestDatagramsAndTenThousandNamesInASecondAreTaken)
{
    StartAllInputs();
    // The largest UDP datagram, packed with lines, and one that is one line of noise.
    QByteArray packed;
    int lines = 0;
    for (;;) {
        const QByteArray line = "big" + QByteArray::number(lines) + " value=" + QByteArray::number(lines) + "\n";
        if (packed.size() + line.size() > 65507)
            break;
        packed += line;
        ++lines;
    }
    packed += QByteArray(65507 - packed.size(), '#');
    ASSERT_EQ(packed.size(), 65507);
    ASSERT_TRUE(SendDatagram(m_lineUdp, packed));
    ASSERT_TRUE(SendDatagram(m_lineUdp, QByteArray(65507, 'x')));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, "{\"s\":\"" + QByteArray(65499, 'y') + "\"}"));
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"big0", "big" + QByteArray::number(lines - 1), "n0", "n5000", "n9999"}));
    // Read before more comes, so that a small receive buffer holds the rest.
    EXPECT_TRUE(client.WaitFor(
        [&](const std::vector<QByteArray>& values) { return Number(values[0]) == 0 && Number(values[1]) == lines - 1; },
        kArrivalMs));

    // 10,000 distinct names within a second, a hundred lines to a datagram,
    // paced over the second as a feed would send them.
    constexpr int kNames = 10000;
    constexpr int kPerDatagram = 100;
    constexpr int kPaceMs = 1000 * kPerDatagram / kNames;
    for (int first = 0; first < kNames; first += kPerDatagram) {
        QByteArray datagram;
        for (int i = first; i < first + kPerDatagram; ++i)
            datagram += "n" + QByteArray::number(i) + " value=" + QByteArray::number(i) + "\n";
        ASSERT_TRUE(SendDatagram(m_lineUdp, datagram));
        ::poll(nullptr, 0, kPaceMs);
    }
    EXPECT_TRUE(client.WaitFor(
        [&](const std::vector<QByteArray>& values) {
            return Number(values[2]) == 0 && Number(values[3]) == 5000 && Number(values[4]) == 9999;
        },
        kArrivalMs));
}

TEST_F(LiveServer, JsonTenThousandLevelsDeepLeavesTheServerAnswering)
{
    StartAllInputs();
    constexpr int kDepth = 10000;
    QByteArray deep;
    for (int i = 0; i < kDepth; ++i)
        deep += "{\"a\":";
    deep += "1" + QByteArray(kDepth, '}');
    ASSERT_TRUE(SendDatagram(m_jsonUdp, deep));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, "{\"x\":" + QByteArray(kDepth, '[') + "1" + QByteArray(kDepth, ']') + "}"));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, QByteArray(30000, '{')));
    ASSERT_TRUE(SendDatagram(m_jsonUdp, R"({"after": 1})"));
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"after"}));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 1; }, kArrivalMs));
}

TEST_F(LiveServer, ASlowTcpClientHoldsNoOneUpAndItsLineCompletesInTheEnd)
{
    StartAllInputs();
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"slow.v", "quick.v"}));
    vexa::test::RawTcpClient slow(m_lineTcp);
    ASSERT_TRUE(slow.isConnected());
    const QByteArray line = "slow v=7\n";
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(slow.send(line.mid(i, 1)));
        // Between its bytes, another input's values and the samples flow.
        ASSERT_TRUE(SendDatagram(m_lineUdp, "quick v=" + QByteArray::number(i)));
        EXPECT_TRUE(client.WaitFor([i](const auto& values) { return Number(values[1]) == i && IsNan(values[0]); },
                                   kArrivalMs))
            << i;
    }
    ASSERT_TRUE(slow.send(line.mid(4)));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 7; }, kArrivalMs));
}

TEST_F(LiveServer, AThousandInputConnectionsComeAndGo)
{
    StartAllInputs();
    constexpr int kConnections = 1000;
    constexpr int kAtOnce = 100;
    for (int first = 0; first < kConnections; first += kAtOnce) {
        std::vector<vexa::test::RawTcpClient> open;
        for (int i = first; i < first + kAtOnce; ++i) {
            open.emplace_back(m_lineTcp);
            ASSERT_TRUE(open.back().isConnected()) << i;
        }
        for (std::size_t i = 0; i < open.size(); ++i) {
            // Some say something, some half a line, some nothing.
            if (i % 3 == 0)
                open[i].send("churn v=" + QByteArray::number(first + int(i)) + "\n");
            else if (i % 3 == 1)
                open[i].send("half v=");
            open[i].close();
        }
    }
    ASSERT_TRUE(SendTcpLines("after v=1\n"));
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"after.v", "churn.v"}));
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return Number(values[0]) == 1 && !IsNan(values[1]); },
                               kArrivalMs));
}

TEST_F(LiveServer, ABadCommandLineValueEndsTheServerWithAMessage)
{
    QProcess process;
    process.start(QStringLiteral(VEXALINK_PATH), {"--line-udp", "70000"});
    ASSERT_TRUE(process.waitForFinished(kArrivalMs));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError(), "vexalink: --line-udp needs a port from 1 to 65535, not \"70000\"\n");
}

}  // namespace
}  // namespace vexa::server::test
