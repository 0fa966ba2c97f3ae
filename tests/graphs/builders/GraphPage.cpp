#include "GraphPage.h"

#include "graphs/builders/ChartBuilders.h"
#include "graphs/builders/ChartStyle.h"
#include "graphs/builders/SampleFeed.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Toolkit.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vexa::graphs::test {

using vexa::test::WriteFileBytes;

GraphPage::GraphPage(int type, const std::vector<TestMeasurement>& measurements, const std::string& sectionKeys)
    : m_displayFile(m_dir.path("VEXADSP.TMP")), m_measurementFile(m_dir.path("VEXAMVX.TMP"))
{
    std::string display = "[W4]\r\nT=Boiler pressure\r\nP=" + std::string(GraphTypeName(type)) + "\r\n";
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

    GraphDefinition& graph = m_resources.definition;
    graph = ReadGraphDefinition(GraphSectionName(kGraphIndex + 1), m_displayFile, m_measurementFile);
    // A type that is none of the ten has no name in the file.
    graph.type = type;
    for (std::size_t i = 0; i < graph.measurements.size(); ++i)
        graph.measurements[i].nameIndex = static_cast<int>(i);
    m_resources.graphIndex = kGraphIndex;
    m_resources.graphWindow = &m_window;
    m_window.setWindowTitle(GraphCaption(graph));
    m_window.resize(kWidth, kHeight);

    m_resources.chartPage = toolkit::CreateChartPage(
        "PAGE3", &m_window, m_window.windowTitle(),
        [this](toolkit::ChartPage& page) {
            m_resources.chartWindow = toolkit::CreateChartWindow(page, ChartBuilderForType(m_resources),
                                                                 toolkit::kWholeArea, kDefaultWindowBackground);
        },
        PageCharacteristic(graph.characteristic), toolkit::PageStyle::Child);
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
    FeedSample(m_resources, values, timeStamp);
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
