#include "graphs/toolkit/RealTimeIndicators.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vexa::toolkit {
namespace {

constexpr int kFull = RealTimeDataset::kHistoryRows;

void appendSingle(RealTimeDataset& dataset, double value)
{
    const std::array<double, 1> row{value};
    dataset.append(row);
}

TEST(RealTimeDataset, TheRowAfterAFullRingDropsTheOldestAndReadsStayOldestFirst)
{
    RealTimeDataset dataset("", 1, {}, kFull);
    for (int i = 1; i <= kFull; ++i) {
        appendSingle(dataset, i);
    }
    EXPECT_EQ(dataset.rowCount(), kFull);
    EXPECT_DOUBLE_EQ(dataset.value(0, 0), 1.0);

    appendSingle(dataset, kFull + 1);
    EXPECT_EQ(dataset.rowCount(), kFull);
    EXPECT_EQ(dataset.appendedRows(), kFull + 1);
    EXPECT_DOUBLE_EQ(dataset.value(0, 0), 2.0);
    EXPECT_DOUBLE_EQ(dataset.latest(0), kFull + 1.0);

    std::vector<double> history(kFull);
    ASSERT_EQ(ReadChannelHistory(dataset, 0, history), kFull);
    for (int i = 0; i < kFull; ++i) {
        ASSERT_DOUBLE_EQ(history[static_cast<std::size_t>(i)], i + 2.0) << "at " << i;
    }
    // A smaller buffer gets the newest values, still oldest first.
    std::array<double, 3> newest{};
    ASSERT_EQ(dataset.readChannel(0, newest.data(), 3), 3);
    EXPECT_EQ(newest, (std::array<double, 3>{kFull - 1.0, kFull, kFull + 1.0}));
}

TEST(RealTimeDataset, ADatasetWithoutHistoryKeepsOnlyTheNewestRow)
{
    for (int history : {0, 1, -5}) {
        RealTimeDataset dataset("", 1, {}, history);
        EXPECT_EQ(dataset.rowCount(), 0);
        EXPECT_DOUBLE_EQ(dataset.latest(0), 0.0) << "before the first row";
        appendSingle(dataset, 7.0);
        appendSingle(dataset, 8.0);
        EXPECT_EQ(dataset.rowCount(), 1) << "history " << history;
        EXPECT_DOUBLE_EQ(dataset.latest(0), 8.0);
        double value = 0.0;
        EXPECT_EQ(dataset.readChannel(0, &value, kFull), 1);
        EXPECT_DOUBLE_EQ(value, 8.0);
    }
}

TEST(RealTimeDataset, EachHeldRowKeepsTheAlarmStatesItWasEvaluatedWith)
{
    // A small ring that wraps, then grows: the states follow their rows.
    RealTimeDataset dataset("", 2, {}, 3);
    dataset.setAlarmLimit(kLevelHigh, 50.0, true, "High");
    dataset.setAlarmLimit(kLevelLow, 10.0, true, "Low");
    const std::vector<std::array<double, 2>> rows = {{60, 20}, {20, 5}, {70, 70}, {5, 20}};
    for (const auto& row : rows)
        dataset.append(row);
    const std::vector<std::array<int, 2>> held = {{kLevelNormal, kLevelLow}, {kLevelHigh, kLevelHigh},
                                                  {kLevelLow, kLevelNormal}};
    const auto expectHeld = [&](int offset) {
        for (int row = 0; row < 3; ++row) {
            for (int channel = 0; channel < 2; ++channel)
                EXPECT_EQ(dataset.alarmStateAt(row + offset, channel), held[row][channel])
                    << "row " << row << " channel " << channel;
        }
    };
    expectHeld(0);
    dataset.reserveHistory(10);
    expectHeld(0);
    dataset.append(std::array<double, 2>{55, 55});
    EXPECT_EQ(dataset.alarmStateAt(3, 0), kLevelHigh);
    expectHeld(0);
    EXPECT_EQ(dataset.alarmStateAt(4, 0), kLevelNormal) << "outside the held rows";
    EXPECT_EQ(dataset.alarmStateAt(0, 2), kLevelNormal) << "no such channel";
}

TEST(RealTimeDataset, RowsAreCutOrPaddedToTheChannelCount)
{
    RealTimeDataset dataset("", 2, {}, kFull);
    const std::array<double, 3> longRow{1.0, 2.0, 3.0};
    dataset.append(longRow);
    EXPECT_DOUBLE_EQ(dataset.value(0, 1), 2.0);
    const std::array<double, 1> shortRow{5.0};
    dataset.append(shortRow);
    EXPECT_DOUBLE_EQ(dataset.value(1, 0), 5.0);
    EXPECT_DOUBLE_EQ(dataset.value(1, 1), 0.0);
}

TEST(RealTimeDataset, OutOfRangeReadsGiveNothing)
{
    RealTimeDataset dataset("", 2, {}, kFull);
    const std::array<double, 2> row{1.0, 2.0};
    dataset.append(row);
    double buffer[4] = {};
    EXPECT_EQ(dataset.readChannel(2, buffer, 4), 0);
    EXPECT_EQ(dataset.readChannel(-1, buffer, 4), 0);
    EXPECT_EQ(dataset.readChannel(0, nullptr, 4), 0);
    EXPECT_EQ(dataset.readChannel(0, buffer, 0), 0);
    EXPECT_DOUBLE_EQ(dataset.value(1, 0), 0.0);
    EXPECT_DOUBLE_EQ(dataset.value(0, 5), 0.0);
    EXPECT_EQ(dataset.alarmState(9), kLevelNormal);
}

TEST(RealTimeDataset, ElapsedTimeSumsTheDifferencesAfterTheFirstRowAcrossOverflow)
{
    RealTimeDataset dataset("", 2, {}, kFull);
    dataset.setTimeChannel(1);
    // The first row's difference is its whole time of day: time starts there.
    dataset.append(std::array<double, 2>{0.0, 45296.0});
    EXPECT_DOUBLE_EQ(dataset.elapsedTime(), 0.0);
    constexpr int kRows = 5000;
    for (int i = 0; i < kRows; ++i) {
        dataset.append(std::array<double, 2>{0.0, 0.5});
    }
    EXPECT_EQ(dataset.rowCount(), kFull);
    EXPECT_DOUBLE_EQ(dataset.elapsedTime(), kRows * 0.5);
}

TEST(RealTimeDataset, WithoutTimeChannelNoTimeElapses)
{
    RealTimeDataset dataset("", 2, {}, kFull);
    dataset.append(std::array<double, 2>{0.0, 3.0});
    dataset.append(std::array<double, 2>{0.0, 3.0});
    EXPECT_DOUBLE_EQ(dataset.elapsedTime(), 0.0);
    // Choosing the time channel later counts the rows already held.
    dataset.setTimeChannel(1);
    EXPECT_DOUBLE_EQ(dataset.elapsedTime(), 3.0);
}

TEST(RealTimeDataset, CreateDatasetAcceptsNoChannels)
{
    // A graph without measurements still gets a dataset to append to.
    auto dataset = CreateDataset("", 0, {}, kFull);
    ASSERT_NE(dataset, nullptr);
    AppendRow(*dataset, std::array<double, 1>{4.0}, {});
    EXPECT_EQ(dataset->channelCount(), 0);
    EXPECT_EQ(dataset->rowCount(), 1);
    DestroyDataset(dataset);
    EXPECT_EQ(dataset, nullptr);
}

}  // namespace
}  // namespace vexa::toolkit
