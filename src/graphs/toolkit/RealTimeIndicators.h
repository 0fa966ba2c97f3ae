#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/Palette.h"
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
class AlarmShading;
class LimitLines;
struct LimitLine;

/// A dataset of \p channelCount channels. \p channelNames: none, or one per
/// channel. \p historyRows: RealTimeDataset::kNoHistory or
/// RealTimeDataset::kHistoryRows.
std::unique_ptr<RealTimeDataset> CreateDataset(const std::string& name, int channelCount,
                                               const std::vector<std::string>& channelNames, int historyRows);
/// Appends one row (one value per channel) and schedules a repaint of
/// \p chart; never paints.
void AppendRow(RealTimeDataset& dataset, std::span<const double> row, const QPointer<ChartWindow>& chart);
/// Copies the newest values of \p channel that fit \p buffer, oldest
/// first; returns the count.
int ReadChannelHistory(const RealTimeDataset& dataset, int channel, std::span<double> buffer);
/// The same for the rows' alarm states (the level that won over the row's
/// channels).
int ReadAlarmHistory(const RealTimeDataset& dataset, std::span<int> buffer);
void DestroyDataset(std::unique_ptr<RealTimeDataset>& dataset);
/// The limit of alarm \p level (an AlarmLevel) and the text it shows.
void SetAlarmLimit(RealTimeDataset& dataset, int level, double limit, bool enabled, const std::string& text);
void SetAlarmHysteresis(RealTimeDataset& dataset, double lowHigh, double deviation);

/// The colours in which an indicator shows each alarm level. Bars, tables
/// and the alarm indicator have one.
struct AlarmPart {
    std::array<PaletteIndex, kAlarmLevelCount> colours{
        palette::kLightGreen, palette::kLightRed, palette::kLightCyan, palette::kLightGreen,
        palette::kLightRed,   palette::kBlue,     palette::kBlue};
};
void SetAlarmColour(ChartWindow& chart, AlarmPart& part, PaletteIndex colour, int level);

/// The alarm indicator of a dataset: while a channel is in an enabled level,
/// the readout of that channel on the same chart shows the level's colour
/// and text. Levels 1 to 4 can be enabled; all start off.
AlarmIndicator* CreateAlarmIndicator(ChartWindow& chart, RealTimeDataset& dataset);
void EnableAlarmLevel(ChartWindow& chart, AlarmIndicator* indicator, int level, bool on);
/// The indicator's level colours (SetAlarmColour sets them).
AlarmPart& AlarmColours(AlarmIndicator* indicator);

/// A time axis along the plot area's bottom, ticks every \p tickInterval
/// seconds.
Axis* CreateTimeAxis(ChartWindow& chart, ChartContext& context, double tickInterval);
/// Clock-time labels ("hh:mm:ss") under the time axis's ticks, in the
/// current font.
TimeLabels* CreateTimeLabels(ChartWindow& chart, ChartContext& context, Axis* timeAxis);
/// The labels count from \p startTime (seconds since midnight).
void StartTimeLabels(ChartWindow& chart, TimeLabels* labels, double startTime);
/// The labels follow the plot's scrolling.
void LinkTimeLabels(TimeLabels* labels, ScrollingPlot* plot);
/// Grid lines at the ticks of \p axis that move with the scrolling plot.
void DrawRealTimeGrid(ChartWindow& chart, ChartContext& context, Axis* axis);

/// A strip chart of every channel of \p dataset except its time channel
/// (the dataset's last channel holds the seconds between rows). The newest
/// row is drawn at the right; once the trace reaches \p scrollFraction of
/// the plot width the plot scrolls so that the newest row stays there.
/// \p traces holds the lines of the channels in order; a channel past its
/// end is drawn in a thin solid line of its default colour.
ScrollingPlot* CreateScrollingPlot(ChartWindow& chart, RealTimeDataset& dataset, double scrollFraction,
                                   std::span<const LineAttributes> traces);
/// The scroll position: the scale time at the plot's left edge.
double ScrollOrigin(const ScrollingPlot* plot);

/// The channel of a readout that shows every channel.
inline constexpr int kAllChannels = -1;

/// Where a readout stands and how it shows its values.
struct ReadoutFormat {
    ChartRect rect;
    PaletteIndex background = palette::kLightGray;
    int decimals = 0;
};

/// A column of the newest values of \p channel (kAllChannels: all
/// channels), one cell each, in the current font, laid out as \p format
/// says. \p textColours: one per channel shown, or none for the font's
/// colour.
Readout* CreateReadout(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                       const ReadoutFormat& format, std::span<const PaletteIndex> textColours = {});
/// A column of names in \p rect on \p background, each in the colour of
/// its trace on \p plot.
Legend* CreateLegend(ChartWindow& chart, ChartContext& context, const ChartRect& rect, PaletteIndex background,
                     const std::vector<std::string>& names, ScrollingPlot* plot);

/// Tints the plot of the chart's scrolling plot, behind the traces, over
/// the time its dataset's rows were in an alarm level, each in its level's
/// colour (SetAlarmColour on the shading's colours). Created before the
/// grid so that the grid stays visible over it.
AlarmShading* ShadeAlarmPeriods(ChartWindow& chart);
/// The same for a history drawn from fixed rows: \p times on the x scale
/// and \p levels, the rows' alarm states, in time order.
AlarmShading* ShadeAlarmPeriods(ChartWindow& chart, std::vector<double> times, std::vector<int> levels);
/// The shading's level colours.
AlarmPart& AlarmColours(AlarmShading* shading);
/// A dashed line across the plot at each of \p lines' values, in its
/// colour.
LimitLines* DrawLimitLines(ChartWindow& chart, std::vector<LimitLine> lines);

}  // namespace vexa::toolkit
