#pragma once

#include "document/GraphDefinition.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/ChartWindow.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

class QPushButton;

namespace vexa::graphs::test {

/// One measurement of a test graph.
struct TestMeasurement {
    std::string name;
    double minimum = 0.0;
    double maximum = 100.0;
    std::string description = {};  ///< empty: the measurement file's default
};

/// A graph page as a graph window builds it: a display file and a
/// measurement file in a scratch directory, the graph's definition read from
/// them, a plain widget as the graph window, a child page on it and a chart
/// window with the builder of the graph's type.
class GraphPage {
public:
    static constexpr int kGraphIndex = 3;  ///< section "W4", page "PAGE3"
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    /// \p sectionKeys are further lines of the graph's section ("A2=1,12,High,60").
    GraphPage(int type, const std::vector<TestMeasurement>& measurements, const std::string& sectionKeys = {});
    ~GraphPage();

    /// Paints the graph page (building it on the first call).
    QImage render();
    /// Feeds one sample as the graph window's tick does.
    void feed(const std::vector<double>& values, double timeStamp = 0.0);

    /// The chart window, once render() has built it.
    toolkit::ChartWindow* chart() const { return m_resources.chartWindow; }
    /// The chart's elements of type \p Element (none before render()).
    template <typename Element>
    std::vector<Element*> elements() const
    {
        if (chart() == nullptr)
            return {};
        return chart()->template elementsOf<Element>();
    }

    GraphResources& resources() { return m_resources; }
    const GraphDefinition& definition() const { return m_resources.definition; }
    QWidget& window() { return m_window; }
    const std::string& displayFile() const { return m_displayFile; }

private:
    vexa::test::ScratchDir m_dir;
    std::string m_displayFile;
    std::string m_measurementFile;
    QWidget m_window;
    GraphResources m_resources;
};

/// The push button with \p caption on \p parent, or null.
QPushButton* FindButton(QWidget& parent, const QString& caption);

/// Pixels of \p image inside the fractional rectangle (left, top)-(right,
/// bottom) whose colour is within \p tolerance of \p colour in each channel.
int CountPixelsNear(const QImage& image, double left, double top, double right, double bottom, const QColor& colour,
                    int tolerance = 40);

/// Pixels inside the rectangle that differ from \p background.
int CountPixelsNotNear(const QImage& image, double left, double top, double right, double bottom,
                       const QColor& background, int tolerance = 40);

}  // namespace vexa::graphs::test
