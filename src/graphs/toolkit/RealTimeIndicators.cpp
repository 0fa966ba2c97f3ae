#include "graphs/toolkit/RealTimeIndicators.h"

#include "graphs/toolkit/AlarmIndicator.h"
#include "graphs/toolkit/AlarmShading.h"
#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/GridLines.h"
#include "graphs/toolkit/Legend.h"
#include "graphs/toolkit/LimitLines.h"
#include "graphs/toolkit/Readout.h"
#include "graphs/toolkit/ScrollingPlot.h"
#include "graphs/toolkit/TimeLabels.h"

#include <algorithm>
#include <limits>

namespace vexa::toolkit {

std::unique_ptr<RealTimeDataset> CreateDataset(const std::string& name, int channelCount,
                                               const std::vector<std::string>& channelNames, int historyRows)
{
    return std::make_unique<RealTimeDataset>(name, std::max(channelCount, 0), channelNames, historyRows);
}

void AppendRow(RealTimeDataset& dataset, std::span<const double> row, const QPointer<ChartWindow>& chart)
{
    dataset.append(row);
    if (!chart.isNull()) {
        chart->updateRows();  // one repaint however many rows come before it
    }
}

int ReadChannelHistory(const RealTimeDataset& dataset, int channel, std::span<double> buffer)
{
    const int capacity = static_cast<int>(std::min<std::size_t>(buffer.size(), std::numeric_limits<int>::max()));
    return dataset.readChannel(channel, buffer.data(), capacity);
}

int ReadAlarmHistory(const RealTimeDataset& dataset, std::span<int> buffer)
{
    return dataset.readRowAlarmLevels(buffer);
}

void DestroyDataset(std::unique_ptr<RealTimeDataset>& dataset)
{
    dataset.reset();
}

void SetAlarmLimit(RealTimeDataset& dataset, int level, double limit, bool enabled, const std::string& text)
{
    dataset.setAlarmLimit(level, limit, enabled, text);
}

void SetAlarmHysteresis(RealTimeDataset& dataset, double lowHigh, double deviation)
{
    dataset.setAlarmHysteresis(lowHigh, deviation);
}

void SetAlarmColour(ChartWindow& chart, AlarmPart& part, PaletteIndex colour, int level)
{
    if (level < kLevelNormal || level >= kAlarmLevelCount) {
        return;
    }
    part.colours[static_cast<std::size_t>(level)] = colour;
    chart.restyle();
}

AlarmIndicator* CreateAlarmIndicator(ChartWindow& chart, RealTimeDataset& dataset)
{
    AlarmIndicator* indicator = chart.addElement<AlarmIndicator>(dataset);
    chart.registerAlarmIndicator(indicator);
    return indicator;
}

void EnableAlarmLevel(ChartWindow& chart, AlarmIndicator* indicator, int level, bool on)
{
    if (indicator == nullptr) {
        return;
    }
    indicator->enableLevel(level, on);
    chart.restyle();
}

AlarmPart& AlarmColours(AlarmIndicator* indicator)
{
    // Asking a missing indicator for its colours is a caller's fault; it
    // gets a part of its own rather than a crash.
    static AlarmPart unused;
    return indicator != nullptr ? indicator->colours() : unused;
}

Axis* CreateTimeAxis(ChartWindow& chart, ChartContext& context, double tickInterval)
{
    Axis* axis = chart.addElement<Axis>(AxisOrientation::Horizontal, tickInterval, LinePen(context.line), true);
    chart.registerAxis(axis);
    return axis;
}

TimeLabels* CreateTimeLabels(ChartWindow& chart, ChartContext& context, Axis* timeAxis)
{
    if (timeAxis == nullptr) {
        return nullptr;
    }
    return chart.addElement<TimeLabels>(*timeAxis, context.font, PaletteColour(context.fontColour));
}

void StartTimeLabels(ChartWindow& chart, TimeLabels* labels, double startTime)
{
    if (labels == nullptr) {
        return;
    }
    labels->start(startTime);
    chart.updateRows();  // the labels move with the rows: nothing steady changed
}

void LinkTimeLabels(TimeLabels* labels, ScrollingPlot* plot)
{
    if (labels != nullptr) {
        labels->link(plot);
    }
}

void DrawRealTimeGrid(ChartWindow& chart, ChartContext& context, Axis* axis)
{
    // The lines sit at the axis's ticks, which on a time axis move with the
    // scrolling plot.
    if (axis != nullptr) {
        chart.addElement<GridLines>(*axis, LinePen(context.line));
    }
}

ScrollingPlot* CreateScrollingPlot(ChartWindow& chart, RealTimeDataset& dataset, double scrollFraction,
                                   std::span<const LineAttributes> traces)
{
    ScrollingPlot* plot = chart.addElement<ScrollingPlot>(dataset, scrollFraction, traces);
    chart.registerScrollingPlot(plot);
    return plot;
}

double ScrollOrigin(const ScrollingPlot* plot)
{
    return plot != nullptr ? plot->scrollOrigin() : 0.0;
}

Readout* CreateReadout(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                       const ReadoutFormat& format, std::span<const PaletteIndex> textColours)
{
    // One colour per cell: the first for a readout of one channel.
    const auto cells = static_cast<std::size_t>(channel >= 0 ? 1 : std::max(dataset.channelCount(), 0));
    const std::span<const PaletteIndex> used = textColours.first(std::min(cells, textColours.size()));
    return chart.addElement<Readout>(dataset, channel, format, std::vector<PaletteIndex>(used.begin(), used.end()),
                                     context.font, context.fontColour);
}

Legend* CreateLegend(ChartWindow& chart, ChartContext& context, const ChartRect& rect, PaletteIndex background,
                     const std::vector<std::string>& names, ScrollingPlot* plot)
{
    std::vector<QString> texts;
    texts.reserve(names.size());
    for (const std::string& name : names) {
        // Names arrive as fixed-size slots: stop at the first NUL.
        texts.push_back(QString::fromLatin1(name.c_str()));
    }
    return chart.addElement<Legend>(rect, std::move(texts), plot, background, context.font, context.fontColour);
}

AlarmShading* ShadeAlarmPeriods(ChartWindow& chart)
{
    // The plot is created after the shading, which paints under it; it is
    // looked up when painting.
    std::vector<int> levels;
    std::vector<double> x;
    return chart.addElement<AlarmShading>(
        [&chart, x = std::move(x), levels = std::move(levels)](std::vector<AlarmSpan>& spans) mutable {
            ScrollingPlot* plot = chart.scrollingPlot();
            if (plot == nullptr) {
                return;
            }
            plot->visibleAlarmLevels(x, levels);
            CollectAlarmSpans(x, levels, spans);
        });
}

AlarmShading* ShadeAlarmPeriods(ChartWindow& chart, std::vector<double> times, std::vector<int> levels)
{
    std::vector<double> x;
    return chart.addElement<AlarmShading>(
        [&chart, times = std::move(times), levels = std::move(levels), x = std::move(x)](
            std::vector<AlarmSpan>& spans) mutable {
            const ScaleMap& map = chart.plotFrame().xMap();
            x.resize(times.size());
            std::transform(times.begin(), times.end(), x.begin(), [&map](double time) { return map.toPixel(time); });
            CollectAlarmSpans(x, levels, spans);
        });
}

AlarmPart& AlarmColours(AlarmShading* shading)
{
    static AlarmPart unused;
    return shading != nullptr ? shading->colours() : unused;
}

LimitLines* DrawLimitLines(ChartWindow& chart, std::vector<LimitLine> lines)
{
    return chart.addElement<LimitLines>(std::move(lines));
}

}  // namespace vexa::toolkit
