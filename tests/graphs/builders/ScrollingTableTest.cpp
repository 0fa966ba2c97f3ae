#include "document/GraphDefinition.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"
#include "support/TestSupport.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vexa::graphs {
namespace {

GraphDefinition DefinitionOf(const std::vector<std::string>& names)
{
    GraphDefinition graph = DefaultGraphDefinition(kScrollingTabular);
    for (const std::string& name : names) {
        MeasurementSlot slot;
        slot.name = name;
        graph.measurements.push_back(slot);
    }
    return graph;
}

/// A list on a shown window, as a graph window holds it.
class ShownList {
public:
    explicit ShownList(const GraphDefinition& graph, const std::string& sectionKeys = {})
        : m_file(m_dir.path("VEXADSP.TMP"))
    {
        vexa::test::WriteFileBytes(m_file, "[W1]\r\nP=ScrollingTabular\r\n" + sectionKeys);
        GraphDefinition stored = ReadGraphDefinition("W1", m_file, m_file);
        stored.measurements = graph.measurements;
        m_list = CreateScrollingList(m_window, stored);
        m_list->resize(kSize);
        m_window.resize(kSize);
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }
    toolkit::ScrollingList& list() { return *m_list; }

    static constexpr QSize kSize{700, 300};

private:
    vexa::test::ScratchDir m_dir;
    std::string m_file;
    QWidget m_window;
    toolkit::ScrollingList* m_list = nullptr;
};

/// What the list shows now: its lines are laid out as the event loop would
/// before they are painted.
QImage Grab(toolkit::ScrollingList& list)
{
    list.doItemsLayout();
    return list.viewport()->grab().toImage();
}

TEST(ScrollingTable, ValuesShowWithTwoDecimalsAndNoBlanks)
{
    struct Case {
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {3.14159, "3.14"},   {1234.567, "1234.57"},     {-0.004, "-0.00"}, {0.0, "0.00"},
        {-12.5, "-12.50"},   {123456789.0, "123456789.00"}, {1e-9, "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatScrollingValue(c.value), QString::fromLatin1(c.shown)) << c.value;
}

TEST(ScrollingTable, LinesHoldTheTimeOfDayAndEachValueAfterATab)
{
    const GraphDefinition record = DefinitionOf({"FLOW", "T"});
    EXPECT_EQ(ScrollingHeader(record), QStringLiteral("Time        \tFLOW\tT"));
    const std::vector<double> values = {3.14159, -0.004};
    EXPECT_EQ(ScrollingDataLine(3723.25, values), QStringLiteral("01:02:03.250\t3.14\t-0.00"));
    EXPECT_EQ(ScrollingDataLine(0.0, values), QStringLiteral("00:00:00.000\t3.14\t-0.00"));
    EXPECT_EQ(ScrollingDataLine(86399.5, {}), QStringLiteral("23:59:59.500"));
}

TEST(ScrollingTable, EveryColumnIsWideEnoughForItsNameAndAtLeastThirtySixUnits)
{
    struct Case {
        std::vector<std::string> names;
        std::vector<int> stops;
    };
    const Case cases[] = {
        {{}, {46}},
        {{"A"}, {46, 82}},
        // Five characters make 4 x 5 + 16 = 36 units, six make 40.
        {{"FLOW", "LEVEL", "HEATER"}, {46, 82, 118, 158}},
        {{std::string(32, 'n')}, {46, 46 + 4 * 32 + 16}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollingTabStops(DefinitionOf(c.names)), c.stops) << c.names.size();
}

TEST(ScrollingTable, TheListTakesTheGraphsTabStopsAndEachSampleComesFirstUnderAFreshHeader)
{
    const GraphDefinition record = DefinitionOf({"A", "HEATER"});
    ShownList shown(record);
    toolkit::ScrollingList& list = shown.list();
    EXPECT_EQ(list.tabStops(), ScrollingTabStops(record));

    const std::vector<double> first = {1234.567, -0.004};
    AddScrollingRow(&list, record, first, 86399.5);
    EXPECT_EQ(list.lines(), (QStringList{ScrollingHeader(record), ScrollingDataLine(86399.5, first)}));
    const std::vector<double> second = {1.0, 2.0};
    AddScrollingRow(&list, record, second, 10.0);
    EXPECT_EQ(list.lines(), (QStringList{ScrollingHeader(record), ScrollingDataLine(10.0, second),
                                         ScrollingDataLine(86399.5, first)}));
    // Without a list a row goes nowhere.
    AddScrollingRow(nullptr, record, std::vector<double>{1.0}, 1.0);
}

TEST(ScrollingTable, TheListTakesItsColoursFromTheLabelFontAndTheWindowBackground)
{
    struct Case {
        const char* keys;
        int text;
        int background;
    };
    const Case cases[] = {
        {"", 0, 7},
        {"LF=None,0,0,14\r\nWB=1\r\n", 14, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        ShownList shown(DefinitionOf({"FLOW"}), c.keys);
        toolkit::ScrollingList& list = shown.list();
        EXPECT_EQ(list.palette().color(QPalette::Text), toolkit::PaletteColour(c.text));
        EXPECT_EQ(list.palette().color(QPalette::Base), toolkit::PaletteColour(c.background));
        AddScrollingRow(&list, DefinitionOf({"FLOW"}), std::vector<double>{1.5}, 10.0);
        const QImage image = Grab(list);
        const QColor background = toolkit::PaletteColour(c.background);
        EXPECT_EQ(image.pixelColor(image.width() - 5, image.height() - 5), background);
    }
}

}  // namespace
}  // namespace vexa::graphs
