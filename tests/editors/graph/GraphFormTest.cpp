#include "editors/graph/GraphForm.h"
#include "editors/graph/TypeControls.h"

#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace vexa::editors {
namespace {

/// A TimeHistory form that passes every check.
GraphForm ValidForm()
{
    GraphForm form;
    form.title = "Pressure";
    form.type = kTimeHistory;
    form.characteristic = kProportionalCharacteristic;
    form.updateRate = "500";
    form.measurements = {"Alpha", "beta"};
    form.size = {"0", "0", "1", "1"};
    return form;
}

TEST(SaveChecks, EachCheckGivesItsTextInOrder)
{
    const std::vector<std::string> others{"Other", "Pressure2"};
    const struct {
        const char* what;
        std::function<void(GraphForm&)> change;
        bool titleChanged;
        const char* text;
    } cases[] = {
        {"valid", [](GraphForm&) {}, true, ""},
        {"empty title before everything", [](GraphForm& f) { f = GraphForm{}; }, false,
         "Please enter a title before saving this graph."},
        {"title in use", [](GraphForm& f) { f.title = "Other"; f.type = kNoGraphType; }, true,
         "Please select another title for this graph. This title is already in use by another graph window."},
        {"title in use but unchanged", [](GraphForm& f) { f.title = "Other"; }, false, ""},
        {"title differing in case", [](GraphForm& f) { f.title = "other"; }, true, ""},
        {"no type", [](GraphForm& f) { f.type = kNoGraphType; f.characteristic = kNoCharacteristic; }, false,
         "Please select a Plot Type before exiting."},
        {"no characteristic", [](GraphForm& f) { f.characteristic = kNoCharacteristic; f.updateRate = "1"; }, false,
         "Please select a Window Characteristic before exiting."},
        {"rate 9", [](GraphForm& f) { f.updateRate = "9"; f.measurements.clear(); }, false,
         "Invalid Update Rate Entered. You must enter an update rate in milliseconds as a number greater than 10"},
        {"rate abc", [](GraphForm& f) { f.updateRate = "abc"; }, false,
         "Invalid Update Rate Entered. You must enter an update rate in milliseconds as a number greater than 10"},
        {"rate empty", [](GraphForm& f) { f.updateRate = ""; }, false,
         "Invalid Update Rate Entered. You must enter an update rate in milliseconds as a number greater than 10"},
        {"rate 10", [](GraphForm& f) { f.updateRate = "10"; }, false, ""},
        {"no measurements", [](GraphForm& f) { f.measurements.clear(); f.size[0] = "-1"; }, false,
         "Please assign one or more measurements to this graph."},
        {"XY plot with one, not the maximum check",
         [](GraphForm& f) { f.type = kXYPlot; f.measurements = {"Alpha"}; }, false,
         "This is an XY Plot. You must have exactly two measurements assigned to it."},
        {"XY plot with three", [](GraphForm& f) { f.type = kXYPlot; f.measurements = {"a", "b", "c"}; }, false,
         "This is an XY Plot. You must have exactly two measurements assigned to it."},
        {"meter with three", [](GraphForm& f) { f.type = kMeter; f.measurements = {"a", "b", "c"}; }, false,
         "There are too many measurements defined for this graph. The maximum number that can be defined is 1."},
        {"nine on a time history",
         [](GraphForm& f) { f.measurements = std::vector<std::string>(9, "a"); f.size[0] = "-1"; }, false,
         "There are too many measurements defined for this graph. The maximum number that can be defined is 8."},
        {"x", [](GraphForm& f) { f.size = {"-1", "-1", "0", "0"}; }, false,
         "You must enter a valid initial window starting X location"},
        {"y", [](GraphForm& f) { f.size = {"0", "-5", "0", "0"}; }, false,
         "You must enter a valid initial window starting Y location"},
        {"width", [](GraphForm& f) { f.size = {"0", "0", "abc", "0"}; }, false,
         "You must enter a valid initial window WIDTH"},
        {"height", [](GraphForm& f) { f.size = {"0", "0", "1", ""}; }, false,
         "You must enter a valid initial window HEIGHT"},
    };
    for (const auto& each : cases) {
        GraphForm form = ValidForm();
        each.change(form);
        EXPECT_EQ(FirstSaveProblem(form, each.titleChanged, others), each.text) << each.what;
    }
}

class WrittenSection : public ::testing::Test {
protected:
    /// The section's lines as the file holds them, keys only.
    std::vector<std::string> keys()
    {
        profile::Flush(m_file);
        return profile::ListKeys("W2", m_file);
    }

    test::ScratchDir m_dir;
    std::string m_file = m_dir.path("VEXATMP.TMP");
};

GraphForm FullForm(int type)
{
    GraphForm form = ValidForm();
    form.type = type;
    const TypeControls controls = ControlsForType(type);
    for (int k = 0; k < kMaxMeasurementsPerGraph; ++k)
        form.dataColours[static_cast<std::size_t>(k)] = k < controls.dataColours ? k + 1 : kNoColour;
    form.windowBackground = 7;
    form.plotBackground = controls.plotBackground ? 3 : kNoColour;
    const auto font = [](const FontGroupUse& use) {
        return use.enabled ? FontForm{true, "Liberation Sans", "10", kFontBold, 4} : FontForm{};
    };
    form.gridFont = font(controls.grid);
    form.labelFont = font(controls.label);
    form.titleFont = font(controls.title);
    for (int entry = 1; entry <= kAlarmEntryCount; ++entry) {
        AlarmRowForm& row = form.alarms[static_cast<std::size_t>(entry - 1)];
        row.enabled = controls.alarms[static_cast<std::size_t>(entry - 1)].check;
        row.checked = entry % 2 == 0;
        row.value = std::to_string(entry * 10);
        row.text = entry == kAlarmLow ? "" : "state,with comma";
        row.colour = entry == kAlarmRate ? kNoColour : entry + 5;
    }
    form.hysteresisEnabled = controls.hysteresis;
    form.lowHighHysteresis = "0.5";
    form.deviationHysteresis = "2";
    return form;
}

TEST_F(WrittenSection, KeysComeInTheirOrderAndReplaceTheOldSection)
{
    test::WriteFileBytes(m_file, "[W1]\r\nT=First\r\n[W2]\r\nT=Old\r\nM3=Stale\r\nXX=gone\r\n[V1]\r\nT=View\r\n");
    ASSERT_TRUE(WriteGraphSection(FullForm(kTimeHistory), "W2", m_file));
    EXPECT_EQ(keys(), (std::vector<std::string>{"T", "P", "WC", "UP", "AH", "A1", "A2", "A3", "A4", "A5", "A6",
                                                "A7", "M1", "M2", "R", "WB", "PC", "GF", "LF", "TF", "DC1", "DC2",
                                                "DC3", "DC4", "DC5", "DC6", "DC7", "DC8"}));
    const struct {
        const char* key;
        const char* value;
    } values[] = {
        {"T", "Pressure"}, {"P", "TimeHistory"}, {"WC", "Proportional"}, {"UP", "500"}, {"AH", "0.5 2"},
        {"A1", "0,6,state with comma"}, {"A2", "1,7,state with comma,20"}, {"A3", "0,8, ,30"},
        {"A6", "1,-1,state with comma,60"}, {"M1", "Alpha"}, {"M2", "beta"}, {"R", "0 0 1 1"}, {"WB", "7"},
        {"PC", "3"}, {"GF", "Liberation Sans,10,1,4"}, {"DC8", "8"},
    };
    profile::Flush(m_file);
    for (const auto& each : values)
        EXPECT_EQ(profile::ReadString("W2", each.key, "<absent>", m_file), each.value) << each.key;
    EXPECT_EQ(profile::ReadString("V1", "T", "", m_file), "View");
    EXPECT_EQ(profile::ReadString("W1", "T", "", m_file), "First");
}

TEST_F(WrittenSection, KeysOfControlsATypeDoesNotUseAreLeftOut)
{
    const struct {
        int type;
        std::vector<std::string> keys;
    } cases[] = {
        {kScrollingTabular, {"T", "P", "WC", "UP", "M1", "M2", "R", "WB", "LF"}},
        {kMeter, {"T", "P", "WC", "UP", "A1", "A2", "A3", "M1", "M2", "R", "WB", "GF", "LF", "TF", "DC1"}},
        {kFixedTabular, {"T", "P", "WC", "UP", "AH", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "M1", "M2", "R", "WB",
                         "TF", "DC1", "DC2", "DC3", "DC4", "DC5", "DC6", "DC7", "DC8"}},
    };
    for (const auto& each : cases) {
        test::WriteFileBytes(m_file, "[W2]\r\nAH=1 1\r\nA1=1,1,x\r\nDC1=3\r\nGF=Arial,8,0,0\r\n");
        profile::Flush(m_file);
        ASSERT_TRUE(WriteGraphSection(FullForm(each.type), "W2", m_file));
        EXPECT_EQ(keys(), each.keys) << each.type;
    }
}

TEST_F(WrittenSection, ThePreviewDrawsWhatTheSectionReadsBackAs)
{
    const std::string mvx = m_dir.path("VEXAMVX.TMP");
    test::WriteFileBytes(mvx, "[Alpha]\r\nL=-5\r\nH=20\r\n[beta]\r\nL=0\r\nH=300\r\n");
    for (int type = kTimeHistory; type <= kAnnunciator; ++type) {
        GraphForm form = FullForm(type);
        form.alarms[1].value = "";  // High without a limit takes the range's maximum
        form.alarms[2].text = std::string(40, 'x');
        ASSERT_TRUE(WriteGraphSection(form, "W2", m_file));
        profile::Flush(m_file);
        const GraphDefinition saved = ReadGraphDefinition("W2", m_file, mvx);
        const GraphDefinition preview = PreviewDefinition(form, mvx);
        EXPECT_EQ(preview.type, saved.type);
        EXPECT_EQ(preview.characteristic, saved.characteristic);
        EXPECT_EQ(preview.dataColours, saved.dataColours) << type;
        EXPECT_EQ(preview.windowBackground, saved.windowBackground);
        EXPECT_EQ(preview.plotBackground, saved.plotBackground) << type;
        EXPECT_EQ(preview.gridFont, saved.gridFont) << type;
        EXPECT_EQ(preview.labelFont, saved.labelFont) << type;
        EXPECT_EQ(preview.titleFont, saved.titleFont) << type;
        EXPECT_EQ(preview.alarms, saved.alarms) << type;
        EXPECT_EQ(preview.lowHighHysteresis, saved.lowHighHysteresis) << type;
        EXPECT_EQ(preview.deviationHysteresis, saved.deviationHysteresis) << type;
        ASSERT_EQ(preview.measurements.size(), saved.measurements.size());
        EXPECT_EQ(preview.measurements[1].maximum, 300.0);
        EXPECT_EQ(AlarmLimitText(preview, 1), AlarmLimitText(saved, 1));
    }
}

}  // namespace
}  // namespace vexa::editors
