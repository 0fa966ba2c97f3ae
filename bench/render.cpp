// Paints a full time history page into an image many times and reports the
// time per paint. The page has eight measurements and a full history of
// 4000 rows, 50 ms apart, as a graph window shows it after 200 s.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_render [paints [image.png]]
//
// With an image path the last paint is saved there, to look at.

#include "document/DisplayFormat.h"
#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/builders/ChartBuilders.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace vexa;
using Clock = std::chrono::steady_clock;

constexpr int kMeasurements = 8;
constexpr int kGraphIndex = 0;
constexpr int kWarmUpPaints = 20;
constexpr int kDefaultPaints = 300;
constexpr double kSampleSeconds = 0.05;
constexpr double kStartTime = 10.0 * 3600.0;
constexpr double kTargetMs = 3.0;
constexpr QSize kImageSize(1000, 700);

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

/// A display file of one time history graph with eight measurements, and
/// their measurement file.
void WriteDocument(const std::string& displayFile, const std::string& measurementFile)
{
    std::string display = "[W1]\r\nT=Plant overview\r\nP=TimeHistory\r\nWC=Proportional\r\nUP=50\r\n"
                          "A2=1,12,High,90\r\nA3=1,11,Low,-90\r\n";
    std::string mvx;
    for (int k = 1; k <= kMeasurements; ++k) {
        const std::string name = "SIGNAL" + std::to_string(k);
        display += NumberedKey("M", k) + "=" + name + "\r\n";
        mvx += "[" + name + "]\r\nL=-100.0\r\nH=100.0\r\nU=bar\r\nD=Signal " + std::to_string(k) + "\r\n";
    }
    WriteFile(displayFile, display);
    WriteFile(measurementFile, mvx);
}

/// A value of measurement \p k at sample \p i: a slow sine with a little
/// ripple, each measurement on its own phase.
double MovingValue(int k, int i)
{
    const double t = i * kSampleSeconds;
    return 80.0 * std::sin(t * 0.3 + k) + 5.0 * std::sin(t * 7.0 + 2.0 * k);
}

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultPaints;

    QTemporaryDir dir;
    const std::string displayFile = dir.filePath("VEXADSP.TMP").toStdString();
    const std::string measurementFile = dir.filePath("VEXAMVX.TMP").toStdString();
    WriteDocument(displayFile, measurementFile);

    // The record and resources as a graph window fills them.
    GraphTable graphs;
    QWidget window;
    window.setWindowTitle("Plant overview");
    window.resize(kImageSize);
    graphs::GraphResources resources;
    GraphRecord& record = graphs.record(kGraphIndex);
    record.window = &window;
    record.type = kTimeHistory;
    record.characteristic = kProportionalCharacteristic;
    record.updatePeriod = 50;
    for (int k = 0; k < kMeasurements; ++k) {
        MeasurementSlot& slot = record.measurements[static_cast<std::size_t>(k)];
        slot.name = "SIGNAL" + std::to_string(k + 1);
        slot.nameIndex = k;
        graphs::ReadMeasurementDefinition(slot.name, slot, measurementFile);
    }
    record.measurementCount = kMeasurements;
    record.resources = &resources;
    resources.graphIndex = kGraphIndex;
    resources.section = GraphSectionName(kGraphIndex + 1);
    resources.displayFile = displayFile;
    resources.graphs = &graphs;
    resources.graphWindow = &window;

    resources.chartPage = toolkit::CreateChartPage(
        "PAGE0", &window, window.windowTitle(),
        [&](toolkit::ChartPage& page) {
            resources.chartWindow = toolkit::CreateChartWindow(
                page, graphs::ChartBuilderForType(record.type, record, resources), {0.0, 0.0, 1.0, 1.0},
                kDefaultWindowBackground, -1, 0);
        },
        7, record.characteristic, toolkit::PageStyle::Child);
    if (resources.chartPage == nullptr) {
        std::fprintf(stderr, "bench_render: the chart page could not be created\n");
        return 1;
    }
    const QImage first = toolkit::RenderPageImage(*resources.chartPage, kImageSize);
    if (first.isNull() || !toolkit::ChartReady(resources.chartWindow) || resources.historyState == nullptr) {
        std::fprintf(stderr, "bench_render: the time history chart was not built\n");
        return 1;
    }

    // A full history, fed as the graph window's tick feeds it.
    const auto feedStart = Clock::now();
    std::vector<double> values(kMeasurements);
    std::vector<double> row;
    for (int i = 0; i < toolkit::RealTimeDataset::kHistoryRows; ++i) {
        for (int k = 0; k < kMeasurements; ++k)
            values[static_cast<std::size_t>(k)] = MovingValue(k, i);
        const double timeStamp = kStartTime + i * kSampleSeconds;
        if (!graphs::TakeTimeHistorySample(resources, values, timeStamp, row))
            continue;
        graphs::TimeHistoryState& state = *resources.historyState;
        if (state.firstSamplePending) {
            state.firstSamplePending = false;
            toolkit::StartTimeLabels(*resources.chartWindow, state.timeLabels, timeStamp);
        }
        toolkit::AppendRow(*resources.dataset, row, resources.chartWindow);
        toolkit::AppendRow(*state.currentValues, row, resources.chartWindow);
    }
    const double feedMs = Milliseconds(Clock::now() - feedStart);

    QImage image(kImageSize, QImage::Format_ARGB32_Premultiplied);
    auto paintOnce = [&] {
        QPainter painter(&image);
        toolkit::RenderPage(*resources.chartPage, painter);
    };
    for (int i = 0; i < kWarmUpPaints; ++i)
        paintOnce();

    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(paints));
    for (int i = 0; i < paints; ++i) {
        const auto start = Clock::now();
        paintOnce();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];

    if (argc > 2 && !image.save(QString::fromLocal8Bit(argv[2])))
        std::fprintf(stderr, "bench_render: cannot save %s\n", argv[2]);
    std::printf("time history page, %d measurements, %d rows, %dx%d image\n", kMeasurements,
                resources.dataset->rowCount(), kImageSize.width(), kImageSize.height());
    std::printf("feeding %d rows: %.2f ms (%.4f ms per row)\n", toolkit::RealTimeDataset::kHistoryRows, feedMs,
                feedMs / toolkit::RealTimeDataset::kHistoryRows);
    std::printf("%d paints after %d warm-up paints: mean %.3f ms, median %.3f ms, fastest %.3f ms, slowest %.3f ms\n",
                paints, kWarmUpPaints, mean, median, times.front(), times.back());
    std::printf("target: at most %.1f ms per paint -> %s\n", kTargetMs, median <= kTargetMs ? "met" : "NOT met");
    resources.release();
    return 0;
}
