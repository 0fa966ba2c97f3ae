// The bus transport in this process, called by a client on a connection of
// its own to the test's session bus.

#include "TransportTestSupport.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/WireFormat.h"
#include "server/DdeServer.h"
#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::server::test {
namespace {

QByteArray LayoutData(const QByteArray& path, const QList<QByteArray>& names)
{
    return LayoutMessage(path, names).mid(1);
}

class DdeServerInProcess : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    RecordingLog log;
    SampleEngine engine{log, kDataPathDde};
    DdeServer server{engine, log};
};

TEST_F(DdeServerInProcess, AcceptsAnyTopicAndRefusesAnotherService)
{
    EXPECT_EQ(QStringList{QStringLiteral("DDE Services initialized")}, log.texts);
    BusClient client;
    EXPECT_NE(0u, client.connect(QStringLiteral("vexa-com"), QStringLiteral("Anything")));
    EXPECT_TRUE(log.contains(QStringLiteral("DDE connection established with client.")));
    EXPECT_TRUE(server.hasConversation());

    log.texts.clear();
    const QDBusMessage refused =
        client.call(QStringLiteral("Connect"), {QStringLiteral("Other"), QStringLiteral("VEXA-Display")});
    EXPECT_EQ(QDBusMessage::ErrorMessage, refused.type());
    EXPECT_EQ(QString(link::kBusRefusedError), refused.errorName());
    EXPECT_EQ(QStringList{QStringLiteral("XTYP_CONNECT: hsz2 != hszService")}, log.texts);
}

TEST_F(DdeServerInProcess, PokesAreProcessedOnlyUnderTheTopicAndControlItem)
{
    BusClient client;
    const uint right = client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("Vexa-Display"));
    const uint wrong = client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("Other"));
    const QByteArray layout = LayoutData("C:\\DATA\\SIMULATE.MVX", {"COS1", "SIN1", "TRI1"});

    auto result = [](const QDBusMessage& reply) { return reply.arguments().value(0).toUInt(); };
    EXPECT_EQ(0u, result(client.poke(wrong, QStringLiteral("VEXAControl"), layout)));
    EXPECT_EQ(0u, result(client.poke(right, QStringLiteral("VEXAData"), layout)));
    EXPECT_EQ(0, engine.layout().count());
    EXPECT_FALSE(engine.isSimulating());

    EXPECT_EQ(link::kPokeAcknowledged, result(client.poke(right, QStringLiteral("vexacontrol"), layout)));
    EXPECT_EQ(3, engine.layout().count());
    EXPECT_TRUE(engine.isSimulating());
    EXPECT_TRUE(log.contains(QStringLiteral("\nDDE: Measurement list received from client:")));

    // A poke longer than the block is cut at its size.
    EXPECT_EQ(link::kPokeAcknowledged,
              result(client.poke(right, QStringLiteral("VEXAControl"), layout + QByteArray(30000, 'x'))));
}

TEST_F(DdeServerInProcess, RequestsAnswerBothItemsWhateverTheTopic)
{
    BusClient client;
    const uint conversation = client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("Other"));
    QDBusMessage sample = client.request(conversation, QStringLiteral("VEXAData"));
    ASSERT_EQ(QDBusMessage::ReplyMessage, sample.type());
    EXPECT_EQ(8, sample.arguments().value(0).toByteArray().size());

    const uint display = client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("VEXA-Display"));
    client.poke(display, QStringLiteral("VEXAControl"), LayoutData("/data/plant.mvx", {"A", "B", "C"}));
    sample = client.request(conversation, QStringLiteral("vexadata"));
    EXPECT_EQ(32, sample.arguments().value(0).toByteArray().size());

    const QByteArray block = client.request(conversation, QStringLiteral("VEXAControl")).arguments().value(0).toByteArray();
    ASSERT_EQ(link::kServerLayoutBytes, block.size());
    EXPECT_EQ(3, link::ReadInt32(block.constData() + link::kCountOffset));

    log.texts.clear();
    const QDBusMessage none = client.request(conversation, QStringLiteral("Other"));
    EXPECT_EQ(QDBusMessage::ErrorMessage, none.type());
    EXPECT_EQ(QString(link::kBusNoDataError), none.errorName());
    EXPECT_EQ(QStringList{QStringLiteral("Could not create data handle.")}, log.texts);

    // A conversation that was never opened gets no data.
    EXPECT_EQ(QDBusMessage::ErrorMessage, client.request(9999, QStringLiteral("VEXAData")).type());
}

TEST_F(DdeServerInProcess, DisconnectingOrVanishingForgetsTheConversation)
{
    {
        BusClient client;
        const uint conversation = client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("VEXA-Display"));
        log.texts.clear();
        client.call(QStringLiteral("Disconnect"), {conversation});
        EXPECT_EQ(QStringList{QStringLiteral("The client has disconnected.")}, log.texts);
        EXPECT_FALSE(server.hasConversation());
        EXPECT_EQ(QDBusMessage::ErrorMessage, client.request(conversation, QStringLiteral("VEXAData")).type());

        client.connect(QStringLiteral("VEXA-Com"), QStringLiteral("VEXA-Display"));
        EXPECT_TRUE(server.hasConversation());
        log.texts.clear();
    }
    // The client's bus connection went with it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !server.hasConversation(); }, 5000));
    EXPECT_EQ(QStringList{QStringLiteral("The client has disconnected.")}, log.texts);
}

TEST_F(DdeServerInProcess, ASecondServerCannotTakeTheName)
{
    RecordingLog otherLog;
    SampleEngine otherEngine{otherLog, kDataPathDde};
    DdeServer other{otherEngine, otherLog};
    EXPECT_FALSE(other.start());
    EXPECT_EQ(QStringList{QStringLiteral("DDE Initialization error")}, otherLog.texts);
}

}  // namespace
}  // namespace vexa::server::test
