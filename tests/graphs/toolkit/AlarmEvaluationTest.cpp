#include "graphs/toolkit/RealTimeDataset.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vexa::toolkit {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kNoTime = -1.0;  ///< the row has no time channel

struct Limit {
    int level;
    double limit;
};

struct Step {
    double value;
    double seconds;  ///< the time channel's value, or kNoTime
    int expected;
};

struct AlarmCase {
    std::string name;
    std::vector<Limit> limits;  ///< enabled levels
    double lowHigh;
    double deviation;
    std::vector<Step> steps;
};

void PrintTo(const AlarmCase& alarmCase, std::ostream* os)
{
    *os << alarmCase.name;
}

class AlarmEvaluation : public testing::TestWithParam<AlarmCase> {};

TEST_P(AlarmEvaluation, EachRowLeavesTheChannelInTheExpectedState)
{
    const AlarmCase& alarmCase = GetParam();
    const bool timed = alarmCase.steps.front().seconds != kNoTime;
    RealTimeDataset dataset("", timed ? 2 : 1, {}, RealTimeDataset::kHistoryRows);
    if (timed) {
        dataset.setTimeChannel(1);
    }
    dataset.setAlarmHysteresis(alarmCase.lowHigh, alarmCase.deviation);
    for (const Limit& limit : alarmCase.limits) {
        dataset.setAlarmLimit(limit.level, limit.limit, true, "text");
    }
    int row = 0;
    for (const Step& step : alarmCase.steps) {
        if (timed) {
            dataset.append(std::array<double, 2>{step.value, step.seconds});
        } else {
            dataset.append(std::array<double, 1>{step.value});
        }
        EXPECT_EQ(dataset.alarmState(0), step.expected) << "row " << row << ", value " << step.value;
        ++row;
    }
}

std::vector<Step> untimed(std::initializer_list<std::pair<double, int>> values)
{
    std::vector<Step> steps;
    for (const auto& [value, expected] : values) {
        steps.push_back({value, kNoTime, expected});
    }
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Levels, AlarmEvaluation,
    testing::Values(
        // Upper limits: in above the limit, out at limit - h or below.
        AlarmCase{"High", {{kLevelHigh, 10.0}}, 1.0, 0.0,
                  untimed({{9.0, 0}, {10.0, 0}, {10.5, 1}, {9.5, 1}, {9.0, 0}, {9.5, 0}, {12.0, 1}})},
        AlarmCase{"HighHigh", {{kLevelHighHigh, 20.0}}, 0.5, 0.0,
                  untimed({{20.5, 3}, {19.6, 3}, {19.5, 0}})},
        // Lower limits: in below the limit, out at limit + h or above.
        AlarmCase{"Low", {{kLevelLow, 5.0}}, 1.0, 0.0,
                  untimed({{6.0, 0}, {5.0, 0}, {4.9, 2}, {5.5, 2}, {6.0, 0}, {5.5, 0}})},
        AlarmCase{"LowLow", {{kLevelLowLow, 0.0}}, 0.5, 0.0, untimed({{-1.0, 4}, {0.4, 4}, {0.5, 0}})},
        AlarmCase{"NegativeHysteresisCountsAsNone", {{kLevelHigh, 10.0}}, -5.0, 0.0,
                  untimed({{11.0, 1}, {10.0, 0}})},
        // Rate without time channel: per row; the first row has no rate.
        AlarmCase{"RatePerRow", {{kLevelRate, 2.0}}, 0.0, 0.0,
                  untimed({{50.0, 0}, {53.0, 5}, {54.0, 0}, {56.0, 0}, {52.0, 5}})},
        // Rate with a time channel: per second of the row's difference.
        AlarmCase{"RatePerSecond",
                  {{kLevelRate, 2.0}},
                  0.0,
                  0.0,
                  {{0.0, 45296.0, 0}, {5.0, 5.0, 0}, {10.0, 1.0, 5}, {11.0, 0.25, 5}, {11.0, 1.0, 0}}},
        AlarmCase{"RateWithoutUsableTimeIsPerRow",
                  {{kLevelRate, 2.0}},
                  0.0,
                  0.0,
                  {{0.0, 100.0, 0}, {3.0, 0.0, 5}, {4.0, -2.0, 0}}},
        // Deviation: from the mean of the previous values, with hysteresis d.
        AlarmCase{"Deviation", {{kLevelDeviation, 3.0}}, 0.0, 1.0,
                  untimed({{10.0, 0}, {10.0, 0}, {14.0, 6}, {13.8, 6}, {12.0, 0}})},
        // The reference averages only the last ten values: eleven rows
        // after a spike it has left the reference (a mean over everything
        // would still be 100 / 11 away).
        AlarmCase{"DeviationReferenceIsTheLastTenValues", {{kLevelDeviation, 5.0}}, 0.0, 0.0,
                  untimed({{100.0, 0}, {0.0, 6}, {0.0, 6}, {0.0, 6}, {0.0, 6}, {0.0, 6}, {0.0, 6}, {0.0, 6},
                           {0.0, 6}, {0.0, 6}, {0.0, 6}, {0.0, 0}})},
        // Precedence: High High, Low Low, High, Low, Rate, Deviation.
        AlarmCase{"HighHighBeforeHigh", {{kLevelHigh, 10.0}, {kLevelHighHigh, 30.0}}, 0.0, 0.0,
                  untimed({{35.0, 3}, {20.0, 1}})},
        AlarmCase{"LowLowBeforeHigh", {{kLevelHigh, 10.0}, {kLevelLowLow, 50.0}}, 0.0, 0.0,
                  untimed({{20.0, 4}})},
        AlarmCase{"HighBeforeLow", {{kLevelHigh, 10.0}, {kLevelLow, 20.0}}, 0.0, 0.0, untimed({{15.0, 1}})},
        AlarmCase{"HighBeforeRate", {{kLevelHigh, 10.0}, {kLevelRate, 1.0}}, 0.0, 0.0,
                  untimed({{0.0, 0}, {20.0, 1}, {5.0, 5}})},
        AlarmCase{"LowBeforeDeviation", {{kLevelLow, 0.0}, {kLevelDeviation, 1.0}}, 0.0, 0.0,
                  untimed({{5.0, 0}, {-5.0, 2}})},
        AlarmCase{"RateBeforeDeviation", {{kLevelRate, 1.0}, {kLevelDeviation, 1.0}}, 0.0, 0.0,
                  untimed({{5.0, 0}, {9.0, 5}})},
        // A value that is not a number changes nothing; the next rate is
        // taken over both rows.
        AlarmCase{"NotANumberKeepsStates", {{kLevelHigh, 10.0}, {kLevelRate, 0.6}}, 0.0, 0.0,
                  untimed({{11.0, 1}, {kNaN, 1}, {5.0, 5}, {kNaN, 5}, {6.0, 0}})},
        AlarmCase{"LevelZeroHasNoLimit", {{kLevelNormal, 5.0}}, 0.0, 0.0, untimed({{100.0, 0}, {-100.0, 0}})}),
    [](const testing::TestParamInfo<AlarmCase>& info) { return info.param.name; });

TEST(AlarmSettings, ADisabledLevelIsOutAndForgetsItsState)
{
    RealTimeDataset dataset("", 1, {}, RealTimeDataset::kHistoryRows);
    dataset.setAlarmHysteresis(1.0, 0.0);
    dataset.setAlarmLimit(kLevelHigh, 10.0, false, " ");
    dataset.append(std::array<double, 1>{50.0});
    EXPECT_EQ(dataset.alarmState(0), kLevelNormal);

    dataset.setAlarmLimit(kLevelHigh, 10.0, true, "High");
    dataset.append(std::array<double, 1>{50.0});
    EXPECT_EQ(dataset.alarmState(0), kLevelHigh);
    dataset.setAlarmLimit(kLevelHigh, 10.0, false, " ");
    EXPECT_EQ(dataset.alarmState(0), kLevelNormal) << "disabling takes effect at once";

    // Enabled again, a value inside the hysteresis band does not bring the
    // old state back.
    dataset.setAlarmLimit(kLevelHigh, 10.0, true, "High");
    dataset.append(std::array<double, 1>{9.5});
    EXPECT_EQ(dataset.alarmState(0), kLevelNormal);
}

TEST(AlarmSettings, LimitsTextsAndLevelZeroAreKept)
{
    RealTimeDataset dataset("", 1, {}, 0);
    dataset.setAlarmLimit(kLevelNormal, 5.0, true, "OK");
    dataset.setAlarmLimit(kLevelLowLow, -3.5, true, "Low Low");
    dataset.setAlarmLimit(9, 1.0, true, "ignored");
    // The normal state keeps its flag and text but takes no limit: a value
    // above 5 is still normal.
    EXPECT_TRUE(dataset.isAlarmEnabled(kLevelNormal));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(kLevelNormal), 0.0);
    EXPECT_EQ(dataset.alarmText(kLevelNormal), "OK");
    dataset.append(std::array<double, 1>{50.0});
    EXPECT_EQ(dataset.alarmState(0), kLevelNormal);
    EXPECT_TRUE(dataset.isAlarmEnabled(kLevelLowLow));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(kLevelLowLow), -3.5);
    EXPECT_EQ(dataset.alarmText(kLevelLowLow), "Low Low");
    EXPECT_FALSE(dataset.isAlarmEnabled(9));
    EXPECT_EQ(dataset.alarmText(9), "");
}

TEST(AlarmSettings, ChannelsKeepTheirOwnStatesAndTheTimeChannelNone)
{
    RealTimeDataset dataset("", 3, {}, RealTimeDataset::kHistoryRows);
    dataset.setTimeChannel(2);
    dataset.setAlarmLimit(kLevelHigh, 10.0, true, "High");
    dataset.setAlarmLimit(kLevelLow, 0.0, true, "Low");
    dataset.append(std::array<double, 3>{20.0, -1.0, 45000.0});
    EXPECT_EQ(dataset.alarmState(0), kLevelHigh);
    EXPECT_EQ(dataset.alarmState(1), kLevelLow);
    EXPECT_EQ(dataset.alarmState(2), kLevelNormal) << "a time difference is no measurement";
}

}  // namespace
}  // namespace vexa::toolkit
