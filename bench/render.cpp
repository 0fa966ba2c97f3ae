// Paints a graph page of every chart type into an image many times and
// reports the time per paint, one line per type. Each page is 1000 x 700
// with the measurements a full graph of its type has (eight; two for the XY
// plot, one for the meters), fed as a graph window's ticks feed it: 4000
// rows for the time history and the XY plot, whose pages draw them all, a
// full list of 200 lines for the scrolling table, and enough rows for the
// others to show values in and out of alarm. "fill" is the time to build
// the page and feed it its rows.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_render [paints [folder]]
//
// With a folder the last paint of each page is saved there as
// <type>.png, to look at.

#include "document/DisplayFormat.h"
#include "document/GraphDefinition.h"
#include "graphs/builders/ChartBuilders.h"
#include "graphs/builders/ChartStyle.h"
#include "graphs/builders/SampleFeed.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace vexa;
using Clock = std::chrono::steady_clock;

constexpr int kGraphIndex = 0;
constexpr int kWarmUpPaints = 20;
constexpr int kDefaultPaints = 300;
constexpr double kSampleSeconds = 0.05;
constexpr double kStartTime = 10.0 * 3600.0;
constexpr QSize kImageSize(1000, 700);
constexpr int kFullHistory = toolkit::RealTimeDataset::kHistoryRows;
constexpr int kFewRows = 100;
/// More samples than the scrolling table keeps lines for.
constexpr int kListRows = 250;

/// One page to measure.
struct Page {
    int type;
    int measurements;
    int rows;         ///< rows fed before the paints
    double targetMs;  ///< the most a paint may take
};

const std::vector<Page> kPages = {
    {kTimeHistory, 8, kFullHistory, 3.0},     {kXYPlot, 2, kFullHistory, 3.0},
    {kFixedTabular, 8, kFewRows, 2.0},        {kScrollingTabular, 8, kListRows, 2.0},
    {kHorizontalBarGraph, 8, kFewRows, 2.0},
    {kVerticalBarGraph, 8, kFewRows, 2.0},    {kMeter, 1, kFewRows, 2.0},
    {kArcMeter, 1, kFewRows, 2.0},            {kPieMeter, 1, kFewRows, 2.0},
    {kAnnunciator, 8, kFewRows, 2.0},
};

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

/// The type's name as the display file spells it (the names are literals).
const char* TypeName(int type)
{
    return GraphTypeName(type).data();
}

std::string SignalName(int k)
{
    return "SIGNAL" + std::to_string(k);
}

/// A display file of one graph of \p type with \p count measurements and
/// High and Low limits that the moving values cross, and its measurement
/// file.
void WriteDocument(const Page& page, const std::string& displayFile, const std::string& measurementFile)
{
    std::string display = "[W1]\r\nT=Plant overview\r\nP=" + std::string(TypeName(page.type)) +
                          "\r\nWC=Proportional\r\nUP=50\r\nA2=1,12,High,70\r\nA3=1,11,Low,-70\r\n";
    std::string mvx;
    for (int k = 1; k <= page.measurements; ++k) {
        display += NumberedKey("M", k) + "=" + SignalName(k) + "\r\n";
        mvx += "[" + SignalName(k) + "]\r\nL=-100.0\r\nH=100.0\r\nU=bar\r\nD=Signal " + std::to_string(k) +
               " of the plant overview\r\n";
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

struct Timing {
    double feedMs = 0.0;
    double meanMs = 0.0;
    double medianMs = 0.0;
    double slowestMs = 0.0;
};

/// Builds the chart page of a graph as its window does and feeds it
/// \p page's rows as the window's ticks do; false when it was not built.
bool BuildAndFeedChart(const Page& page, graphs::GraphResources& resources, QWidget& window,
                       std::vector<double>& values)
{
    resources.chartPage = toolkit::CreateChartPage(
        "PAGE0", &window, window.windowTitle(),
        [&](toolkit::ChartPage& target) {
            resources.chartWindow = toolkit::CreateChartWindow(target, graphs::ChartBuilderForType(resources),
                                                               toolkit::kWholeArea, kDefaultWindowBackground);
        },
        graphs::PageCharacteristic(resources.definition.characteristic), toolkit::PageStyle::Child);
    if (resources.chartPage == nullptr)
        return false;
    const QImage first = toolkit::RenderPageImage(*resources.chartPage, kImageSize);
    if (first.isNull() || !toolkit::ChartReady(resources.chartWindow) || resources.dataset == nullptr)
        return false;

    for (int i = 0; i < page.rows; ++i) {
        for (int k = 0; k < page.measurements; ++k)
            values[static_cast<std::size_t>(k)] = MovingValue(k, i);
        graphs::FeedSample(resources, values, kStartTime + i * kSampleSeconds);
    }
    return true;
}

/// Builds the page as a graph window does, feeds it and times its paints;
/// false when the page could not be built.
bool MeasurePage(const Page& page, int paints, const QString& saveFolder, Timing& timing)
{
    QTemporaryDir dir;
    const std::string displayFile = dir.filePath("VEXADSP.TMP").toStdString();
    const std::string measurementFile = dir.filePath("VEXAMVX.TMP").toStdString();
    WriteDocument(page, displayFile, measurementFile);

    // The resources as a graph window fills them.
    QWidget window;
    window.resize(kImageSize);
    graphs::GraphResources resources;
    resources.definition = ReadGraphDefinition(GraphSectionName(kGraphIndex + 1), displayFile, measurementFile);
    for (std::size_t k = 0; k < resources.definition.measurements.size(); ++k)
        resources.definition.measurements[k].nameIndex = static_cast<int>(k);
    resources.graphIndex = kGraphIndex;
    resources.graphWindow = &window;
    window.setWindowTitle(graphs::GraphCaption(resources.definition));

    QImage image(kImageSize, QImage::Format_ARGB32_Premultiplied);
    std::function<void()> paintOnce;
    std::vector<double> values(static_cast<std::size_t>(page.measurements));
    const auto feedStart = Clock::now();
    if (page.type == kScrollingTabular) {
        // The scrolling table is a list, not a chart: it is fed its lines and
        // painted as a widget.
        toolkit::ScrollingList* list = graphs::CreateScrollingList(window, resources.definition);
        if (list == nullptr)
            return false;
        list->resize(kImageSize);
        for (int i = 0; i < page.rows; ++i) {
            for (int k = 0; k < page.measurements; ++k)
                values[static_cast<std::size_t>(k)] = MovingValue(k, i);
            graphs::AddScrollingRow(list, resources.definition, values, kStartTime + i * kSampleSeconds);
        }
        paintOnce = [&image, list] {
            QPainter painter(&image);
            list->render(&painter);
        };
    } else if (!BuildAndFeedChart(page, resources, window, values)) {
        return false;
    } else {
        paintOnce = [&image, &resources] {
            QPainter painter(&image);
            toolkit::RenderPage(*resources.chartPage, painter);
        };
    }
    timing.feedMs = Milliseconds(Clock::now() - feedStart);
    for (int i = 0; i < kWarmUpPaints; ++i)
        paintOnce();

    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(paints));
    for (int i = 0; i < paints; ++i) {
        const auto start = Clock::now();
        paintOnce();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    timing.meanMs = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
    std::sort(times.begin(), times.end());
    timing.medianMs = times[times.size() / 2];
    timing.slowestMs = times.back();

    if (!saveFolder.isEmpty()) {
        const QString name = QString::fromLatin1(TypeName(page.type)).remove(QLatin1Char(' '));
        const QString path = QDir(saveFolder).filePath(name + QStringLiteral(".png"));
        if (!image.save(path))
            std::fprintf(stderr, "bench_render: cannot save %s\n", qPrintable(path));
    }
    resources.release();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultPaints;
    const QString saveFolder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    std::printf("%d paints of a %dx%d page after %d warm-up paints, times in ms\n\n", paints, kImageSize.width(),
                kImageSize.height(), kWarmUpPaints);
    std::printf("| %-18s | %8s | %5s | %7s | %6s | %6s | %7s | %6s | %-7s |\n", "type", "channels", "rows", "fill",
                "mean", "median", "slowest", "target", "");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n", "--------------------", "----------", "-------", "---------",
                "--------", "--------", "---------", "--------", "---------");
    bool allMet = true;
    for (const Page& page : kPages) {
        Timing timing;
        if (!MeasurePage(page, paints, saveFolder, timing)) {
            std::fprintf(stderr, "bench_render: the %s page was not built\n", TypeName(page.type));
            return 1;
        }
        const bool met = timing.medianMs <= page.targetMs;
        allMet = allMet && met;
        std::printf("| %-18s | %8d | %5d | %7.2f | %6.3f | %6.3f | %7.3f | %6.1f | %-7s |\n",
                    TypeName(page.type), page.measurements, page.rows, timing.feedMs, timing.meanMs,
                    timing.medianMs, timing.slowestMs, page.targetMs, met ? "met" : "NOT met");
    }
    std::printf("\nevery target: %s\n", allMet ? "met" : "NOT met");
    return 0;
}
