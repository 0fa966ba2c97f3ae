#include "document/GraphDefinition.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

using test::ScratchDir;
using test::WriteFileBytes;

/// Alarm levels as the entries number them less one.
constexpr int kNormal = kAlarmNormal - 1;
constexpr int kHigh = kAlarmHigh - 1;
constexpr int kLow = kAlarmLow - 1;
constexpr int kHighHigh = kAlarmHighHigh - 1;
constexpr int kLowLow = kAlarmLowLow - 1;
constexpr int kRate = kAlarmRate - 1;
constexpr int kDeviation = kAlarmDeviation - 1;

MeasurementSlot Slot(double minimum, double maximum)
{
    MeasurementSlot slot;
    slot.minimum = minimum;
    slot.maximum = maximum;
    return slot;
}

TEST(MeasurementDefinition, TakesDefaultsAndCutsTexts)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXAMVX.TMP");
    WriteFileBytes(file,
                   "[Plain]\r\n"
                   "[Long]\r\nL=-12.5\r\nH=7e2\r\nU=abcdefghijklmnopqrstuvwxyz\r\n"
                   "D=0123456789012345678901234567890123456789012345678901234567890\r\n");
    MeasurementSlot plain;
    ReadMeasurementDefinition("Plain", plain, file);
    EXPECT_DOUBLE_EQ(plain.minimum, 0.0);
    EXPECT_DOUBLE_EQ(plain.maximum, 100.0);
    EXPECT_EQ(plain.units, "?");
    EXPECT_EQ(plain.description, "?");

    MeasurementSlot longer;
    ReadMeasurementDefinition("Long", longer, file);
    EXPECT_DOUBLE_EQ(longer.minimum, -12.5);
    EXPECT_DOUBLE_EQ(longer.maximum, 700.0);
    EXPECT_EQ(longer.units, "abcdefghijklmnopqrst");
    EXPECT_EQ(longer.description, "01234567890123456789012345678901234567890123456789");
}

TEST(GraphDefinition, TheValueRangeAlwaysContainsZero)
{
    struct Case {
        std::vector<MeasurementSlot> measurements;
        double minimum;
        double maximum;
    };
    const Case cases[] = {
        {{Slot(10, 50), Slot(10, 20)}, 0, 50},
        {{Slot(-5, 5)}, -5, 5},
        {{Slot(-30, -10), Slot(2, 4)}, -30, 4},
        {{}, 0, 0},
        // Only the eight measurements a graph can show count.
        {{Slot(0, 1), Slot(0, 1), Slot(0, 1), Slot(0, 1), Slot(0, 1), Slot(0, 1), Slot(0, 1), Slot(0, 1),
          Slot(-9, 9)},
         0, 1},
    };
    for (const Case& c : cases) {
        const GraphRange range = GraphValueRange(c.measurements);
        EXPECT_DOUBLE_EQ(range.minimum, c.minimum);
        EXPECT_DOUBLE_EQ(range.maximum, c.maximum);
    }
}

TEST(GraphDefinition, AnEmptySectionReadsAsTheDefaults)
{
    ScratchDir dir;
    const std::string display = dir.path("VEXADSP.TMP");
    const std::string mvx = dir.path("VEXAMVX.TMP");
    WriteFileBytes(display, "[W1]\r\n");
    WriteFileBytes(mvx, "");
    const GraphDefinition graph = ReadGraphDefinition("W1", display, mvx);
    const GraphDefinition defaults = DefaultGraphDefinition(kTimeHistory);
    EXPECT_EQ(graph.title, "??");
    EXPECT_EQ(graph.type, kTimeHistory);
    EXPECT_EQ(graph.characteristic, kProportionalCharacteristic);
    EXPECT_EQ(graph.updatePeriod, kDefaultUpdatePeriodMs);
    EXPECT_EQ(graph.placement, Placement{});
    EXPECT_TRUE(graph.measurements.empty());
    EXPECT_EQ(graph.dataColours, defaults.dataColours);
    EXPECT_EQ(graph.dataColours[0], DefaultDataColour(1));
    EXPECT_EQ(graph.plotBackground, kDefaultPlotBackground);
    EXPECT_EQ(graph.windowBackground, kDefaultWindowBackground);
    EXPECT_EQ(graph.titleFont, DefaultFontSpec(FontKind::Title));
    EXPECT_EQ(graph.labelFont, DefaultFontSpec(FontKind::TimeHistoryLabel));
    EXPECT_EQ(graph.gridFont, DefaultFontSpec(FontKind::Grid));
    EXPECT_EQ(graph.alarms, defaults.alarms);
    EXPECT_EQ(graph.alarms[kHigh].text, "High");
    EXPECT_EQ(graph.lowHighHysteresis, "0.1");
    EXPECT_EQ(graph.deviationHysteresis, "0.0");
}

TEST(GraphDefinition, EveryKeyOfTheSectionAndEachMeasurementsDefinitionIsRead)
{
    ScratchDir dir;
    const std::string display = dir.path("VEXADSP.TMP");
    const std::string mvx = dir.path("VEXAMVX.TMP");
    WriteFileBytes(display,
                   "[W2]\r\nT=Boiler\r\nP=HorizontalBarGraph\r\nWC=Isotropic\r\nUP=250\r\nR=10 20 300 200\r\n"
                   "M1=PRESSURE\r\nM2=LEVEL\r\nM4=AFTER_THE_GAP\r\nDC1=9\r\nDC8=3\r\nPC=15\r\nWB=0\r\n"
                   "TF=Liberation Serif,12,1,4\r\nLF=,,,6\r\nGF=Liberation Mono\r\nA2=1,4,Hot,80\r\nAH=0.5 2\r\n");
    WriteFileBytes(mvx, "[PRESSURE]\r\nL=-1\r\nH=9\r\nU=bar\r\n[LEVEL]\r\nE=Coefficients\r\n1=2\r\n");
    const GraphDefinition graph = ReadGraphDefinition("W2", display, mvx);
    EXPECT_EQ(graph.title, "Boiler");
    EXPECT_EQ(graph.type, kHorizontalBarGraph);
    EXPECT_EQ(graph.characteristic, kIsotropicCharacteristic);
    EXPECT_EQ(graph.updatePeriod, 250);
    EXPECT_EQ(graph.placement, (Placement{10, 20, 300, 200}));
    ASSERT_EQ(graph.measurements.size(), 2u);
    EXPECT_EQ(graph.measurements[0].name, "PRESSURE");
    EXPECT_DOUBLE_EQ(graph.measurements[0].minimum, -1.0);
    EXPECT_EQ(graph.measurements[0].units, "bar");
    EXPECT_EQ(graph.measurements[1].name, "LEVEL");
    EXPECT_EQ(graph.measurements[1].conversion, kCoefficientConversion);
    EXPECT_EQ(graph.dataColours[0], 9);
    EXPECT_EQ(graph.dataColours[1], DefaultDataColour(2));
    EXPECT_EQ(graph.dataColours[7], 3);
    EXPECT_EQ(graph.plotBackground, 15);
    EXPECT_EQ(graph.windowBackground, 0);
    EXPECT_EQ(graph.titleFont, (FontSpec{"Liberation Serif", 12, 1, 4}));
    // A bar graph's label font takes the plain label defaults.
    EXPECT_EQ(graph.labelFont, (FontSpec{"Arial", 8, 0, 6}));
    EXPECT_EQ(graph.gridFont, (FontSpec{"Liberation Mono", 8, 0, 0}));
    EXPECT_TRUE(graph.alarms[kHigh].enabled);
    EXPECT_EQ(graph.alarms[kHigh].limit, "80");
    EXPECT_EQ(graph.lowHighHysteresis, "0.5");
    EXPECT_EQ(graph.deviationHysteresis, "2");
}

TEST(GraphDefinition, TheLabelFontTakesTheDefaultsOfItsGraphsType)
{
    struct Case {
        int type;
        FontKind kind;
    };
    const Case cases[] = {
        {kTimeHistory, FontKind::TimeHistoryLabel}, {kNoGraphType, FontKind::TimeHistoryLabel},
        {kScrollingTabular, FontKind::ScrollingTabularLabel}, {kXYPlot, FontKind::Label},
        {kMeter, FontKind::Label}, {kAnnunciator, FontKind::Label},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LabelFontKind(c.type), c.kind) << c.type;
        EXPECT_EQ(DefaultGraphDefinition(c.type).labelFont, DefaultFontSpec(c.kind)) << c.type;
    }
}

/// Graph 12's measurements range over -5 ... 50, graph 1's over -1 ... 1 and
/// graph 13 has none.
class GraphAlarms : public ::testing::Test {
protected:
    GraphAlarms()
    {
        WriteFileBytes(m_file,
                       "[W1]\r\nA2=1,4,Too high\r\n"
                       "[W12]\r\nA1=1,3,Fine\r\nA2=1,4,Too high\r\nA3=0,11,Cold,5\r\n"
                       "A5=,,1,,9,,Very low,,-2,,\r\nA6=1\r\n"
                       "[W13]\r\nA2=1,4,x\r\n");
    }

    GraphDefinition graph(const std::string& section, std::vector<MeasurementSlot> measurements = {}) const
    {
        GraphDefinition definition = DefaultGraphDefinition();
        definition.measurements = std::move(measurements);
        definition.alarms = ReadGraphAlarms(section, m_file);
        return definition;
    }

    ScratchDir m_dir;
    std::string m_file = m_dir.path("VEXADSP.TMP");
};

TEST_F(GraphAlarms, FieldsDefaultPerLevelAndRangeLimitsComeFromTheGraphsMeasurements)
{
    const GraphDefinition w1 = graph("W1", {Slot(-1, 1)});
    const GraphDefinition w12 = graph("W12", {Slot(-5, 5), Slot(10, 50)});
    const GraphDefinition w13 = graph("W13");
    const GraphDefinition other = graph("Other");
    struct Case {
        const GraphDefinition& graph;
        const char* name;
        int level;
        bool enabled;
        const char* limit;
        const char* text;
        int colour;
    };
    const Case cases[] = {
        {w12, "W12", kHigh, true, "50.000000", "Too high", 4},
        {w1, "W1", kHigh, true, "1.000000", "Too high", 4},
        {w12, "W12", kLow, false, "5", "Cold", 11},
        // Runs of commas are one separator, leading ones are ignored.
        {w12, "W12", kLowLow, true, "-2", "Very low", 9},
        // Only the enabled field: colour, text and limit take their defaults.
        {w12, "W12", kRate, true, "0.0", "Rate", 1},
        {w12, "W12", kHighHigh, false, "0.0", "High High", 10},
        {w12, "W12", kDeviation, false, "0.0", "Deviation", 1},
        {w12, "W12", kNormal, true, "", "Fine", 3},
        {w1, "W1", kNormal, false, "", "OK", 10},
        // A Low limit from a range minimum of 0 is written "0.0".
        {w1, "W1", kLow, false, "-1.000000", "Low", 11},
        {w13, "W13", kLow, false, "0.0", "Low", 11},
        {w13, "W13", kHigh, true, "0.0", "x", 4},
        // A section that is no graph section has the empty range.
        {other, "Other", kHigh, false, "0.0", "High", 12},
    };
    for (const Case& c : cases) {
        const GraphAlarm& alarm = c.graph.alarms[static_cast<std::size_t>(c.level)];
        EXPECT_EQ(alarm.enabled, c.enabled) << c.name << " level " << c.level;
        EXPECT_EQ(AlarmLimitText(c.graph, c.level), c.limit) << c.name << " level " << c.level;
        EXPECT_EQ(alarm.text, c.text) << c.name << " level " << c.level;
        EXPECT_EQ(alarm.colour, c.colour) << c.name << " level " << c.level;
    }
    EXPECT_EQ(AlarmLimitText(w12, kAlarmEntryCount), "");
    EXPECT_TRUE(w12.alarms[kHigh].enabled);
}

TEST_F(GraphAlarms, LongTextsAndLimitsAreCutTo29Characters)
{
    WriteFileBytes(m_file, "[W1]\r\nA2=1,4,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,1234567890123456789012345678901234\r\n");
    const GraphDefinition w1 = graph("W1");
    EXPECT_EQ(w1.alarms[kHigh].text, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012");
    EXPECT_EQ(AlarmLimitText(w1, kHigh), "12345678901234567890123456789");
}

TEST_F(GraphAlarms, AGraphHasAnAlarmWhenAnEntryBeginsWithOne)
{
    WriteFileBytes(m_file, "[W1]\r\nA2=0,4,x,3\r\nA3=1,4,y,3\r\nA4=2,4,z,3\r\n[W2]\r\nA1=0,1,z\r\nA7=0,1,q,1\r\n");
    const GraphDefinition w1 = graph("W1");
    const GraphDefinition w2 = graph("W2");
    EXPECT_TRUE(GraphHasAlarm(w1, kLow));
    EXPECT_FALSE(GraphHasAlarm(w1, kHigh));
    EXPECT_FALSE(GraphHasAlarm(w1, kHighHigh));
    EXPECT_TRUE(GraphHasAlarm(w1));
    EXPECT_FALSE(GraphHasAlarm(w2));
    // Enabled by its number, yet not begun with "1": the two questions differ.
    EXPECT_TRUE(w1.alarms[kHighHigh].enabled);
}

TEST(GraphDefinition, HysteresisTakesItsDefaultsFieldByField)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file, "[W1]\r\nAH=0.5\r\n[W2]\r\nAH=  0.2    0.3 \r\n[W3]\r\nT=x\r\n[W4]\r\nAH=\r\n");
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(ReadHysteresis("W1", file), Pair("0.5", "0.0"));
    EXPECT_EQ(ReadHysteresis("W2", file), Pair("0.2", "0.3"));
    EXPECT_EQ(ReadHysteresis("W3", file), Pair("0.1", "0.0"));
    EXPECT_EQ(ReadHysteresis("W4", file), Pair("0.1", "0.0"));
}

}  // namespace
}  // namespace vexa
