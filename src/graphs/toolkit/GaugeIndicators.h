#pragma once

#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <QColor>
#include <QString>

#include <array>
#include <span>

/// The live indicators that show values on a scale: bars and dials. Like
/// every real-time element they read their dataset when they paint;
/// AppendRow only schedules the paint.
namespace vexa::toolkit {

class BarIndicator;
class Dial;

/// The parts of a bar indicator.
inline constexpr int kBarParts = 11;
inline constexpr int kBarTitlePart = 0;       ///< the dataset's name
inline constexpr int kBarValueAxisPart = 1;   ///< the axis of the scale
inline constexpr int kBarLabelPart = 2;       ///< the channels' names
inline constexpr int kBarChannelAxisPart = 5; ///< the axis the bars stand on
inline constexpr int kBarAlarmPart = 10;
/// Orientation codes of CreateBarIndicator.
inline constexpr int kVerticalBars = 0;
inline constexpr int kHorizontalBars = 1;

/// One bar per channel of \p dataset, all on one scale from \p minimum to
/// \p maximum, each drawn from 0 to its channel's newest value: across the
/// chart, one under the other (kHorizontalBars), or up the chart side by
/// side (kVerticalBars). A bar is in its colour \p barColours[channel]
/// while its channel is normal and in its level's colour from the alarm
/// part, with the level's text, while in an alarm state. The scale marks
/// \p high and \p low with \p highText and \p lowText. Texts are drawn in a
/// font of the indicator's own. Fills \p parts.
BarIndicator* CreateBarIndicator(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                                 double minimum, double maximum, int code1, int code2, int orientation, int code3,
                                 int code4, int code5, double high, double low, const QString& highText,
                                 const QString& lowText, std::span<const QColor> barColours,
                                 std::array<IndicatorPart, kBarParts>& parts);

/// The colours (palette indexes) in which a dial shows its value's state:
/// normal, High (High High too), Low (Low Low too).
using DialAlarmColours = std::array<int, 3>;

/// The three dials. Each is drawn around (\p centreX, \p centreY) of the
/// chart (fractions of it) with radius \p radius, where 1 is two thirds of
/// the chart's smaller side (a dial too big for its centre is made smaller
/// until it fits the window), its scale from \p minimum to \p maximum
/// running clockwise from \p endAngle to \p startAngle (degrees,
/// counter-clockwise from three o'clock: 315 and 225 give a scale from
/// lower left over the top to lower right), ticks every \p tickInterval,
/// numbered in the current font, in the current line colour. A readout box
/// under the centre shows the value on the colour of its alarm state. The
/// codes change nothing, and neither do the arc and pie dials' sizes other
/// than the band's width.

/// A needle for \p channel (-1: one for every channel, each in its
/// \p dataColours colour) around a hub in \p hubColour. \p size is the
/// hub's radius and \p lastSize the needle's width at the hub, both as
/// fractions of the dial's radius.
Dial* CreateMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                  double minimum, double maximum, double centreX, double centreY, double radius, double startAngle,
                  double endAngle, int hubColour, std::span<const int> dataColours, double size,
                  double tickInterval, std::span<const int> codes, double lastSize,
                  const DialAlarmColours& alarmColours);
/// A band in \p colour on \p background filled from \p reference to the
/// value of \p channel; \p bandWidth is the band's width.
Dial* CreateArcMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     double minimum, double maximum, double reference, double centreX, double centreY,
                     double radius, double startAngle, double endAngle, int colour, int background,
                     double bandWidth, double size, double tickInterval, std::span<const int> codes,
                     double lastSize, const DialAlarmColours& alarmColours);
/// A pie slice in \p colour on \p background from \p reference to the value
/// of \p channel.
Dial* CreatePieMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     double minimum, double maximum, double reference, double centreX, double centreY,
                     double radius, double startAngle, double endAngle, int colour, int background, double size,
                     double tickInterval, std::span<const int> codes, double lastSize,
                     const DialAlarmColours& alarmColours);

}  // namespace vexa::toolkit
