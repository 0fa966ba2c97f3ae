#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/RealTimeDataset.h"

#include <QPointer>
#include <QString>

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

/// Real-time datasets with their alarm limits, and the live elements drawn
/// from them. An element bound to a dataset reads it each time it paints;
/// AppendRow stores the row and schedules one repaint of the chart window,
/// so that many rows between two paints cost one paint.
namespace vexa::toolkit {

class ChartWindow;
class ChartContext;
class Axis;
class TimeLabels;
class ScrollingPlot;
class Readout;
class Legend;
class AlarmIndicator;

/// \p channelNames: none, or one per channel. \p historyRows 0 or 4000.
std::unique_ptr<RealTimeDataset> CreateDataset(const std::string& name, int channelCount, int code,
                                               const std::vector<std::string>& channelNames, int historyRows);
/// Appends one row (one value per channel) and schedules a repaint of
/// \p chart; never paints.
void AppendRow(RealTimeDataset& dataset, std::span<const double> row, const QPointer<ChartWindow>& chart);
/// Copies the newest values of \p channel, oldest first; returns the count.
int ReadChannelHistory(const RealTimeDataset& dataset, int channel, double* buffer, int capacity, int rows);
void DestroyDataset(std::unique_ptr<RealTimeDataset>& dataset);
void SetAlarmLimit(RealTimeDataset& dataset, int level, double limit, bool enabled, const std::string& text);
void SetAlarmHysteresis(RealTimeDataset& dataset, double lowHigh, double deviation);

/// The colours in which an indicator shows each alarm level. Bars, tables
/// and the alarm indicator have one.
struct AlarmPart {
    /// Light Green, Light Red, Light Cyan, Light Green, Light Red, Blue, Blue.
    std::array<int, kAlarmLevelCount> colours{10, 12, 11, 10, 12, 1, 1};
};
void SetAlarmColour(ChartWindow& chart, AlarmPart& part, int colour, int level);

/// The alarm indicator of a dataset: while a channel is in an enabled level,
/// the readout of that channel on the same chart shows the level's colour
/// and text. Levels 1 to 4 can be enabled; all start off.
AlarmIndicator* CreateAlarmIndicator(ChartWindow& chart, RealTimeDataset& dataset, int code1, int code2,
                                     const int* zeroWord, int code4, int code5, int code6);
void EnableAlarmLevel(ChartWindow& chart, AlarmIndicator* indicator, int level, bool on);
/// The indicator's level colours (SetAlarmColour sets them).
AlarmPart& AlarmColours(AlarmIndicator* indicator);

/// A time axis along the plot area's bottom, ticks every \p interval seconds.
Axis* CreateTimeAxis(ChartWindow& chart, ChartContext& context, double interval, int code1, int code2, int code3,
                     int code4);
/// Clock-time labels ("hh:mm:ss") under the time axis's ticks.
TimeLabels* CreateTimeLabels(ChartWindow& chart, ChartContext& context, Axis* timeAxis,
                             std::span<const int> codes);
/// The labels count from \p startTime (seconds since midnight).
void StartTimeLabels(ChartWindow& chart, TimeLabels* labels, double startTime);
/// The labels follow the plot's scrolling.
void LinkTimeLabels(TimeLabels* labels, ScrollingPlot* plot);
/// Grid lines at the ticks of \p axis that move with the scrolling plot.
void DrawRealTimeGrid(ChartWindow& chart, ChartContext& context, Axis* axis, int code1, int code2);

/// A strip chart of every channel of \p dataset except its time channel
/// (the dataset's last channel holds the seconds between rows). The newest
/// row is drawn at the right; once the trace reaches \p scrollFraction of
/// the plot width the plot scrolls so that the newest row stays there.
/// \p styles, \p widths and \p colours hold one entry per channel.
ScrollingPlot* CreateScrollingPlot(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                                   double scrollFraction, int code1, int code2, std::span<const int> styles,
                                   std::span<const int> widths, std::span<const int> colours);
/// The scroll position: the scale time at the plot's left edge.
double ScrollOrigin(const ScrollingPlot* plot);

/// A column of the newest values of \p channel (-1: all channels), one cell
/// each, in the current font, on palette colour \p background, with
/// \p decimals decimals; \p colours (one per channel) or null for the font's
/// colour.
Readout* CreateReadout(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                       const ChartRect& rect, int code1, int code2, const int* colours, int background, int code3,
                       int code4, int decimals, int code6, int code7);
/// A column of names, each in the colour of its trace on \p plot.
Legend* CreateLegend(ChartWindow& chart, ChartContext& context, const ChartRect& rect, int code1, int code2,
                     int code3, int background, int code4, const std::vector<std::string>& names,
                     ScrollingPlot* plot, int code5);

}  // namespace vexa::toolkit
