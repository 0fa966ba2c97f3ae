// A real vexalink started with faults on its command line, read by a TCP
// client as the display reads it.

#include "../inputs/InputTestSupport.h"

#include "support/ServerProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vexa::server::test {
namespace {

/// How long the server may take to show a fault's effect: a drift of 1000
/// units per second needs a few of the generators' 100 ms ticks.
constexpr int kEffectMs = 5000;

TEST(FaultProcess, AClientReadsTheFaultsValuesAndTheOtherNamesAsTheyWere)
{
    vexa::test::ServerProcess server(QStringLiteral(VEXALINK_PATH), vexa::test::FreePort(),
                                     {"--fault", "SIN_GONE:dropout=1,86400", "--fault=cos*:drift=1000",
                                      "--fault-seed", "3"});
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    SampleClient client(server.port());
    ASSERT_TRUE(client.SendLayout("/data/SIMULATE.mvx", {"SIN_GONE", "SIN1", "COS1", "TRI1"}));

    // The generators never leave -100 to 100; a cosine past 150 is the drift.
    EXPECT_TRUE(client.WaitFor([](const auto& values) { return values.size() == 4 && Number(values[2]) > 150.0; },
                               kEffectMs));
    for (int request = 0; request < 20; ++request) {
        const std::vector<QByteArray> values = client.Sample();
        ASSERT_EQ(values.size(), 4u);
        EXPECT_TRUE(IsNan(values[0])) << "a dropout that never ends";
        EXPECT_LE(std::fabs(Number(values[1])), 100.0);
        EXPECT_LE(std::fabs(Number(values[3])), 100.0);
    }
    EXPECT_TRUE(server.isRunning());
}

}  // namespace
}  // namespace vexa::server::test
