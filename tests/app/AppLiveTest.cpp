#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "banner/Banner.h"
#include "document/GraphTable.h"
#include "document/DisplayFormat.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "support/RawTcpListener.h"
#include "support/ServerProcess.h"
#include "support/TestRecording.h"

#include <QMdiArea>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace vexa::test {
namespace {

/// Generous room for the server's simulation to feed every graph.
constexpr int kLiveWaitMs = 30000;
constexpr int kRowsWanted = 5;
constexpr double kFullScale = 100.0;
/// The converted sine: 1000 + 2 x.
constexpr double kOffset = 1000.0;
constexpr double kSlope = 2.0;
constexpr double kTolerance = 1e-6;

/// The measurement file's name puts the server into its simulation; each
/// name's first three letters pick its generator.
const char* const kDisplay = "[W1]\r\nT=Waves\r\nUP=100\r\nM1=COS1\r\nM2=SINE_A\r\n"
                             "[W2]\r\nT=Square\r\nUP=100\r\nM1=SQR1\r\n"
                             "[W3]\r\nT=Scaled\r\nUP=100\r\nM1=SIN_K\r\nM2=TRI1\r\n"
                             "[V1]\r\nT=Live\r\nW1=Waves\r\nW2=Square\r\nW3=Scaled\r\n";
const char* const kMeasurements = "[COS1]\r\nL=-100\r\nH=100\r\n[SINE_A]\r\nL=-100\r\nH=100\r\n[SQR1]\r\n"
                                  "[SIN_K]\r\nE=Coefficients\r\n0=1000\r\n1=2\r\n[TRI1]\r\nL=-100\r\nH=100\r\n";

const toolkit::RealTimeDataset* DatasetOf(app::FrameWindow& frame, int index)
{
    const graphs::GraphResources* resources = ResourcesOf(frame, index);
    return resources != nullptr ? resources->dataset.get() : nullptr;
}

constexpr QSize kDemoScreen(1280, 1024);

std::string ExampleFile(const char* name)
{
    std::ifstream in(std::string(VEXA_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool HasRows(app::FrameWindow& frame, int index)
{
    const toolkit::RealTimeDataset* dataset = DatasetOf(frame, index);
    return dataset != nullptr && dataset->rowCount() >= kRowsWanted;
}

TEST(Live, AViewOfThreeGraphsShowsTheServersSimulatedSignals)
{
    ServerProcess server(QStringLiteral(VEXALINK_PATH), FreePort());
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    WriteSettings(ServerSettings(server.port()));
    ScriptedMessages messages;
    ScratchDir dir;
    const std::string path = WriteDocument(dir, "SIMULATE.dsp", kDisplay, kMeasurements);

    auto frame = StartFrame();
    CloseBanner();
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    frame->SendCommand(app::kFirstViewCommand);
    ASSERT_EQ(MdiAreaOf(*frame).subWindowList().size(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return HasRows(*frame, 0) && HasRows(*frame, 1) && HasRows(*frame, 2); },
                                kLiveWaitMs));
    EXPECT_TRUE(frame->probe().link.isConnected());

    // Cosine and sine of one angle, in one sample: on the circle of 100.
    const toolkit::RealTimeDataset& waves = *DatasetOf(*frame, 0);
    std::set<double> sines;
    for (int row = 0; row < waves.rowCount(); ++row) {
        const double cosine = waves.value(row, 0);
        const double sine = waves.value(row, 1);
        // Every generator reads 0 until its first step, 100 ms after the
        // layout switched simulate mode on; the first fetches may come sooner.
        if (sines.empty() && cosine == 0.0 && sine == 0.0)
            continue;
        EXPECT_NEAR(std::hypot(cosine, sine), kFullScale, kTolerance * kFullScale) << row;
        sines.insert(sine);
    }
    EXPECT_GT(sines.size(), 1u) << "the sine does not change";

    const toolkit::RealTimeDataset& square = *DatasetOf(*frame, 1);
    for (int row = 0; row < square.rowCount(); ++row) {
        const double value = square.value(row, 0);
        EXPECT_TRUE(value == 0.0 || value == kFullScale) << value;
    }

    // Converted with 1000 + 2 x: the raw value lies within the sine's range.
    const toolkit::RealTimeDataset& scaled = *DatasetOf(*frame, 2);
    for (int row = 0; row < scaled.rowCount(); ++row) {
        const double raw = (scaled.value(row, 0) - kOffset) / kSlope;
        EXPECT_LE(std::abs(raw), kFullScale + kTolerance) << scaled.value(row, 0);
        EXPECT_NE(scaled.value(row, 0), 0.0);
        EXPECT_LE(std::abs(scaled.value(row, 1)), kFullScale) << "triangle";
    }
    EXPECT_TRUE(messages.boxes().empty());

    frame.reset();
}

TEST(Live, TheDemosViewFeedsAGraphOfEveryTypeFromTheServer)
{
    ServerProcess server(QStringLiteral(VEXALINK_PATH), FreePort());
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    WriteSettings(ServerSettings(server.port()));
    ScriptedMessages messages;
    ScratchDir dir;
    const std::string path =
        WriteDocument(dir, "SIMULATE.dsp", ExampleFile("SIMULATE.dsp"), ExampleFile("SIMULATE.mvx"));

    auto frame = StartFrame();
    CloseBanner();
    // The screen the view is laid out for, so that every window is in sight
    // and paints.
    frame->resize(kDemoScreen);
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    frame->SendCommand(app::kFirstViewCommand);
    ASSERT_EQ(MdiAreaOf(*frame).subWindowList().size(), kGraphTypeCount);

    std::vector<int> open;
    std::set<int> types;
    for (int index = 0; index < kMaxGraphs; ++index) {
        if (frame->probe().graphTable.record(index).window != nullptr) {
            open.push_back(index);
            types.insert(frame->probe().graphTable.record(index).type);
        }
    }
    EXPECT_EQ(types.size(), std::size_t(kGraphTypeCount));
    const auto everyGraphDrew = [&] {
        return std::all_of(open.begin(), open.end(), [&](int index) { return HasDrawnRows(*frame, index, 3); });
    };
    EXPECT_TRUE(QTest::qWaitFor(everyGraphDrew, kLiveWaitMs));
    for (int index : open)
        EXPECT_TRUE(HasDrawnRows(*frame, index, 3)) << "graph W" << index + 1;
    EXPECT_TRUE(frame->probe().link.isConnected());
    EXPECT_TRUE(messages.boxes().empty());

    frame.reset();
}

TEST(Live, AViewShowsTheRecordedValuesOfAReplayingServer)
{
    // Ten times a second for 20 s: TEMP rises by a quarter, PRESS falls by
    // a half; every value is one that only the recording holds.
    constexpr double kStart = 1765270800.0;
    constexpr int kTimes = 200;
    std::vector<RecordedRow> rows;
    std::set<double> temps;
    std::set<double> pressures;
    for (int k = 0; k < kTimes; ++k) {
        const double temp = 20.125 + 0.25 * k;
        const double pressure = 999.875 - 0.5 * k;
        rows.push_back({kStart + 0.1 * k, 0, temp, {}});
        rows.push_back({kStart + 0.1 * k, 1, pressure, {}});
        temps.insert(temp);
        pressures.insert(pressure);
    }
    ScratchDir dir;
    const std::string recording = dir.path("plant.sqlite3");
    ASSERT_EQ(WriteRecording(recording, {"TEMP", "PRESS"}, rows), "");

    ServerProcess server(QStringLiteral(VEXALINK_PATH), FreePort(),
                         {"--replay", QString::fromStdString(recording), "--loop"});
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    WriteSettings(ServerSettings(server.port()));
    ScriptedMessages messages;
    const std::string path = WriteDocument(dir, "PLANT.dsp",
                                           "[W1]\r\nT=Plant\r\nUP=100\r\nM1=TEMP\r\nM2=PRESS\r\n"
                                           "[V1]\r\nT=Replay\r\nW1=Plant\r\n",
                                           "[TEMP]\r\nL=0\r\nH=100\r\n[PRESS]\r\nL=800\r\nH=1000\r\n");
    auto frame = StartFrame();
    CloseBanner();
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    frame->SendCommand(app::kFirstViewCommand);
    ASSERT_EQ(MdiAreaOf(*frame).subWindowList().size(), 1);

    // The graph has shown several recorded times.
    const auto distinctTemps = [&] {
        std::set<double> shown;
        const toolkit::RealTimeDataset* dataset = DatasetOf(*frame, 0);
        for (int row = 0; dataset != nullptr && row < dataset->rowCount(); ++row) {
            if (temps.count(dataset->value(row, 0)) != 0)
                shown.insert(dataset->value(row, 0));
        }
        return shown.size();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return distinctTemps() >= 3 && HasDrawnRows(*frame, 0, kRowsWanted); },
                                kLiveWaitMs));
    // Every row holds recorded values as they were stored, or none yet.
    const toolkit::RealTimeDataset& plant = *DatasetOf(*frame, 0);
    for (int row = 0; row < plant.rowCount(); ++row) {
        const double temp = plant.value(row, 0);
        const double pressure = plant.value(row, 1);
        if (std::isnan(temp) && std::isnan(pressure))
            continue;
        EXPECT_EQ(temps.count(temp), 1u) << row << ": " << temp;
        EXPECT_EQ(pressures.count(pressure), 1u) << row << ": " << pressure;
    }
    EXPECT_TRUE(frame->probe().link.isConnected());
    EXPECT_TRUE(messages.boxes().empty());

    frame.reset();
}

}  // namespace
}  // namespace vexa::test
