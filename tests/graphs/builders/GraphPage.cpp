#include "GraphPage.h"

#include "graphs/ValueConversion.h"
#include "graphs/builders/ChartBuilders.h"
#include "graphs/builders/ChartStyle.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vexa::graphs::test {

using vexa::test::WriteFileBytes;

GraphPage::GraphPage(int type, const std::vector<TestMeasurement>& measurements, const std::string& sectionKeys)
    : m_displayFile(m_dir.path("VEXADSP.TMP")), m_measurementFile(m_dir.path("VEXAMVX.TMP"))
{
    std::string display = "[W4]\r\nT=Boiler\r\nP=" + std::string(GraphTypeName(type)) + "\r\n";
    std::string mvx;
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        const TestMeasurement& m = measurements[i];
        display += NumberedKey("M", static_cast<int>(i) + 1) + "=" + m.name + "\r\n";
        mvx += "[" + m.name + "]\r\nL=" + std::to_string(m.minimum) + "\r\nH=" + std::to_string(m.maximum) + "\r\n";
        if (!m.description.empty())
            mvx += "D=" + m.description + "\r\n";
    }
    WriteFileBytes(m_displayFile, display + sectionKeys);
    WriteFileBytes(m_measurementFile, mvx);

    GraphRecord& record = m_graphs.record(kGraphIndex);
    record.window = &m_window;
    record.type = type;
    record.characteristic = kProportionalCharacteristic;
    record.updatePeriod = kDefaultUpdatePeriodMs;
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        MeasurementSlot& slot = record.measurements[i];
        slot.name = measurements[i].name;
        slot.nameIndex = static_cast<int>(i);
        ReadMeasurementDefinition(measurements[i].name, slot, m_measurementFile);
    }
    record.measurementCount = static_cast<int>(measurements.size());
    record.resources = &m_resources;

    m_resources.graphIndex = kGraphIndex;
    m_resources.section = GraphSectionName(kGraphIndex + 1);
    m_resources.displayFile = m_displayFile;
    m_resources.graphs = &m_graphs;
    m_resources.graphWindow = &m_window;
    m_window.setWindowTitle("Boiler pressure");
    m_window.resize(kWidth, kHeight);

    m_resources.chartPage = toolkit::CreateChartPage(
        "PAGE3", &m_window, m_window.windowTitle(),
        [this](toolkit::ChartPage& page) {
            const GraphRecord& graph = m_graphs.record(kGraphIndex);
            m_resources.chartWindow = toolkit::CreateChartWindow(
                page, ChartBuilderForType(graph.type, graph, m_resources), toolkit::kWholeArea,
                kDefaultWindowBackground);
        },
        PageCharacteristic(record.characteristic), toolkit::PageStyle::Child);
    EXPECT_NE(m_resources.chartPage, nullptr);
}

GraphPage::~GraphPage()
{
    m_resources.release();
}

QImage GraphPage::render()
{
    if (m_resources.chartPage == nullptr)
        return {};
    return toolkit::RenderPageImage(*m_resources.chartPage, {kWidth, kHeight});
}

void GraphPage::feed(const std::vector<double>& values, double timeStamp)
{
    std::vector<double> row = values;
    TimeHistoryState* history = m_resources.historyState.get();
    if (history != nullptr) {
        if (!TakeTimeHistorySample(m_resources, values, timeStamp, row))
            return;
        if (history->firstSamplePending) {
            history->firstSamplePending = false;
            toolkit::StartTimeLabels(*m_resources.chartWindow, history->timeLabels, timeStamp);
        }
    }
    toolkit::UseToolkitState();
    if (!toolkit::PageExists(m_resources.chartPage) || !toolkit::ChartReady(m_resources.chartWindow))
        return;
    if (m_resources.dataset)
        toolkit::AppendRow(*m_resources.dataset, row, m_resources.chartWindow);
    if (history != nullptr && history->currentValues)
        toolkit::AppendRow(*history->currentValues, row, m_resources.chartWindow);
}

QPushButton* FindButton(QWidget& parent, const QString& caption)
{
    for (QPushButton* button : parent.findChildren<QPushButton*>()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

namespace {

bool IsNear(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

template <typename Predicate>
int CountPixels(const QImage& image, double left, double top, double right, double bottom, Predicate predicate)
{
    int count = 0;
    const int x0 = static_cast<int>(left * image.width());
    const int x1 = static_cast<int>(right * image.width());
    const int y0 = static_cast<int>(top * image.height());
    const int y1 = static_cast<int>(bottom * image.height());
    for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, image.width()); ++x) {
            if (predicate(image.pixel(x, y)))
                ++count;
        }
    }
    return count;
}

}  // namespace

int CountPixelsNear(const QImage& image, double left, double top, double right, double bottom, const QColor& colour,
                    int tolerance)
{
    return CountPixels(image, left, top, right, bottom,
                       [&](QRgb pixel) { return IsNear(pixel, colour, tolerance); });
}

int CountPixelsNotNear(const QImage& image, double left, double top, double right, double bottom,
                       const QColor& background, int tolerance)
{
    return CountPixels(image, left, top, right, bottom,
                       [&](QRgb pixel) { return !IsNear(pixel, background, tolerance); });
}

}  // namespace vexa::graphs::test
