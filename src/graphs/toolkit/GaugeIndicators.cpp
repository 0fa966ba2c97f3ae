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
constexpr double kTitleX = 0.5;
constexpr double kTitleY = 0.05;
/// The channel axis has a tick between neighbouring bars.
constexpr double kChannelTickInterval = 1.0;
constexpr int kPlainNumbers = 0;
constexpr int kSolidLine = 0;
constexpr int kAxisWidth = 1;

QFont titleFont()
{
    QFont font(QString::fromLatin1(ChartContext::kDefaultFace));
    font.setPointSizeF(kTitlePoints);
    return font;
}

Axis* createBarAxis(ChartWindow& chart, Axis::Direction direction, double interval, const QPen& pen)
{
    Axis* axis = chart.addElement<Axis>(direction, interval, pen, false);
    axis->setAnchor(0.0);  // ticks on round values and on the zero line
    chart.registerAxis(axis);
    return axis;
}

Dial* createDial(ChartWindow& chart, const ChartContext& context, RealTimeDataset& dataset, Dial::Settings settings)
{
    settings.font = context.font;
    settings.lineColour = context.lineColour;
    return chart.addElement<Dial>(dataset, std::move(settings));
}

/// What every dial takes: its kind, channel, scale, geometry, ticks and
/// alarm colours.
Dial::Settings dialSettings(Dial::Kind kind, int channel, double minimum, double maximum, double reference,
                            double centreX, double centreY, double radius, double startAngle, double endAngle,
                            double tickInterval, const DialAlarmColours& alarmColours)
{
    Dial::Settings settings;
    settings.kind = kind;
    settings.channel = channel;
    settings.minimum = minimum;
    settings.maximum = maximum;
    settings.reference = reference;
    settings.centreX = centreX;
    settings.centreY = centreY;
    settings.radius = radius;
    settings.startAngle = startAngle;
    settings.endAngle = endAngle;
    settings.tickInterval = tickInterval;
    settings.alarmColours = alarmColours;
    return settings;
}

}  // namespace

BarIndicator* CreateBarIndicator(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                                 double minimum, double maximum, int /*code1*/, int /*code2*/, int orientation,
                                 int /*code3*/, int /*code4*/, int /*code5*/, double high, double low,
                                 const QString& highText, const QString& lowText, std::span<const QColor> barColours,
                                 std::array<IndicatorPart, kBarParts>& parts)
{
    parts = {};  // what the indicator has no piece for stays null
    auto* bars = chart.addElement<BarIndicator>(dataset, minimum, maximum, orientation, high, low, highText, lowText,
                                                std::vector<QColor>(barColours.begin(), barColours.end()));
    const bool horizontal = bars->orientation() == kHorizontalBars;
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
    const QPen pen = LinePen(kSolidLine, kAxisWidth, PaletteColour(context.lineColour));
    const auto valueDirection = horizontal ? Axis::Direction::Horizontal : Axis::Direction::Vertical;
    const auto channelDirection = horizontal ? Axis::Direction::Vertical : Axis::Direction::Horizontal;
    Axis* valueAxis = createBarAxis(chart, valueDirection, bars->tickInterval(), pen);
    valueAxis->setLabels(kPlainNumbers, BarIndicator::LabelFont(), pen.color());
    Axis* channelAxis = createBarAxis(chart, channelDirection, kChannelTickInterval, pen);

    const QString name = SlotText(dataset.name());
    TextElement* title = chart.addElement<TextElement>(name, kTitleX, kTitleY, kJustifyCentre, titleFont(),
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
                  double minimum, double maximum, double centreX, double centreY, double radius, double startAngle,
                  double endAngle, int hubColour, std::span<const int> dataColours, double size,
                  double tickInterval, std::span<const int> /*codes*/, double lastSize,
                  const DialAlarmColours& alarmColours)
{
    Dial::Settings settings = dialSettings(Dial::Kind::Needle, channel, minimum, maximum, minimum, centreX, centreY,
                                           radius, startAngle, endAngle, tickInterval, alarmColours);
    settings.hubColour = hubColour;
    settings.needleColours.assign(dataColours.begin(), dataColours.end());
    settings.hubSize = size;
    settings.needleWidth = lastSize;
    return createDial(chart, context, dataset, std::move(settings));
}

Dial* CreateArcMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     double minimum, double maximum, double reference, double centreX, double centreY,
                     double radius, double startAngle, double endAngle, int colour, int background,
                     double bandWidth, double /*size*/, double tickInterval, std::span<const int> /*codes*/,
                     double /*lastSize*/, const DialAlarmColours& alarmColours)
{
    Dial::Settings settings = dialSettings(Dial::Kind::Arc, channel, minimum, maximum, reference, centreX, centreY,
                                           radius, startAngle, endAngle, tickInterval, alarmColours);
    settings.colour = colour;
    settings.background = background;
    settings.bandWidth = bandWidth;
    return createDial(chart, context, dataset, std::move(settings));
}

Dial* CreatePieMeter(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset, int channel,
                     double minimum, double maximum, double reference, double centreX, double centreY,
                     double radius, double startAngle, double endAngle, int colour, int background,
                     double /*size*/, double tickInterval, std::span<const int> /*codes*/, double /*lastSize*/,
                     const DialAlarmColours& alarmColours)
{
    Dial::Settings settings = dialSettings(Dial::Kind::Pie, channel, minimum, maximum, reference, centreX, centreY,
                                           radius, startAngle, endAngle, tickInterval, alarmColours);
    settings.colour = colour;
    settings.background = background;
    return createDial(chart, context, dataset, std::move(settings));
}

}  // namespace vexa::toolkit
