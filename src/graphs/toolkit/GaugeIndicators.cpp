#include "graphs/toolkit/GaugeIndicators.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/BarIndicator.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Dial.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <algorithm>

namespace vexa::toolkit {

namespace {

/// The bar indicator's title: its own face and size, whatever the builder
/// selected, so that every bar graph is headed alike.
constexpr double kTitlePoints = 13.0;
constexpr ChartPoint kTitlePosition{0.5, 0.05};
/// The channel axis has a tick between neighbouring bars.
constexpr double kChannelTickInterval = 1.0;

QFont titleFont()
{
    QFont font(QString::fromLatin1(ChartContext::kDefaultFace));
    font.setPointSizeF(kTitlePoints);
    return font;
}

Axis* createBarAxis(ChartWindow& chart, AxisOrientation direction, double interval, const QPen& pen)
{
    Axis* axis = chart.addElement<Axis>(direction, interval, pen, false);
    axis->setAnchor(0.0);  // ticks on round values and on the zero line
    chart.registerAxis(axis);
    return axis;
}

Dial* createDial(ChartWindow& chart, const ChartContext& context, RealTimeDataset& dataset, Dial::Settings settings)
{
    settings.font = context.font;
    settings.lineColour = context.line.colour;
    return chart.addElement<Dial>(dataset, std::move(settings));
}

/// What every dial takes: its kind, channel, scale, geometry, ticks and
/// alarm colours.
Dial::Settings dialSettings(Dial::Kind kind, int channel, const ValueRange& range, double reference,
                            double tickInterval, const DialGeometry& geometry, const DialAlarmColours& alarmColours)
{
    Dial::Settings settings;
    settings.kind = kind;
    settings.channel = channel;
    settings.minimum = range.minimum;
    settings.maximum = range.maximum;
    settings.reference = reference;
    settings.centreX = geometry.centre.x;
    settings.centreY = geometry.centre.y;
    settings.radius = geometry.radius;
    settings.startAngle = geometry.startAngle;
    settings.endAngle = geometry.endAngle;
    settings.tickInterval = tickInterval;
    settings.alarmColours = alarmColours;
    return settings;
}

/// What the arc and pie dials take besides: the colours of their fill.
Dial::Settings filledDialSettings(Dial::Kind kind, int channel, const ValueRange& range, double reference,
                                  double tickInterval, const DialGeometry& geometry, const DialFill& fill,
                                  const DialAlarmColours& alarmColours)
{
    Dial::Settings settings = dialSettings(kind, channel, range, reference, tickInterval, geometry, alarmColours);
    settings.colour = fill.colour;
    settings.background = fill.track;
    return settings;
}

}  // namespace

BarIndicator* CreateBarIndicator(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                                 const ValueRange& scale, BarOrientation orientation, const BarMark& high,
                                 const BarMark& low, std::span<const QColor> barColours,
                                 std::array<IndicatorPart, kBarParts>& parts)
{
    parts = {};  // what the indicator has no piece for stays null
    auto* bars = chart.addElement<BarIndicator>(dataset, scale, orientation, high, low,
                                                std::vector<QColor>(barColours.begin(), barColours.end()));
    const bool horizontal = bars->orientation() == BarOrientation::Horizontal;
    const double lower = bars->minimum();
    const double upper = bars->maximum();
    const double zero = std::clamp(0.0, lower, upper);
    const double channels = bars->slotCount();
    // The value runs along one axis, the channels' slots along the other;
    // the bars stand on the zero line, where the channel axis crosses.
    PlotFrame& frame = chart.plotFrame();
    if (horizontal) {
        frame.setScale(lower, 0.0, upper, channels);
        frame.setCrossing(zero, 0.0);
    } else {
        frame.setScale(0.0, lower, channels, upper);
        frame.setCrossing(0.0, zero);
    }

    // Created after the bars, so that they paint over the bars' ends.
    const QPen pen = LinePen(LineStyle::Solid, kThinLine, PaletteColour(context.line.colour));
    const auto valueDirection = horizontal ? AxisOrientation::Horizontal : AxisOrientation::Vertical;
    const auto channelDirection = horizontal ? AxisOrientation::Vertical : AxisOrientation::Horizontal;
    Axis* valueAxis = createBarAxis(chart, valueDirection, bars->tickInterval(), pen);
    valueAxis->setLabels(AxisLabels::PlainNumbers, BarIndicator::LabelFont(), pen.color());
    Axis* channelAxis = createBarAxis(chart, channelDirection, kChannelTickInterval, pen);

    const QString name = SlotText(dataset.name());
    TextElement* title = chart.addElement<TextElement>(name, kTitlePosition, Justification::Centre, titleFont(),
                                                       PaletteColour(context.fontColour));
    bars->setTitle(title);

    parts[kBarTitlePart].text = title;
    parts[kBarValueAxisPart].axis = valueAxis;
    parts[kBarLabelPart].textColour = &bars->labelColour();
    parts[kBarChannelAxisPart].axis = channelAxis;
    parts[kBarAlarmPart].alarm = &bars->alarmPart();
    return bars;
}

Dial* CreateMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                  const ValueRange& range, double tickInterval, const DialGeometry& geometry, const NeedleHub& hub,
                  std::span<const PaletteIndex> needleColours, const DialAlarmColours& alarmColours)
{
    // A needle starts from the scale's minimum.
    Dial::Settings settings =
        dialSettings(Dial::Kind::Needle, channel, range, range.minimum, tickInterval, geometry, alarmColours);
    settings.hubColour = hub.colour;
    settings.needleColours.assign(needleColours.begin(), needleColours.end());
    settings.hubSize = hub.size;
    settings.needleWidth = hub.needleWidth;
    return createDial(chart, context, dataset, std::move(settings));
}

Dial* CreateArcMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     const ValueRange& range, double reference, double tickInterval, const DialGeometry& geometry,
                     const DialFill& fill, double bandWidth, const DialAlarmColours& alarmColours)
{
    Dial::Settings settings =
        filledDialSettings(Dial::Kind::Arc, channel, range, reference, tickInterval, geometry, fill, alarmColours);
    settings.bandWidth = bandWidth;
    return createDial(chart, context, dataset, std::move(settings));
}

Dial* CreatePieMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     const ValueRange& range, double reference, double tickInterval, const DialGeometry& geometry,
                     const DialFill& fill, const DialAlarmColours& alarmColours)
{
    return createDial(chart, context, dataset,
                      filledDialSettings(Dial::Kind::Pie, channel, range, reference, tickInterval, geometry, fill,
                                         alarmColours));
}

}  // namespace vexa::toolkit
