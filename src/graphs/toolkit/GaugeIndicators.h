#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/Palette.h"
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

/// Which way bars run: up the chart side by side, or across it one under
/// the other.
enum class BarOrientation { Vertical, Horizontal };

/// A value marked across the bars by a dashed line, labelled with its text.
struct BarMark {
    double value = 0.0;
    QString text;
};

/// One bar per channel of \p dataset, all on the scale \p scale, each
/// drawn from 0 to its channel's newest value and running as
/// \p orientation says. A bar is in its colour \p barColours[channel]
/// while its channel is normal and in its level's colour from the alarm
/// part, with the level's text, while in an alarm state. The scale marks
/// \p high and \p low. Texts are drawn in a font of the indicator's own.
/// Fills \p parts.
BarIndicator* CreateBarIndicator(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                                 const ValueRange& scale, BarOrientation orientation, const BarMark& high,
                                 const BarMark& low, std::span<const QColor> barColours,
                                 std::array<IndicatorPart, kBarParts>& parts);

/// The colours in which a dial shows its value's state: normal, High (High
/// High too), Low (Low Low too).
using DialAlarmColours = std::array<PaletteIndex, 3>;

/// Where a dial stands and how its scale runs. The dial is drawn around
/// \p centre with radius \p radius, where 1 is two thirds of the chart's
/// smaller side (a dial too big for its centre is made smaller until it
/// fits the window); its scale runs clockwise from \p endAngle to
/// \p startAngle (degrees, counter-clockwise from three o'clock: 315 and
/// 225 give a scale from lower left over the top to lower right).
struct DialGeometry {
    ChartPoint centre{0.5, 0.5};
    double radius = 0.6;
    double startAngle = 315.0;
    double endAngle = 225.0;
};

/// A needle dial's hub: its colour, its radius and the needles' width at
/// it, both as fractions of the dial's radius.
struct NeedleHub {
    PaletteIndex colour = palette::kRed;
    double size = 0.08;
    double needleWidth = 0.02;
};

/// The colours of an arc or pie dial: of the band or slice that shows the
/// value, and of the track it fills.
struct DialFill {
    PaletteIndex colour = palette::kRed;
    PaletteIndex track = palette::kLightGray;
};

/// The three dials. Each stands as \p geometry says, its scale from the
/// minimum to the maximum of \p range with ticks every \p tickInterval,
/// numbered in the current font, in the current line colour. A readout box
/// under the centre shows the value on the colour of its alarm state
/// (\p alarmColours).

/// A needle for \p channel (kAllChannels: one for every channel, each in
/// its \p needleColours colour) around \p hub.
Dial* CreateMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                  const ValueRange& range, double tickInterval, const DialGeometry& geometry, const NeedleHub& hub,
                  std::span<const PaletteIndex> needleColours, const DialAlarmColours& alarmColours);
/// A band \p bandWidth wide (a fraction of the dial's radius) filled from
/// \p reference to the value of \p channel.
Dial* CreateArcMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     const ValueRange& range, double reference, double tickInterval, const DialGeometry& geometry,
                     const DialFill& fill, double bandWidth, const DialAlarmColours& alarmColours);
/// A pie slice from \p reference to the value of \p channel.
Dial* CreatePieMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     const ValueRange& range, double reference, double tickInterval, const DialGeometry& geometry,
                     const DialFill& fill, const DialAlarmColours& alarmColours);

}  // namespace vexa::toolkit
