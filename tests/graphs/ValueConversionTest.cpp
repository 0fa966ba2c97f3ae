#include "graphs/ValueConversion.h"

#include "document/GraphTable.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"
#include "support/TestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <optional>

namespace vexa::graphs {
namespace {

using test::ScratchDir;
using test::WriteFileBytes;
using toolkit::kLevelHigh;
using toolkit::kLevelLow;
using toolkit::kLevelNormal;

MeasurementSlot Slot(double minimum, double maximum)
{
    MeasurementSlot slot;
    slot.minimum = minimum;
    slot.maximum = maximum;
    return slot;
}

void SetMeasurements(GraphRecord& record, const std::vector<MeasurementSlot>& measurements)
{
    record.measurementCount = 0;
    for (const MeasurementSlot& slot : measurements)
        record.measurements[static_cast<std::size_t>(record.measurementCount++)] = slot;
}

TEST(ValueConversion, MeasurementDefinitionsConvertByTheirCoefficientsOnlyWhenSpelledExactly)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXAMVX.TMP");
    WriteFileBytes(file,
                   "[Double]\r\nE=Coefficients\r\n1=2\r\n"
                   "[Fahrenheit]\r\nE=Coefficients\r\n0=-40\r\n1=1.8\r\n"
                   "[LowerCase]\r\nE=coefficients\r\n0=5\r\n1=2\r\n"
                   "[Raw]\r\nE=Raw\r\n0=5\r\n1=2\r\n"
                   "[Absent]\r\n"
                   "[Polynomial]\r\nE=Coefficients\r\n0=1\r\n1=2\r\n2=3\r\n3=4\r\n4=5\r\n5=6\r\n6=7\r\n");
    struct Case {
        const char* name;
        double raw;
        double expected;
        int conversion;
    };
    const Case cases[] = {
        {"Double", 3.0, 6.0, kCoefficientConversion},
        {"Fahrenheit", 100.0, 140.0, kCoefficientConversion},
        {"LowerCase", 3.0, 3.0, kRawConversion},
        {"Raw", 3.0, 3.0, kRawConversion},
        {"Absent", -7.5, -7.5, kRawConversion},
        // 1 + 2*2 + 3*4 + 4*8 + 5*16 + 6*32 + 7*64: every coefficient has its own power.
        {"Polynomial", 2.0, 769.0, kCoefficientConversion},
        {"Polynomial", -1.0, 4.0, kCoefficientConversion},
    };
    for (const Case& c : cases) {
        MeasurementSlot slot;
        ReadMeasurementDefinition(c.name, slot, file);
        EXPECT_EQ(slot.conversion, c.conversion) << c.name;
        EXPECT_DOUBLE_EQ(ConvertValue(slot, c.raw), c.expected) << c.name << " at " << c.raw;
    }
}

TEST(ValueConversion, MeasurementDefinitionsTakeDefaultsAndCutTexts)
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

TEST(ValueConversion, TheValueRangeAlwaysContainsZero)
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
    };
    for (const Case& c : cases) {
        GraphRecord record;
        SetMeasurements(record, c.measurements);
        double minimum = 99.0;
        double maximum = 99.0;
        GraphValueRange(record, &minimum, &maximum);
        EXPECT_DOUBLE_EQ(minimum, c.minimum);
        EXPECT_DOUBLE_EQ(maximum, c.maximum);
        double onlyMaximum = 99.0;
        GraphValueRange(record, nullptr, &onlyMaximum);
        EXPECT_DOUBLE_EQ(onlyMaximum, c.maximum);
    }
}

struct AlarmRead {
    bool enabled;
    std::string limit;
    std::string text;
    int colour;
};

AlarmRead ReadAlarm(const std::string& section, int level, const std::string& file, const GraphTable& graphs)
{
    AlarmRead alarm{};
    alarm.enabled = ReadAlarmEntry(section, level, &alarm.limit, &alarm.text, &alarm.colour, file, graphs);
    return alarm;
}

class AlarmEntries : public ::testing::Test {
protected:
    AlarmEntries()
    {
        SetMeasurements(m_graphs.record(0), {Slot(-1, 1)});
        SetMeasurements(m_graphs.record(11), {Slot(-5, 5), Slot(10, 50)});
        WriteFileBytes(m_file,
                       "[W1]\r\nA2=1,4,Too high\r\n"
                       "[W12]\r\nA1=1,3,Fine\r\nA2=1,4,Too high\r\nA3=0,11,Cold,5\r\n"
                       "A5=,,1,,9,,Very low,,-2,,\r\nA6=1\r\n"
                       "[W13]\r\nA2=1,4,x\r\n");
    }

    ScratchDir m_dir;
    std::string m_file = m_dir.path("VEXADSP.TMP");
    GraphTable m_graphs;
};

TEST_F(AlarmEntries, FieldsDefaultPerLevelAndRangeLimitsComeFromTheSectionsGraph)
{
    struct Case {
        const char* section;
        int level;
        bool enabled;
        const char* limit;
        const char* text;
        int colour;
    };
    const Case cases[] = {
        // Graph 12's range is -5 ... 50; graph 1's is -1 ... 1.
        {"W12", kLevelHigh, true, "50.000000", "Too high", 4},
        {"W1", kLevelHigh, true, "1.000000", "Too high", 4},
        {"W12", kLevelLow, false, "5", "Cold", 11},
        // Runs of commas are one separator, leading ones are ignored.
        {"W12", toolkit::kLevelLowLow, true, "-2", "Very low", 9},
        // Only the enabled field: colour, text and limit take their defaults.
        {"W12", toolkit::kLevelRate, true, "0.0", "Rate", 1},
        {"W12", toolkit::kLevelHighHigh, false, "0.0", "High High", 10},
        {"W12", toolkit::kLevelDeviation, false, "0.0", "Deviation", 1},
        {"W12", kLevelNormal, true, "", "Fine", 3},
        {"W1", kLevelNormal, false, "", "OK", 10},
        // A Low limit from a range minimum of 0 is written "0.0".
        {"W1", kLevelLow, false, "-1.000000", "Low", 11},
        {"W13", kLevelLow, false, "0.0", "Low", 11},
        {"W13", kLevelHigh, true, "0.0", "x", 4},
        // A section that is no graph section has the empty range.
        {"Other", kLevelHigh, false, "0.0", "High", 12},
    };
    for (const Case& c : cases) {
        const AlarmRead alarm = ReadAlarm(c.section, c.level, m_file, m_graphs);
        EXPECT_EQ(alarm.enabled, c.enabled) << c.section << " level " << c.level;
        EXPECT_EQ(alarm.limit, c.limit) << c.section << " level " << c.level;
        EXPECT_EQ(alarm.text, c.text) << c.section << " level " << c.level;
        EXPECT_EQ(alarm.colour, c.colour) << c.section << " level " << c.level;
    }
    EXPECT_FALSE(ReadAlarmEntry("W12", 7, nullptr, nullptr, nullptr, m_file, m_graphs));
    EXPECT_TRUE(ReadAlarmEntry("W12", kLevelHigh, nullptr, nullptr, nullptr, m_file, m_graphs));
}

TEST_F(AlarmEntries, LongTextsAndLimitsAreCutTo29Characters)
{
    WriteFileBytes(m_file, "[W1]\r\nA2=1,4,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,1234567890123456789012345678901234\r\n");
    const AlarmRead alarm = ReadAlarm("W1", kLevelHigh, m_file, m_graphs);
    EXPECT_EQ(alarm.text, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012");
    EXPECT_EQ(alarm.limit, "12345678901234567890123456789");
}

TEST(ValueConversion, HysteresisTakesItsDefaultsFieldByField)
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

TEST(ValueConversion, AGraphHasAnAlarmWhenAnEntryBeginsWithOne)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file, "[W1]\r\nA2=0,4,x,3\r\nA3=1,4,y,3\r\n[W2]\r\nA1=0,1,z\r\nA7=0,1,q,1\r\n");
    EXPECT_TRUE(GraphHasAlarm("W1", 3, file));
    EXPECT_FALSE(GraphHasAlarm("W1", 2, file));
    EXPECT_FALSE(GraphHasAlarm("W1", 4, file));
    EXPECT_TRUE(GraphHasAlarm("W1", 0, file));
    EXPECT_FALSE(GraphHasAlarm("W2", 0, file));
}

/// A chart window to hand the alarm settings to, on a page of a plain owner.
class AlarmAttachment : public ::testing::Test {
protected:
    AlarmAttachment()
    {
        m_page = toolkit::CreateChartPage("PAGE0", &m_owner, "Alarms", [](toolkit::ChartPage&) {},
                                          toolkit::WindowCharacteristic::Proportional, toolkit::PageStyle::Child);
        if (m_page != nullptr) {
            m_chart = toolkit::CreateChartWindow(*m_page, [](toolkit::ChartWindow&, toolkit::ChartContext&) {},
                                                 toolkit::kWholeArea, toolkit::palette::kLightGray);
        }
    }

    ScratchDir m_dir;
    std::string m_file = m_dir.path("VEXADSP.TMP");
    GraphTable m_graphs;
    QWidget m_owner;
    QPointer<toolkit::ChartPage> m_page;
    QPointer<toolkit::ChartWindow> m_chart;
};

TEST_F(AlarmAttachment, LevelsReachTheDatasetAndColoursThePartEnabledOrNot)
{
    ASSERT_NE(m_chart, nullptr);
    SetMeasurements(m_graphs.record(11), {Slot(0, 50)});
    WriteFileBytes(m_file, "[W12]\r\nAH=0.5\r\nA2=1,4,Too high\r\nA3=0,11,Cold,5\r\nA4=1,13,Far too high,80\r\n");
    toolkit::RealTimeDataset dataset("", 1, {}, 0);
    toolkit::AlarmPart part;

    AttachAlarms(*m_chart, "W12", &part, dataset, m_file, m_graphs);

    EXPECT_TRUE(dataset.isAlarmEnabled(kLevelHigh));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(kLevelHigh), 50.0);
    EXPECT_EQ(dataset.alarmText(kLevelHigh), "Too high");
    EXPECT_FALSE(dataset.isAlarmEnabled(kLevelLow));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(kLevelLow), 5.0);
    EXPECT_EQ(dataset.alarmText(kLevelLow), " ");
    EXPECT_TRUE(dataset.isAlarmEnabled(toolkit::kLevelHighHigh));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(toolkit::kLevelHighHigh), 80.0);
    EXPECT_FALSE(dataset.isAlarmEnabled(toolkit::kLevelRate));
    EXPECT_EQ(dataset.alarmText(toolkit::kLevelRate), " ");

    const std::array<int, toolkit::kAlarmLevelCount> colours = {10, 4, 11, 13, 12, 1, 1};
    EXPECT_EQ(part.colours, colours);

    // The dataset now judges rows by these limits.
    const double high[] = {60.0};
    dataset.append(high);
    EXPECT_EQ(dataset.alarmState(0), kLevelHigh);
    const double normal[] = {20.0};
    dataset.append(normal);
    EXPECT_EQ(dataset.alarmState(0), kLevelNormal);
}

TEST_F(AlarmAttachment, WithoutAPartOnlyTheDatasetChanges)
{
    ASSERT_NE(m_chart, nullptr);
    WriteFileBytes(m_file, "[W1]\r\nA3=1,9,Low,-3\r\n");
    toolkit::RealTimeDataset dataset("", 1, {}, 0);
    AttachAlarms(*m_chart, "W1", nullptr, dataset, m_file, m_graphs);
    EXPECT_TRUE(dataset.isAlarmEnabled(kLevelLow));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(kLevelLow), -3.0);
    EXPECT_FALSE(dataset.isAlarmEnabled(kLevelHigh));
}

TEST_F(AlarmAttachment, TheAlarmIndicatorTakesTheLevelColours)
{
    ASSERT_NE(m_chart, nullptr);
    EXPECT_EQ(AttachAlarmIndicator(*m_chart, nullptr, "W1", m_file), nullptr);

    WriteFileBytes(m_file, "[W1]\r\nA1=0,2,Fine\r\nA2=1,5,Hot,10\r\nA5=0,6,Frozen,-10\r\n");
    toolkit::RealTimeDataset dataset("", 2, {}, 0);
    toolkit::AlarmIndicator* indicator = AttachAlarmIndicator(*m_chart, &dataset, "W1", m_file);
    ASSERT_NE(indicator, nullptr);
    const std::array<int, toolkit::kAlarmLevelCount> colours = {2, 5, 11, 10, 6, 1, 1};
    EXPECT_EQ(toolkit::AlarmColours(indicator).colours, colours);
}

}  // namespace
}  // namespace vexa::graphs
