#pragma once

#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

namespace vexa::toolkit::test {

/// A strip chart page laid out as the time history graph lays out its main
/// chart: plot (0.1, 0.1)-(0.8, 0.9) over 0 ... 20 s and 0 ... 100, a time
/// axis with clock labels, a readout and a legend on the right, an alarm
/// indicator with High at 80. Built lazily, like every page.
class StripChartPage {
public:
    static constexpr double kScrollFraction = 0.9;
    static constexpr double kHighLimit = 80.0;
    static constexpr double kFirstTimeOfDay = 45296.0;  // 12:34:56

    explicit StripChartPage(std::vector<PaletteIndex> colours);

    /// Builds page and chart (as the first paint would).
    void build();
    /// Appends one row to both datasets: \p values and the time difference.
    void append(const std::vector<double>& values, double seconds);
    QImage render(const QSize& size = {1000, 700});

    QWidget owner;
    QPointer<ChartPage> page;
    QPointer<ChartWindow> chart;
    std::unique_ptr<RealTimeDataset> history;  ///< values and the time difference
    std::unique_ptr<RealTimeDataset> current;  ///< the values
    ScrollingPlot* plot = nullptr;
    Axis* timeAxis = nullptr;
    TimeLabels* labels = nullptr;
    Readout* readout = nullptr;
    AlarmIndicator* indicator = nullptr;
    int builderRuns = 0;

private:
    void buildChart(ChartWindow& window, ChartContext& context);

    std::vector<PaletteIndex> m_colours;
};

/// The bounding box of the pixels of \p image inside \p area that differ
/// from \p background.
QRect InkBounds(const QImage& image, const QRect& area, const QColor& background);

}  // namespace vexa::toolkit::test
