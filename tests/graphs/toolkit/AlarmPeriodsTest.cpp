#include "graphs/toolkit/AlarmSpans.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexa::toolkit {
namespace {

struct SpanCase {
    const char* what;
    std::vector<double> x;
    std::vector<int> levels;
    std::vector<AlarmSpan> expected;
};

TEST(AlarmSpans, RunsOfOneLevelReachToTheRowThatEndedThem)
{
    const std::vector<SpanCase> cases = {
        {"all normal", {10, 20, 30}, {kLevelNormal, kLevelNormal, kLevelNormal}, {}},
        {"a run in the middle ends where the next row left it",
         {10, 20, 30, 40},
         {kLevelNormal, kLevelHigh, kLevelHigh, kLevelNormal},
         {{20, 40, kLevelHigh}}},
        {"one level after another, each its own span",
         {10, 20, 30, 40, 50},
         {kLevelHigh, kLevelHigh, kLevelHighHigh, kLevelHighHigh, kLevelNormal},
         {{10, 30, kLevelHigh}, {30, 50, kLevelHighHigh}}},
        {"a run still going ends at its newest row",
         {10, 20, 30},
         {kLevelNormal, kLevelLow, kLevelLow},
         {{20, 30, kLevelLow}}},
        {"the newest row alone in a level shows one pixel",
         {10, 20, 30},
         {kLevelNormal, kLevelNormal, kLevelRate},
         {{29.5, 30.5, kLevelRate}}},
        {"newest first, as the strip chart walks its rows",
         {40, 30, 20, 10},
         {kLevelHigh, kLevelHigh, kLevelNormal, kLevelLowLow},
         {{20, 40, kLevelHigh}, {9.5, 10.5, kLevelLowLow}}},
        {"more levels than x pixels are ignored", {10, 20}, {kLevelHigh, kLevelHigh, kLevelHigh}, {{10, 20, kLevelHigh}}},
        {"no rows", {}, {}, {}},
    };
    for (const SpanCase& test : cases) {
        std::vector<AlarmSpan> spans;
        CollectAlarmSpans(test.x, test.levels, spans);
        EXPECT_EQ(spans, test.expected) << test.what;
    }
}

/// Two measurements and the seconds since the previous row, as a strip
/// chart's dataset has them: High at 60, High High at 80, Low at 20 and
/// Low Low at 5, with the given level disabled.
std::unique_ptr<RealTimeDataset> StripDataset(int disabledLevel)
{
    auto dataset = CreateDataset("", 3, {}, RealTimeDataset::kHistoryRows);
    dataset->setTimeChannel(2);
    dataset->setAlarmHysteresis(0.0, 0.0);
    dataset->setAlarmLimit(kLevelHigh, 60.0, disabledLevel != kLevelHigh, "High");
    dataset->setAlarmLimit(kLevelHighHigh, 80.0, disabledLevel != kLevelHighHigh, "High High");
    dataset->setAlarmLimit(kLevelLow, 20.0, disabledLevel != kLevelLow, "Low");
    dataset->setAlarmLimit(kLevelLowLow, 5.0, disabledLevel != kLevelLowLow, "Low Low");
    return dataset;
}

TEST(RealTimeDataset, EachRowKeepsTheLevelThatWonOverItsMeasurementsButNotItsTimeChannel)
{
    struct Row {
        double first;
        double second;
        int expected;
    };
    // The time difference of 0.05 s lies below every lower limit: it must
    // never count as a measurement.
    const std::vector<Row> rows = {
        {50, 50, kLevelNormal},  {70, 50, kLevelHigh},  {70, 10, kLevelHigh},  // High and Low: High wins
        {90, 10, kLevelHighHigh}, {90, 1, kLevelHighHigh},                     // the outer levels over the inner
        {50, 1, kLevelLowLow},    {50, 50, kLevelNormal},
    };
    for (const int disabled : {kLevelNormal, kLevelHighHigh}) {
        const auto created = StripDataset(disabled);
        RealTimeDataset& dataset = *created;
        for (const Row& row : rows) {
            dataset.append(std::vector<double>{row.first, row.second, 0.05});
        }
        std::vector<int> levels(rows.size() + 2, -1);
        ASSERT_EQ(ReadAlarmHistory(dataset, levels), static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            int expected = rows[i].expected;
            if (disabled == kLevelHighHigh && expected == kLevelHighHigh) {
                // A disabled level is never in: the row shows what else applies.
                expected = rows[i].second < 5.0 ? kLevelLowLow : kLevelHigh;
            }
            EXPECT_EQ(levels[i], expected) << "row " << i << " with level " << disabled << " disabled";
            EXPECT_EQ(dataset.rowAlarmLevel(static_cast<int>(i)), expected) << "row " << i;
        }
    }
}

TEST(RealTimeDataset, RowStatesFollowTheRowsThroughOverflowAndAGrownHistory)
{
    RealTimeDataset dataset("", 1, {}, 3);
    dataset.setAlarmLimit(kLevelHigh, 60.0, true, "High");
    for (const double value : {70.0, 50.0, 70.0, 50.0}) {
        dataset.append(std::vector<double>{value});
    }
    // Held now: 50, 70, 50.
    dataset.reserveHistory(10);
    dataset.append(std::vector<double>{70.0});
    std::vector<int> levels(10, -1);
    ASSERT_EQ(ReadAlarmHistory(dataset, levels), 4);
    EXPECT_EQ(std::vector<int>(levels.begin(), levels.begin() + 4),
              (std::vector<int>{kLevelNormal, kLevelHigh, kLevelNormal, kLevelHigh}));
    // A smaller buffer gets the newest.
    std::vector<int> newest(2, -1);
    ASSERT_EQ(ReadAlarmHistory(dataset, newest), 2);
    EXPECT_EQ(newest, (std::vector<int>{kLevelNormal, kLevelHigh}));
}

}  // namespace
}  // namespace vexa::toolkit
