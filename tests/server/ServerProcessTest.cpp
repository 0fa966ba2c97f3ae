// A real vexalink serving TCP on a free loopback port, seen as its clients
// see it: the bytes of every answer.

#include "TransportTestSupport.h"

#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"
#include "server/ServerWindow.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vexa::server::test {
namespace {

double ValueAt(const QByteArray& answer, int index)
{
    return link::ReadDouble(answer.constData() + 8 + 8 * index);
}

double TimeOf(const QByteArray& answer)
{
    return link::ReadDouble(answer.constData());
}

class ServerTcpProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_server = std::make_unique<ServerProcess>(FreePort());
        ASSERT_TRUE(m_server->isServing()) << m_server->errorText().toStdString();
    }
    void TearDown() override
    {
        // Whatever a test sent, the server is still there and answering.
        ASSERT_TRUE(m_server->isRunning());
        RawTcpClient probe(port());
        EXPECT_EQ(8 + 8 * expectedCount, RequestSample(probe, expectedCount).size());
    }
    int port() const { return m_server->port(); }

    std::unique_ptr<ServerProcess> m_server;
    int expectedCount = 0;
};

TEST_F(ServerTcpProcess, AnswersBeforeAnyLayoutWithTheTimeAlone)
{
    RawTcpClient client(port());
    const QByteArray answer = RequestSample(client, 0);
    ASSERT_EQ(8, answer.size());
    EXPECT_EQ(0.0, TimeOf(answer));
    EXPECT_TRUE(client.staysSilent());
}

TEST_F(ServerTcpProcess, AThreeNameLayoutIsAnsweredWith32Bytes)
{
    RawTcpClient client(port());
    const QByteArray layout = LayoutMessage("/data/plant.mvx", {"PRESSURE", "FLOW", "TEMP"});
    ASSERT_EQ(364, layout.size());
    ASSERT_TRUE(client.send(layout));
    EXPECT_TRUE(client.staysSilent());  // a layout is not answered
    const QByteArray answer = RequestSample(client, 3);
    ASSERT_EQ(32, answer.size());
    // Outside simulate mode the sample does not change from its zeros.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0.0, ValueAt(answer, i));
    }
    EXPECT_TRUE(client.staysSilent());
    expectedCount = 3;
}

TEST_F(ServerTcpProcess, TwoClientsShareOneLayout)
{
    RawTcpClient first(port());
    RawTcpClient second(port());
    // Requests on two connections are answered in the order they arrive, so
    // each client first sees its own layout in force.
    ASSERT_TRUE(first.send(LayoutMessage("/data/SIMULATE.mvx", {"COS1", "SIN1", "RAN1"})));
    ASSERT_EQ(32, RequestSample(first, 3).size());
    QByteArray answer = RequestSample(second, 3);
    ASSERT_EQ(32, answer.size());
    EXPECT_GE(TimeOf(answer), 0.0);
    EXPECT_LT(TimeOf(answer), 86400.0);

    ASSERT_TRUE(second.send(LayoutMessage("/data/SIMULATE.mvx", {"A", "B", "C", "D", "E"})));
    ASSERT_EQ(48, RequestSample(second, 5).size());
    EXPECT_EQ(48, RequestSample(first, 5).size());
    // Each request is answered on its own connection only.
    EXPECT_TRUE(second.staysSilent());
    expectedCount = 5;
}

TEST_F(ServerTcpProcess, InvalidCountsClearTheLayout)
{
    RawTcpClient client(port());
    for (std::int32_t count : {601, -1, 2147483647}) {
        ASSERT_TRUE(client.send(LayoutMessage("/data/plant.mvx", {"A", "B"})));
        ASSERT_EQ(24, RequestSample(client, 2).size());
        QByteArray header(1 + link::kLayoutHeaderBytes, '\0');
        header[0] = link::kLayoutCommand;
        link::WriteInt32(header.data() + 1 + link::kCountOffset, count);
        // Bytes that come with the refused header are dropped, a request
        // among them too.
        ASSERT_TRUE(client.send(header + QByteArray(40, 'n') + "?"));
        EXPECT_TRUE(client.staysSilent()) << count;
        EXPECT_EQ(8, RequestSample(client, 0).size()) << count;
    }
}

TEST_F(ServerTcpProcess, MessagesAreFramedWholeAcrossAndWithinReads)
{
    RawTcpClient client(port());
    const QByteArray layout = LayoutMessage("/data/plant.mvx", {"A", "B", "C", "D"});

    // Split anywhere, a layout is joined; the request after it sees it. The
    // server reads the first part on its own before the rest is sent.
    for (int cut : {1, 200, 265, 300}) {
        ASSERT_TRUE(client.send(layout.left(cut)));
        ASSERT_TRUE(client.waitUntilPeerHasRead()) << cut;
        ASSERT_TRUE(client.send(layout.mid(cut)));
        EXPECT_EQ(40, RequestSample(client, 4).size()) << cut;
    }

    // Two requests sent together get two answers.
    ASSERT_TRUE(client.send("??"));
    EXPECT_EQ(80, client.receive(80).size());

    // A layout and a request in one send: the answer follows the new layout.
    ASSERT_TRUE(client.send(LayoutMessage("/data/plant.mvx", {"A"}) + "?"));
    EXPECT_EQ(16, client.receive(16).size());
    EXPECT_TRUE(client.staysSilent());

    // What begins no known message is dropped unanswered.
    ASSERT_TRUE(client.send("x??"));
    EXPECT_TRUE(client.staysSilent());
    EXPECT_EQ(16, RequestSample(client, 1).size());
    expectedCount = 1;
}

TEST_F(ServerTcpProcess, TheMeasurementFileNameSwitchesSimulateMode)
{
    // A name of no generator gets a fresh draw on every request while
    // simulate mode is on; outside it the values stand still.
    RawTcpClient client(port());
    auto simulating = [&client](const QByteArray& path) {
        if (!client.send(LayoutMessage(path, {"PRESSURE", "LEVEL"}))) {
            return false;
        }
        const QByteArray first = RequestSample(client, 2);
        const QByteArray second = RequestSample(client, 2);
        return first.size() == 24 && second.size() == 24 && first.mid(8) != second.mid(8);
    };
    struct Case {
        const char* path;
        bool simulating;
    };
    const Case cases[] = {
        {"C:\\DATA\\SIMULATE.MVX", true},  {"/data/plant.mvx", false},
        {"/data/MYSIMULATE.mvx", true},     {"/data/SIM.mvx", false},
        {"/data/v1.0/SIMULATE.mvx", true},  {"", true},  // an empty path changes nothing
        {"/data/plant", false},               {"/data/simulate", true},  // no extension: the whole name
        {"/data/Simulate.dsp.mvx", true},    {"", true},
        {"/data/plant.mvx", false},          {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.simulating, simulating(c.path)) << c.path;
    }
    expectedCount = 2;
}

TEST_F(ServerTcpProcess, SimulatedGeneratorsFeedTheirNames)
{
    RawTcpClient client(port());
    ASSERT_TRUE(client.send(LayoutMessage("/data/SIMULATE.mvx", {"COS1", "SQR1", "RAN1", "RAN2"})));
    const QByteArray first = RequestSample(client, 4);
    ASSERT_EQ(40, first.size());
    // The generators step on the server's clock: ask until a step has come.
    QByteArray later;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            later = RequestSample(client, 4);
            return later.size() != 40 || ValueAt(later, 0) != ValueAt(first, 0);
        },
        vexa::test::kWaitTimeoutMs));
    ASSERT_EQ(40, later.size());
    EXPECT_NE(ValueAt(first, 0), ValueAt(later, 0));  // the cosine moved
    EXPECT_GE(ValueAt(later, 0), -100.0);
    EXPECT_LE(ValueAt(later, 0), 100.0);
    // Two names of the same generator read the same output.
    EXPECT_EQ(ValueAt(later, 2), ValueAt(later, 3));
    EXPECT_LE(std::abs(ValueAt(later, 2)), 100.0);
    expectedCount = 4;
}

TEST_F(ServerTcpProcess, BadInputNeitherStopsNorStarvesTheOthers)
{
    RawTcpClient steady(port());
    ASSERT_TRUE(steady.send(LayoutMessage("/data/SIMULATE.mvx", {"COS1", "SIN1"})));
    ASSERT_EQ(24, RequestSample(steady, 2).size());

    {
        // A stream of random bytes.
        RawTcpClient noisy(port());
        QByteArray noise(1 << 20, '\0');
        QRandomGenerator random(7);
        for (char& byte : noise) {
            byte = char(random.bounded(256));
            if (byte == link::kLayoutCommand || byte == link::kSampleRequest) {
                byte = 0;  // keep the shared layout as it is for the checks below
            }
        }
        ASSERT_TRUE(noisy.send(noise));
        EXPECT_EQ(24, RequestSample(steady, 2).size());
    }
    {
        // A header cut short, then the connection closes.
        RawTcpClient cut(port());
        ASSERT_TRUE(cut.send(LayoutMessage("/data/plant.mvx", {"A", "B"}).left(100)));
        cut.close();
        EXPECT_EQ(24, RequestSample(steady, 2).size());
    }
    {
        // A client that connects and never sends, and one that asks and
        // never reads its answers.
        RawTcpClient silent(port());
        RawTcpClient deaf(port());
        ASSERT_TRUE(deaf.send(QByteArray(200000, link::kSampleRequest)));
        EXPECT_EQ(24, RequestSample(steady, 2).size());
        deaf.reset();
    }
    // A thousand connections opened and closed, a hundred at a time.
    for (int round = 0; round < 10; ++round) {
        std::vector<std::unique_ptr<RawTcpClient>> crowd;
        for (int i = 0; i < 100; ++i) {
            crowd.push_back(std::make_unique<RawTcpClient>(port()));
        }
        EXPECT_EQ(24, RequestSample(steady, 2).size()) << round;
        for (std::size_t i = 0; i < crowd.size(); ++i) {
            if (i % 2 == 0) {
                crowd[i]->reset();
            } else {
                crowd[i]->close();
            }
        }
    }
    EXPECT_EQ(24, RequestSample(steady, 2).size());
    expectedCount = 2;
}

}  // namespace
}  // namespace vexa::server::test

namespace vexa::server::test {
namespace {

TEST(ServerBusProcess, ServesConversationsOnTheSessionBus)
{
    ServerProcess server(0);
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    BusClient client;
    const uint conversation = client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("Vexa-Display"));
    ASSERT_NE(0u, conversation);

    QDBusMessage reply = client.request(conversation, QStringLiteral("VEXAData"));
    ASSERT_EQ(QDBusMessage::ReplyMessage, reply.type()) << reply.errorMessage().toStdString();
    EXPECT_EQ(8, reply.arguments().value(0).toByteArray().size());

    const QByteArray layout = LayoutMessage("/data/SIMULATE.mvx", {"COS1", "SIN1", "RAN1"}).mid(1);
    reply = client.poke(conversation, QStringLiteral("VEXAControl"), layout);
    EXPECT_EQ(link::kPokeAcknowledged, reply.arguments().value(0).toUInt());
    reply = client.request(conversation, QStringLiteral("VEXAData"));
    const QByteArray sample = reply.arguments().value(0).toByteArray();
    ASSERT_EQ(32, sample.size());
    EXPECT_GE(link::ReadDouble(sample.constData()), 0.0);  // simulate mode stamps the time

    EXPECT_EQ(QString(link::kBusNoDataError),
              client.request(conversation, QStringLiteral("Nothing")).errorName());
    client.call(QStringLiteral("Disconnect"), {conversation});
    EXPECT_EQ(QDBusMessage::ErrorMessage, client.request(conversation, QStringLiteral("VEXAData")).type());
    EXPECT_TRUE(server.isRunning());
}

TEST(ServerEnd, SigtermWithClientsConnectedEndsItAtOnceWithItsLogComplete)
{
    /// How soon a server asked to end by the session must have ended.
    constexpr qint64 kEndWithinMs = 2000;
    vexa::test::ScratchDir dir;
    const QString logFile = QString::fromStdString(dir.path("server.log"));
    ServerProcess server(FreePort(), {QStringLiteral("--log-file"), logFile});
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    RawTcpClient first(server.port());
    RawTcpClient second(server.port());
    ASSERT_TRUE(first.send(LayoutMessage("/data/SIMULATE.mvx", {"COS1"})));
    EXPECT_EQ(16, RequestSample(second, 1).size());

    EXPECT_TRUE(server.stop(kEndWithinMs));
    EXPECT_TRUE(server.endedWithSuccess());
    QFile log(logFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().endsWith(QByteArray(ServerWindow::kStoppedLine) + '\n'));
}

}  // namespace
}  // namespace vexa::server::test
