#include "graphs/core/AlarmAttachment.h"

#include "document/GraphDefinition.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"
#include "support/TestSupport.h"

#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

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

    /// The definition of graph section \p section of the scratch display
    /// file, with \p measurements.
    GraphDefinition graph(const std::string& section, std::vector<MeasurementSlot> measurements = {}) const
    {
        GraphDefinition definition = ReadGraphDefinition(section, m_file, m_file);
        definition.measurements = std::move(measurements);
        return definition;
    }

    ScratchDir m_dir;
    std::string m_file = m_dir.path("VEXADSP.TMP");
    QWidget m_owner;
    QPointer<toolkit::ChartPage> m_page;
    QPointer<toolkit::ChartWindow> m_chart;
};

TEST_F(AlarmAttachment, LevelsReachTheDatasetAndColoursThePartEnabledOrNot)
{
    ASSERT_NE(m_chart, nullptr);
    WriteFileBytes(m_file, "[W12]\r\nAH=0.5\r\nA2=1,4,Too high\r\nA3=0,11,Cold,5\r\nA4=1,13,Far too high,80\r\n");
    toolkit::RealTimeDataset dataset("", 1, {}, 0);
    toolkit::AlarmPart part;

    AttachAlarms(*m_chart, graph("W12", {Slot(0, 50)}), &part, dataset);

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
    AttachAlarms(*m_chart, graph("W1"), nullptr, dataset);
    EXPECT_TRUE(dataset.isAlarmEnabled(kLevelLow));
    EXPECT_DOUBLE_EQ(dataset.alarmLimit(kLevelLow), -3.0);
    EXPECT_FALSE(dataset.isAlarmEnabled(kLevelHigh));
}

TEST_F(AlarmAttachment, TheAlarmIndicatorTakesTheLevelColours)
{
    ASSERT_NE(m_chart, nullptr);
    WriteFileBytes(m_file, "[W1]\r\n");
    EXPECT_EQ(AttachAlarmIndicator(*m_chart, nullptr, graph("W1")), nullptr);

    WriteFileBytes(m_file, "[W1]\r\nA1=0,2,Fine\r\nA2=1,5,Hot,10\r\nA5=0,6,Frozen,-10\r\n");
    toolkit::RealTimeDataset dataset("", 2, {}, 0);
    toolkit::AlarmIndicator* indicator = AttachAlarmIndicator(*m_chart, &dataset, graph("W1"));
    ASSERT_NE(indicator, nullptr);
    const std::array<int, toolkit::kAlarmLevelCount> colours = {2, 5, 11, 10, 6, 1, 1};
    EXPECT_EQ(toolkit::AlarmColours(indicator).colours, colours);
}

}  // namespace
}  // namespace vexa::graphs
