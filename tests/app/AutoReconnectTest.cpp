#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/FrameStatusBar.h"
#include "banner/Banner.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "link/client/AutoReconnect.h"
#include "platform/SettingsLocation.h"
#include "support/RawTcpListener.h"
#include "support/ServerProcess.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vexa::test {
namespace {

/// Room for a server to start and for the graphs to take their samples.
constexpr int kLiveWaitMs = 30000;
/// Kills and restarts of the server.
constexpr int kOutages = 2;
constexpr int kRowsWanted = 3;

const int kAutoReconnect = app::CommandId(app::FrameCommand::ReconnectAutomatically);

QString ConnectionText(const app::FrameWindow& frame)
{
    return StatusBarOf(frame).partText(app::FrameStatusBar::kConnectionPart);
}

QString Countdown(int seconds)
{
    return QString::fromLatin1(link::AutoReconnect::kCountdownText).arg(seconds);
}

int AppendedRows(const app::FrameWindow& frame)
{
    const graphs::GraphResources* resources = ResourcesOf(frame, 0);
    return resources != nullptr && resources->dataset != nullptr ? int(resources->dataset->appendedRows()) : 0;
}

TEST(AutoReconnect, AKilledServerStartedAgainFeedsTheGraphAfterOneBoxPerOutage)
{
    const int port = FreePort();
    auto server = std::make_unique<ServerProcess>(QStringLiteral(VEXALINK_PATH), port);
    ASSERT_TRUE(server->isServing()) << server->errorText().toStdString();
    WriteSettings(ServerSettings(port));
    ScriptedMessages messages;
    ScratchDir dir;
    const std::string path = WriteDocument(dir, "SIMULATE.dsp", "[W1]\r\nT=Waves\r\nUP=100\r\nM1=SINE_A\r\n",
                                           "[SINE_A]\r\nL=-100\r\nH=100\r\n");
    auto frame = StartFrame();
    CloseBanner();
    ASSERT_FALSE(IsItemChecked(*frame, kAutoReconnect)) << "off unless chosen";
    frame->SendCommand(kAutoReconnect);
    EXPECT_TRUE(IsItemChecked(*frame, kAutoReconnect));
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    frame->SendCommand(app::kFirstGraphCommand);
    ASSERT_TRUE(QTest::qWaitFor([&] { return HasDrawnRows(*frame, 0, kRowsWanted); }, kLiveWaitMs));

    for (int outage = 1; outage <= kOutages; ++outage) {
        SCOPED_TRACE(outage);
        server->kill();
        // The failure is told once; the first try finds no server, so the
        // second waits twice as long and counts down.
        ASSERT_TRUE(QTest::qWaitFor([&] { return ConnectionText(*frame) == Countdown(2); }, kLiveWaitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ConnectionText(*frame) == Countdown(1); }, kLiveWaitMs));
        EXPECT_EQ(messages.boxes().size(), std::size_t(outage));
        EXPECT_TRUE(messages.boxes().back().text.endsWith(QString::fromLatin1(link::DataLink::kFailureText)));

        server.reset();
        server = std::make_unique<ServerProcess>(QStringLiteral(VEXALINK_PATH), port);
        ASSERT_TRUE(server->isServing()) << server->errorText().toStdString();
        const int before = AppendedRows(*frame);
        // The layout goes first: the new server's answers carry the value.
        ASSERT_TRUE(QTest::qWaitFor([&] { return AppendedRows(*frame) >= before + kRowsWanted; }, kLiveWaitMs));
        EXPECT_TRUE(frame->probe().link.isConnected());
        EXPECT_EQ(frame->probe().link.expectedLength(), 16);
        EXPECT_EQ(ConnectionText(*frame), QStringLiteral("Connected to ethernet server '127.0.0.1:%1'").arg(port));
        EXPECT_EQ(messages.boxes().size(), std::size_t(outage));
    }
    frame.reset();

    // The choice is kept for the next start.
    auto next = StartFrame();
    CloseBanner();
    EXPECT_TRUE(IsItemChecked(*next, kAutoReconnect));
    EXPECT_NE(ReadFileBytes(SettingsFilePath()).find("ReconnectAutomatically=1"), std::string::npos);
}

}  // namespace
}  // namespace vexa::test
