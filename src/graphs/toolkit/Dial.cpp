#include "graphs/toolkit/Dial.h"

#include "graphs/toolkit/AxisTicks.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/SunkenCell.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vexa::toolkit {

namespace {

/// A radius of 1 is this share of the chart's smaller side.
constexpr double kRadiusUnit = 2.0 / 3.0;
constexpr double kDefaultRadius = 0.6;
/// Pixels kept between the bezel and the window's edge.
constexpr double kEdgeMargin = 2.0;
/// The bezel round the face, outside the radius.
constexpr double kBezelShare = 0.05;
constexpr double kMinBezel = 2.0;
constexpr double kSmallestRadius = 1.0;

/// Rings of the three kinds, in shares of the radius.
constexpr double kTickOuter = 0.95;
constexpr double kMajorTickLength = 0.10;
constexpr double kMinorTickLength = 0.05;
/// The arc's band lies along the rim, the ticks inside it.
constexpr double kBandOuter = 0.96;
constexpr double kBandTickGap = 0.02;
constexpr double kSmallestBand = 0.02;
constexpr double kWidestBand = 0.4;
/// The pie's track disc lies inside the ticks and numbers.
constexpr double kPieRadius = 0.64;
constexpr double kNeedleReach = 0.88;
constexpr double kNeedleTail = 0.16;
constexpr double kSmallestHub = 0.02;
constexpr double kLargestHub = 0.3;
constexpr double kSmallestNeedle = 0.005;
constexpr double kWidestNeedle = 0.1;
constexpr double kMinNeedlePixels = 1.5;
/// The tail is narrower than the needle at the hub, the tip narrower still.
constexpr double kTailNarrowing = 0.6;
/// The tip keeps a little width, so that it shows to its end.
constexpr double kTipNarrowing = 0.25;
constexpr int kShadowAlpha = 70;
constexpr double kShadowOffsetShare = 0.006;
constexpr double kMinShadowOffset = 1.0;

/// Pixels between the tick ends and the numbers, and the least room
/// between two numbers.
constexpr double kLabelGap = 3.0;
constexpr double kLabelSpacing = 4.0;
/// Minor ticks need this many pixels between them.
constexpr double kMinorSpacing = 7.0;
constexpr int kFineSubdivisions = 5;
constexpr int kCoarseSubdivisions = 2;
constexpr double kMajorPenShare = 0.012;
constexpr double kMinMajorPen = 1.5;
constexpr double kMinorPen = 1.0;
/// How far (in shares of the scale) a tick may lie past its end.
constexpr double kEndTolerance = 1e-9;

/// The readout box under the centre, in shares of the radius: inside the
/// opening below the scale of the usual 270 degree dial.
constexpr double kReadoutTop = 0.42;
constexpr double kReadoutWidth = 0.56;
constexpr double kReadoutHeight = 0.19;
constexpr double kReadoutTextShare = 0.62;
constexpr double kReadoutPadding = 3.0;
constexpr int kExtraValueDecimals = 1;
constexpr int kMaxValueDecimals = 6;

/// Face colours: light under dark ticks, dark under light ones.
constexpr PaletteIndex kLightFace = palette::kOffWhite;
constexpr QRgb kDarkFace = qRgb(32, 36, 40);
constexpr QRgb kBezelColour = qRgb(72, 76, 80);
constexpr double kLightTicks = 140.0;
constexpr int kEdgeDarkness = 150;
constexpr PaletteIndex kFallbackNeedleColour = palette::kRed;
/// Qt measures arcs in sixteenths of a degree.
constexpr double kArcUnitsPerDegree = 16.0;

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double bezelWidth(double radius)
{
    return std::max(kMinBezel, radius * kBezelShare);
}

int arcUnits(double degrees)
{
    return static_cast<int>(std::lround(degrees * kArcUnitsPerDegree));
}

}  // namespace

Dial::Dial(ChartWindow& chart, RealTimeDataset& dataset, Settings settings)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_settings(std::move(settings))
    , m_scale(m_settings.minimum, m_settings.maximum, m_settings.startAngle, m_settings.endAngle)
{
    if (!std::isfinite(m_settings.radius) || m_settings.radius <= 0.0) {
        m_settings.radius = kDefaultRadius;
    }
    m_settings.bandWidth = std::clamp(std::isfinite(m_settings.bandWidth) ? m_settings.bandWidth : kSmallestBand,
                                      kSmallestBand, kWidestBand);
    m_settings.hubSize = std::clamp(std::isfinite(m_settings.hubSize) ? m_settings.hubSize : kSmallestHub,
                                    kSmallestHub, kLargestHub);
    m_settings.needleWidth =
        std::clamp(std::isfinite(m_settings.needleWidth) ? m_settings.needleWidth : kSmallestNeedle,
                   kSmallestNeedle, kWidestNeedle);
    if (m_settings.kind != Kind::Needle && m_settings.channel < 0) {
        m_settings.channel = 0;  // a band or a slice shows one channel
    }
    m_tickInterval = m_scale.ticks(m_settings.tickInterval, m_ticks);
    const int tickDecimals = TickDecimals(m_tickInterval, m_settings.minimum);
    m_decimals = std::min(tickDecimals + kExtraValueDecimals, kMaxValueDecimals);
    m_tickTexts.reserve(m_ticks.size());
    for (double tick : m_ticks) {
        // A tick a rounding error from 0 reads as 0, not "-0".
        const double shown = std::abs(tick) < m_tickInterval * kEndTolerance ? 0.0 : tick;
        m_tickTexts.push_back(QString::number(shown, 'f', tickDecimals));
    }
}

Dial::Kind Dial::kind() const
{
    return m_settings.kind;
}

double Dial::minimum() const
{
    return m_settings.minimum;
}

double Dial::maximum() const
{
    return m_settings.maximum;
}

double Dial::tickInterval() const
{
    return m_tickInterval;
}

const std::vector<double>& Dial::ticks() const
{
    return m_ticks;
}

const DialAlarmColours& Dial::alarmColours() const
{
    return m_settings.alarmColours;
}

double Dial::angleOf(double value) const
{
    return m_scale.angleOf(value);
}

bool Dial::hasData() const
{
    return !m_datasetLifetime.expired() && !chart().isClosing();
}

int Dial::readoutChannel() const
{
    return std::max(m_settings.channel, 0);
}

PaletteIndex Dial::stateColour() const
{
    constexpr std::size_t kNormal = 0;
    constexpr std::size_t kHigh = 1;
    constexpr std::size_t kLow = 2;
    const DialAlarmColours& colours = m_settings.alarmColours;
    if (!hasData()) {
        return colours[kNormal];
    }
    switch (m_dataset.alarmState(readoutChannel())) {
    case kLevelHigh:
    case kLevelHighHigh:
        return colours[kHigh];
    case kLevelLow:
    case kLevelLowLow:
        return colours[kLow];
    default:
        return colours[kNormal];  // normal, and the Rate and Deviation levels
    }
}

std::pair<int, int> Dial::channelRange() const
{
    if (!hasData()) {
        return {0, 0};
    }
    const int count = m_dataset.channelCount();
    if (m_settings.channel < 0) {
        return {0, count};
    }
    if (m_settings.channel < count) {
        return {m_settings.channel, m_settings.channel + 1};
    }
    return {0, 0};
}

std::vector<int> Dial::shownChannels() const
{
    std::vector<int> channels;
    const auto [first, end] = channelRange();
    for (int channel = first; channel < end; ++channel) {
        channels.push_back(channel);
    }
    return channels;
}

QPointF Dial::centrePixel() const
{
    updateLayout();
    return m_layout.centre;
}

double Dial::radiusPixels() const
{
    updateLayout();
    return m_layout.radius;
}

QRectF Dial::readoutRect() const
{
    updateLayout();
    return m_layout.readout;
}

double Dial::outerRadiusPixels() const
{
    const double radius = radiusPixels();
    return radius + bezelWidth(radius);
}

double Dial::needleLength() const
{
    return radiusPixels() * kNeedleReach;
}

Dial::Rings Dial::rings() const
{
    if (m_settings.kind == Kind::Arc) {
        const double outer = kBandOuter - m_settings.bandWidth - kBandTickGap;
        return {outer, kMajorTickLength, kMinorTickLength};
    }
    return {kTickOuter, kMajorTickLength, kMinorTickLength};
}

QPointF Dial::pointAt(const Layout& layout, double angle, double distance) const
{
    const double a = radians(angle);
    // Angles turn counter-clockwise while pixel rows grow downwards.
    return layout.centre + QPointF(std::cos(a) * distance, -std::sin(a) * distance);
}

void Dial::updateLayout() const
{
    const QSize size = chart().size();
    if (size == m_layout.size) {
        return;
    }
    Layout layout;
    layout.size = size;
    const double width = size.width();
    const double height = size.height();
    layout.centre = QPointF(m_settings.centreX * width, m_settings.centreY * height);
    if (!std::isfinite(layout.centre.x()) || !std::isfinite(layout.centre.y())) {
        layout.centre = QPointF(width / 2, height / 2);
    }
    const double wanted = m_settings.radius * kRadiusUnit * std::min(width, height);
    const double room = std::min({layout.centre.x(), width - layout.centre.x(), layout.centre.y(),
                                  height - layout.centre.y()}) - kEdgeMargin;
    layout.radius = std::max(std::min({wanted, room / (1.0 + kBezelShare), room - kMinBezel}), 0.0);
    if (layout.radius >= kSmallestRadius) {
        layoutTicks(layout);
        const double r = layout.radius;
        layout.readout = QRectF(layout.centre.x() - r * kReadoutWidth / 2, layout.centre.y() + r * kReadoutTop,
                                r * kReadoutWidth, r * kReadoutHeight);
        layout.readoutFont = m_settings.font;
        layout.readoutFont.setBold(true);
        layout.readoutFont.setPixelSize(std::max(1, static_cast<int>(r * kReadoutHeight * kReadoutTextShare)));
    }
    m_layout = std::move(layout);
}

void Dial::layoutTicks(Layout& layout) const
{
    const double r = layout.radius;
    const Rings ring = rings();
    const double outer = ring.tickOuter * r;
    const double majorInner = (ring.tickOuter - ring.majorLength) * r;
    const double minorInner = (ring.tickOuter - ring.minorLength) * r;
    for (double tick : m_ticks) {
        const double angle = m_scale.angleOf(tick);
        layout.majorTicks.emplace_back(pointAt(layout, angle, majorInner), pointAt(layout, angle, outer));
    }

    // Minor ticks where the numbered ones are far enough apart.
    const double span = std::abs(m_settings.maximum - m_settings.minimum);
    const double stepDegrees = span > 0.0 ? m_tickInterval / span * m_scale.sweep() : 0.0;
    const double majorSpacing = radians(stepDegrees) * outer;
    int subdivisions = 0;
    if (majorSpacing >= kFineSubdivisions * kMinorSpacing) {
        subdivisions = kFineSubdivisions;
    } else if (majorSpacing >= kCoarseSubdivisions * kMinorSpacing) {
        subdivisions = kCoarseSubdivisions;
    }
    if (subdivisions > 0 && m_ticks.size() >= 1) {
        const double direction = m_settings.maximum >= m_settings.minimum ? 1.0 : -1.0;
        const double minorStep = direction * m_tickInterval / subdivisions;
        for (double tick : m_ticks) {
            for (int k = 1; k < subdivisions; ++k) {
                const double value = tick + k * minorStep;
                if ((value - m_settings.minimum) / (m_settings.maximum - m_settings.minimum) > 1.0 + kEndTolerance) {
                    break;  // past the scale's end
                }
                const double angle = m_scale.angleOf(value);
                layout.minorTicks.emplace_back(pointAt(layout, angle, minorInner), pointAt(layout, angle, outer));
            }
        }
    }

    // Numbers inside the ticks, each as close to them as its size allows;
    // every n-th only when they would crowd.
    const QFontMetricsF metrics(m_settings.font);
    const double textHeight = metrics.height();
    double widest = 0.0;
    for (const QString& text : m_tickTexts) {
        widest = std::max(widest, TextAdvance(m_settings.font, text));
    }
    const double labelDistance = majorInner - kLabelGap - textHeight;
    const int stride = LabelStride(widest + kLabelSpacing, radians(stepDegrees) * std::max(labelDistance, 0.0));
    const bool fullTurn = m_scale.sweep() >= DialScale::kFullTurn;
    layout.labelRects.resize(m_ticks.size());
    for (std::size_t i = 0; i < m_ticks.size(); ++i) {
        if (static_cast<int>(i) % stride != 0) {
            continue;
        }
        // Round the dial once, the maximum falls on the minimum's number.
        if (fullTurn && i > 0 && m_scale.fractionOf(m_ticks[i]) >= 1.0) {
            continue;
        }
        const double angle = m_scale.angleOf(m_ticks[i]);
        const double a = radians(angle);
        const double textWidth = TextAdvance(m_settings.font, m_tickTexts[i]);
        const double offset = std::abs(std::cos(a)) * textWidth / 2 + std::abs(std::sin(a)) * textHeight / 2;
        const QPointF centre = pointAt(layout, angle, majorInner - kLabelGap - offset);
        layout.labelRects[i] =
            QRectF(centre.x() - textWidth / 2, centre.y() - textHeight / 2, textWidth, textHeight);
    }
}

const QString& Dial::readoutText() const
{
    const double value = m_dataset.latest(readoutChannel());
    // Compared as bits, so that a NaN keeps its text too.
    if (!m_readoutValid || std::memcmp(&m_readoutValue, &value, sizeof value) != 0) {
        m_readoutValue = value;
        m_readoutValid = true;
        m_readoutText = FormatValue(value, m_decimals);
    }
    return m_readoutText;
}

void Dial::paint(QPainter& painter)
{
    updateLayout();
    if (m_layout.radius < kSmallestRadius) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintFace(painter);
    paintTrack(painter);
    if (hasData()) {
        paintValue(painter);
    }
    paintScale(painter);
    if (hasData()) {
        paintNeedles(painter);
        paintReadout(painter);
    }
}

void Dial::paintFace(QPainter& painter) const
{
    const double r = m_layout.radius;
    const double bezel = bezelWidth(r);
    const bool lightTicks = Luminance(PaletteColour(m_settings.lineColour)) > kLightTicks;
    painter.setPen(QPen(QColor(kBezelColour), bezel));
    painter.setBrush(lightTicks ? QColor(kDarkFace) : PaletteColour(kLightFace));
    painter.drawEllipse(m_layout.centre, r + bezel / 2, r + bezel / 2);
}

void Dial::paintTrack(QPainter& painter) const
{
    const double r = m_layout.radius;
    const QColor track = PaletteColour(m_settings.background);
    if (m_settings.kind == Kind::Arc) {
        const double band = m_settings.bandWidth * r;
        const double middle = kBandOuter * r - band / 2;
        painter.setPen(QPen(track, band, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(m_layout.centre.x() - middle, m_layout.centre.y() - middle, 2 * middle, 2 * middle),
                        arcUnits(m_scale.minimumAngle()), arcUnits(-m_scale.sweep()));
    } else if (m_settings.kind == Kind::Pie) {
        painter.setPen(QPen(track.darker(kEdgeDarkness), 1.0));
        painter.setBrush(track);
        painter.drawEllipse(m_layout.centre, kPieRadius * r, kPieRadius * r);
    }
}

void Dial::paintValue(QPainter& painter) const
{
    if (m_settings.kind == Kind::Needle) {
        return;
    }
    const int channel = readoutChannel();
    if (channel >= m_dataset.channelCount() || m_dataset.appendedRows() == 0) {
        return;
    }
    const double value = m_dataset.latest(channel);
    const double from = m_scale.fractionOf(m_settings.reference);
    const double to = m_scale.fractionOf(value);
    if (std::isnan(from) || std::isnan(to) || from == to) {
        return;
    }
    const double r = m_layout.radius;
    const QColor colour = PaletteColour(m_settings.colour);
    // Clockwise from the reference for values above it: Qt's spans turn
    // counter-clockwise.
    const int start = arcUnits(m_scale.angleAtFraction(from));
    const int span = arcUnits(-(to - from) * m_scale.sweep());
    if (m_settings.kind == Kind::Arc) {
        const double band = m_settings.bandWidth * r;
        const double middle = kBandOuter * r - band / 2;
        painter.setPen(QPen(colour, band, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(m_layout.centre.x() - middle, m_layout.centre.y() - middle, 2 * middle, 2 * middle),
                        start, span);
        return;
    }
    const double pie = kPieRadius * r;
    painter.setPen(QPen(colour.darker(kEdgeDarkness), 1.0));
    painter.setBrush(colour);
    painter.drawPie(QRectF(m_layout.centre.x() - pie, m_layout.centre.y() - pie, 2 * pie, 2 * pie), start, span);
}

void Dial::paintScale(QPainter& painter) const
{
    const QColor line = PaletteColour(m_settings.lineColour);
    const double r = m_layout.radius;
    painter.setBrush(Qt::NoBrush);
    // The scale's line along the ticks' outer ends shows where it ends.
    painter.setPen(QPen(line, kMinorPen, Qt::SolidLine, Qt::FlatCap));
    const double outer = rings().tickOuter * r;
    painter.drawArc(QRectF(m_layout.centre.x() - outer, m_layout.centre.y() - outer, 2 * outer, 2 * outer),
                    arcUnits(m_scale.minimumAngle()), arcUnits(-m_scale.sweep()));
    painter.setPen(QPen(line, std::max(kMinMajorPen, r * kMajorPenShare), Qt::SolidLine, Qt::FlatCap));
    painter.drawLines(m_layout.majorTicks.data(), static_cast<int>(m_layout.majorTicks.size()));
    painter.setPen(QPen(line, kMinorPen, Qt::SolidLine, Qt::FlatCap));
    painter.drawLines(m_layout.minorTicks.data(), static_cast<int>(m_layout.minorTicks.size()));

    painter.setFont(m_settings.font);
    painter.setPen(line);
    for (std::size_t i = 0; i < m_layout.labelRects.size(); ++i) {
        const QRectF& rect = m_layout.labelRects[i];
        if (!rect.isNull()) {
            DrawChartLabel(painter, rect, Qt::AlignCenter, m_tickTexts[i]);
        }
    }
}

void Dial::paintNeedles(QPainter& painter) const
{
    if (m_settings.kind != Kind::Needle) {
        return;
    }
    const double r = m_layout.radius;
    const double halfWidth = std::max(kMinNeedlePixels, m_settings.needleWidth * r) / 2;
    const std::vector<int>& colours = m_settings.needleColours;
    const double shadowOffset = std::max(kMinShadowOffset, r * kShadowOffsetShare);
    if (m_dataset.appendedRows() > 0) {
        const auto [first, end] = channelRange();
        for (int channel = first; channel < end; ++channel) {
            const double angle = m_scale.angleOf(m_dataset.latest(channel));
            if (std::isnan(angle)) {
                continue;
            }
            const double a = radians(angle);
            const QPointF along(std::cos(a), -std::sin(a));
            const QPointF across(-along.y(), along.x());
            const QPointF& c = m_layout.centre;
            const QPointF tail = c - along * (kNeedleTail * r);
            const QPointF tip = c + along * (kNeedleReach * r);
            const QPolygonF needle{tip + across * (halfWidth * kTipNarrowing), c + across * halfWidth,
                                   tail + across * (halfWidth * kTailNarrowing),
                                   tail - across * (halfWidth * kTailNarrowing), c - across * halfWidth,
                                   tip - across * (halfWidth * kTipNarrowing)};
            const int colour = colours.empty() ? kFallbackNeedleColour
                                               : colours[static_cast<std::size_t>(channel) % colours.size()];
            // A soft shadow sets a light needle off a light face; an outline
            // would darken its thin end instead.
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, kShadowAlpha));
            painter.drawPolygon(needle.translated(shadowOffset, shadowOffset));
            painter.setBrush(PaletteColour(colour));
            painter.drawPolygon(needle);
        }
    }
    const QColor hub = PaletteColour(m_settings.hubColour);
    const double hubRadius = m_settings.hubSize * r;
    painter.setPen(QPen(hub.darker(kEdgeDarkness), 1.0));
    painter.setBrush(hub);
    painter.drawEllipse(m_layout.centre, hubRadius, hubRadius);
}

void Dial::paintReadout(QPainter& painter) const
{
    const QRectF& box = m_layout.readout;
    const QColor fill = PaletteColour(stateColour());
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawSunkenCell(painter, box, fill, ReadoutCellEdges());
    const int channel = readoutChannel();
    if (channel >= m_dataset.channelCount() || m_dataset.appendedRows() == 0) {
        return;
    }
    const QString& text = readoutText();
    const QRectF inner = box.adjusted(kReadoutPadding, 0, -kReadoutPadding, 0);
    painter.setPen(ContrastingColour(fill));
    painter.setFont(m_layout.readoutFont);
    DrawFittedText(painter, inner, Qt::AlignCenter, text);
}

}  // namespace vexa::toolkit
