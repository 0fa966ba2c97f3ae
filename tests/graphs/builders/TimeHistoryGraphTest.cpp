#include "GraphPage.h"

#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/Toolkit.h"

#include <gtest/gtest.h>

#include <optional>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::CountPixelsNear;
using test::GraphPage;
using toolkit::RealTimeDataset;

constexpr double kSampleSeconds = 0.05;

TEST(TimeHistoryGraph, TheScrollFractionShrinksWithTheMeasurementCount)
{
    const std::pair<int, double> cases[] = {{1, 0.99}, {2, 0.99}, {3, 0.93}, {8, 0.83}};
    for (const auto& [count, fraction] : cases)
        EXPECT_DOUBLE_EQ(ScrollFraction(count), fraction) << count << " measurements";
}

/// The intake alone: a state without a chart.
class TimeHistoryIntake : public ::testing::Test {
protected:
    TimeHistoryIntake() { m_resources.state = std::make_unique<TimeHistoryState>(); }

    /// The time difference appended for \p timeStamp, or nothing when the
    /// sample is dropped.
    std::optional<double> take(double timeStamp)
    {
        const double values[] = {1.5, -2.0};
        std::vector<double> row;
        if (!TakeTimeHistorySample(m_resources, values, timeStamp, row))
            return std::nullopt;
        EXPECT_EQ(row.size(), 3u);
        EXPECT_EQ(row[0], 1.5);
        EXPECT_EQ(row[1], -2.0);
        return row.back();
    }

    GraphResources m_resources;
};

TEST_F(TimeHistoryIntake, DropsRepeatedAndEarlierTimeStampsAndMeasuresFromTheLastOne)
{
    // The first sample's difference is its whole time of day.
    EXPECT_EQ(take(36000.0), 36000.0);
    EXPECT_EQ(take(36001.0), 1.0);
    EXPECT_EQ(take(36001.0), std::nullopt);
    EXPECT_EQ(take(36000.5), std::nullopt);
    // The earlier stamp became the last sample time.
    EXPECT_EQ(take(36001.0), 0.5);
    EXPECT_DOUBLE_EQ(TimeHistoryStateOf(m_resources)->lastSampleTime, 36001.0);
}

TEST_F(TimeHistoryIntake, TheFirstSampleAfterMidnightIsDroppedAndTheNextContinues)
{
    EXPECT_EQ(take(86399.75), 86399.75);
    EXPECT_EQ(take(0.25), std::nullopt);
    EXPECT_EQ(take(0.5), 0.25);
}

TEST_F(TimeHistoryIntake, DoesNothingWithoutAState)
{
    m_resources.state.reset();
    const double values[] = {1.0};
    std::vector<double> row = {7.0};
    EXPECT_FALSE(TakeTimeHistorySample(m_resources, values, 10.0, row));
}

/// A history dataset as the main chart creates it: \p count value channels
/// and the time differences last.
std::unique_ptr<RealTimeDataset> HistoryDataset(int count)
{
    auto dataset = std::make_unique<RealTimeDataset>("", count + 1, std::vector<std::string>{},
                                                     RealTimeDataset::kHistoryRows);
    dataset->setTimeChannel(count);
    return dataset;
}

void Append(std::unique_ptr<RealTimeDataset>& dataset, std::vector<double> row)
{
    dataset->append(row);
}

TEST(HistoryExtraction, ElapsedTimesAreARunningSumFromTheFirstSamplesOwnDifference)
{
    auto dataset = HistoryDataset(2);
    Append(dataset, {1.0, 10.0, 36000.0});
    Append(dataset, {-3.0, 12.0, 0.05});
    Append(dataset, {2.0, 11.0, 0.05});
    Append(dataset, {4.0, 9.0, 0.1});
    TimeHistoryState state;
    int points = -1;
    ASSERT_TRUE(ExtractHistory(*dataset, 2, state, points));
    ASSERT_EQ(points, 4);
    const double times[] = {36000.0, 36000.05, 36000.1, 36000.2};
    for (int i = 0; i < points; ++i)
        EXPECT_NEAR(state.historyTimes[i], times[i], 1e-9) << i;
    EXPECT_EQ(state.historyValues[0][1], -3.0);
    EXPECT_EQ(state.historyValues[1][3], 9.0);
    EXPECT_DOUBLE_EQ(state.historyTimeMinimum, 36000.0);
    EXPECT_NEAR(state.historyTimeMaximum, 36000.2, 1e-9);
    EXPECT_DOUBLE_EQ(state.historyValueMinimum, -3.0);
    EXPECT_DOUBLE_EQ(state.historyValueMaximum, 12.0);
}

TEST(HistoryExtraction, FailsWithFewerThanTwoSamples)
{
    for (int rows = 0; rows < 2; ++rows) {
        auto dataset = HistoryDataset(1);
        for (int i = 0; i < rows; ++i)
            Append(dataset, {5.0, 100.0});
        TimeHistoryState state;
        int points = -1;
        EXPECT_FALSE(ExtractHistory(*dataset, 1, state, points)) << rows << " rows";
        EXPECT_EQ(points, 0);
    }
}

TEST(HistoryExtraction, KeepsTheNewest4000StartingAtTheFirstKeptSamplesOwnDifference)
{
    constexpr int kRows = 4500;
    constexpr int kDropped = kRows - RealTimeDataset::kHistoryRows;
    auto dataset = HistoryDataset(1);
    // Row i carries the value i and the difference i (the first row 1000).
    Append(dataset, {0.0, 1000.0});
    for (int i = 1; i < kRows; ++i)
        Append(dataset, {static_cast<double>(i), static_cast<double>(i)});
    TimeHistoryState state;
    int points = 0;
    ASSERT_TRUE(ExtractHistory(*dataset, 1, state, points));
    ASSERT_EQ(points, RealTimeDataset::kHistoryRows);
    EXPECT_EQ(state.historyTimes[0], kDropped);
    EXPECT_EQ(state.historyTimes[1], kDropped + (kDropped + 1));
    double sum = 0.0;
    for (int i = kDropped; i < kRows; ++i)
        sum += i;
    EXPECT_DOUBLE_EQ(state.historyTimes[points - 1], sum);
    EXPECT_DOUBLE_EQ(state.historyTimeMinimum, kDropped);
    EXPECT_DOUBLE_EQ(state.historyValueMinimum, kDropped);
    EXPECT_DOUBLE_EQ(state.historyValueMaximum, kRows - 1);
}

TEST(HistoryExtraction, AValueThatNeverChangesStillGetsAScale)
{
    auto dataset = HistoryDataset(1);
    Append(dataset, {7.0, 100.0});
    Append(dataset, {7.0, 1.0});
    TimeHistoryState state;
    int points = 0;
    ASSERT_TRUE(ExtractHistory(*dataset, 1, state, points));
    EXPECT_LT(state.historyValueMinimum, 7.0);
    EXPECT_GT(state.historyValueMaximum, 7.0);
}

class TimeHistoryPage : public ::testing::Test {
protected:
    TimeHistoryPage()
        : m_page(kTimeHistory, {{"PRESSURE", 0, 100}, {"LEVEL", 0, 100}},
                 "TF=Liberation Sans,12,1,2\r\nLF=Liberation Sans,8,0,1\r\nA2=1,12,High,60\r\nDC2=14\r\n")
    {
    }

    /// Rows every 50 ms from 10:00 on, long enough to scroll.
    void feedSeconds(double seconds, double first, double second)
    {
        const int rows = static_cast<int>(seconds / kSampleSeconds);
        for (int i = 0; i < rows; ++i) {
            m_page.feed({first, second}, m_time);
            m_time += kSampleSeconds;
        }
    }

    GraphPage m_page;
    double m_time = 36000.0;
};

TEST_F(TimeHistoryPage, BuildsBothDatasetsWithTheGraphsAlarms)
{
    m_page.render();
    const GraphResources& resources = m_page.resources();
    const TimeHistoryState* history = TimeHistoryStateOf(resources);
    ASSERT_NE(history, nullptr);
    ASSERT_NE(resources.dataset, nullptr);
    EXPECT_EQ(resources.dataset->channelCount(), 3);
    EXPECT_EQ(resources.dataset->timeChannel(), 2);
    EXPECT_EQ(resources.dataset->appendedRows(), 0);
    ASSERT_NE(history->currentValues, nullptr);
    EXPECT_EQ(history->currentValues->channelCount(), 2);
    EXPECT_TRUE(history->firstSamplePending);
    EXPECT_TRUE(resources.dataset->isAlarmEnabled(toolkit::kLevelHigh));
    EXPECT_DOUBLE_EQ(resources.dataset->alarmLimit(toolkit::kLevelHigh), 60.0);
    EXPECT_FALSE(resources.dataset->isAlarmEnabled(toolkit::kLevelLow));

    m_page.feed({1.0, 2.0}, 36000.0);
    EXPECT_FALSE(history->firstSamplePending);
    EXPECT_EQ(resources.dataset->appendedRows(), 1);
    EXPECT_EQ(history->currentValues->latest(1), 2.0);
}

TEST_F(TimeHistoryPage, ShowsTheTitleAtTheTopCentre)
{
    const QImage image = m_page.render();
    ASSERT_FALSE(image.isNull());
    const QColor green = toolkit::PaletteColour(kGreen);
    EXPECT_GT(CountPixelsNear(image, 0.35, 0.0, 0.65, 0.08, green), 20);
    EXPECT_EQ(CountPixelsNear(image, 0.0, 0.0, 0.25, 0.08, green), 0);
    EXPECT_EQ(CountPixelsNear(image, 0.75, 0.0, 1.0, 0.08, green), 0);
}

TEST_F(TimeHistoryPage, DrawsEachTraceInItsDataColourNearTheNewestPoint)
{
    m_page.render();
    feedSeconds(30.0, 50.0, 25.0);
    const QImage image = m_page.render();
    // The plot spans 0.1 ... 0.8 across and 0.1 ... 0.9 down on 0 ... 100;
    // once scrolled, the newest row sits at 0.99 of the plot's width.
    const QColor red = toolkit::PaletteColour(kRed);
    const QColor yellow = toolkit::PaletteColour(kYellow);
    EXPECT_GT(CountPixelsNear(image, 0.70, 0.47, 0.80, 0.53, red), 10);
    EXPECT_GT(CountPixelsNear(image, 0.70, 0.67, 0.80, 0.73, yellow), 10);
    EXPECT_EQ(CountPixelsNear(image, 0.70, 0.67, 0.80, 0.73, red), 0);
}

TEST_F(TimeHistoryPage, ShowsACurrentValueInItsAlarmColour)
{
    m_page.render();
    const QColor lightRed = toolkit::PaletteColour(kLightRed);
    feedSeconds(1.0, 20.0, 20.0);
    const int normal = CountPixelsNear(m_page.render(), 0.895, 0.15, 0.99, 0.8, lightRed);
    feedSeconds(1.0, 80.0, 20.0);
    const int high = CountPixelsNear(m_page.render(), 0.895, 0.15, 0.99, 0.8, lightRed);
    EXPECT_EQ(normal, 0);
    EXPECT_GT(high, 10);
}

}  // namespace
}  // namespace vexa::graphs
