#include "graphs/toolkit/BarIndicator.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/AxisTicks.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/GaugeIndicators.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/SunkenCell.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace vexa::toolkit {

namespace {

/// Room kept free along the window's edges, and between the pieces.
constexpr double kMargin = 8.0;
constexpr double kGap = 6.0;
constexpr double kTextPadding = 4.0;
constexpr double kLabelPoints = 10.0;
/// How many intervals the value axis is divided into, roughly.
constexpr int kTickIntervalsWanted = 7;
constexpr int kExtraValueDecimals = 1;
constexpr int kMaxValueDecimals = 6;
/// A bar fills this share of its channel's slot across, but never more
/// than this share of the whole plot (one channel makes no slab).
constexpr double kBarShareOfSlot = 0.62;
constexpr double kBarShareOfPlot = 0.25;
/// A value box holds the value over an alarm text.
constexpr double kValueBoxLines = 2.4;
constexpr double kNameRowLines = 1.3;
/// A label line is at most this share of the window's height, and at most
/// a slot's height over the value box's lines.
constexpr double kLineShareOfHeight = 1.0 / 14.0;
/// The plot takes roughly this share of the window's height; it only
/// guides how small the labels must be.
constexpr double kPlotShareOfHeight = 0.75;
/// Shares of the width that the names and the values may take beside
/// horizontal bars.
constexpr double kNameColumnMin = 0.06;
constexpr double kNameColumnMax = 0.25;
constexpr double kValueColumnMin = 0.08;
constexpr double kValueColumnMax = 0.22;
/// How far the plot's well and grid lines are taken from the window's
/// background towards the colour that contrasts with it, and how far the
/// value boxes are lightened.
constexpr double kWellShade = 0.07;
constexpr double kGridShade = 0.2;
constexpr double kBoxLightening = 0.6;
constexpr int kBarEdgeDarkness = 150;
constexpr int kMarkDarkness = 130;
constexpr double kMarkWidth = 1.5;
constexpr double kMinPlotExtent = 1.0;
constexpr double kHugeWidth = std::numeric_limits<double>::max() / 4;

QColor blended(const QColor& from, const QColor& to, double share)
{
    const auto mix = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

/// A font that draws lines no taller than \p lineHeight.
QFont fontForLines(const QFont& font, double lineHeight)
{
    return FittedFont(font, QStringLiteral("0"), QSizeF(kHugeWidth, lineHeight));
}

}  // namespace

BarIndicator::BarIndicator(ChartWindow& chart, RealTimeDataset& dataset, const ValueRange& scale,
                           BarOrientation orientation, const BarMark& high, const BarMark& low,
                           std::vector<QColor> barColours)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_channelCount(dataset.channelCount())
    , m_minimum(std::min(scale.minimum, scale.maximum))
    , m_maximum(std::max(scale.minimum, scale.maximum))
    , m_orientation(orientation)
    , m_high(high.value)
    , m_low(low.value)
    , m_highText(high.text)
    , m_lowText(low.text)
    , m_barColours(std::move(barColours))
    , m_labelColour(PaletteColour(palette::kBlack))
    , m_valueTexts(static_cast<std::size_t>(m_channelCount))
{
    if (m_barColours.empty()) {
        for (PaletteIndex colour : kDefaultChannelColours) {
            m_barColours.push_back(PaletteColour(colour));
        }
    }
    const std::vector<std::string>& names = dataset.channelNames();
    for (int channel = 0; channel < m_channelCount; ++channel) {
        const auto index = static_cast<std::size_t>(channel);
        m_names.push_back(index < names.size() ? SlotText(names[index]) : QString::number(channel + 1));
    }
    // The scale as drawn: an empty one is widened, and the ticks must
    // divide what is drawn.
    const ScaleMap drawn(m_minimum, m_maximum);
    m_tickInterval = NiceTickInterval(drawn.mappedMaximum() - drawn.mappedMinimum(), kTickIntervalsWanted);
    m_decimals = std::min(TickDecimals(m_tickInterval, 0.0) + kExtraValueDecimals, kMaxValueDecimals);
}

void BarIndicator::setTitle(const TextElement* title)
{
    m_title = title;
    m_layout.size = QSize();  // lay out again under it
}

BarOrientation BarIndicator::orientation() const
{
    return m_orientation;
}

double BarIndicator::minimum() const
{
    return m_minimum;
}

double BarIndicator::maximum() const
{
    return m_maximum;
}

double BarIndicator::tickInterval() const
{
    return m_tickInterval;
}

int BarIndicator::barCount() const
{
    return m_channelCount;
}

AlarmPart& BarIndicator::alarmPart()
{
    return m_alarm;
}

QColor& BarIndicator::labelColour()
{
    return m_labelColour;
}

QFont BarIndicator::LabelFont()
{
    QFont font(QString::fromLatin1(ChartContext::kDefaultFace));
    font.setPointSizeF(kLabelPoints);
    return font;
}

int BarIndicator::slotCount() const
{
    // A dataset without channels still gets an (empty) plot with its axes.
    return std::max(m_channelCount, 1);
}

bool BarIndicator::isHorizontal() const
{
    return m_orientation == BarOrientation::Horizontal;
}

bool BarIndicator::hasData() const
{
    return !m_datasetLifetime.expired() && !chart().isClosing();
}

double BarIndicator::titleBottom() const
{
    return m_title != nullptr ? m_title->pixelRect().bottom() : kMargin;
}

QString BarIndicator::numberText(double value) const
{
    return FormatValue(value, m_decimals);
}

void BarIndicator::updateLayout() const
{
    const QSize size = chart().size();
    if (size == m_layout.size) {
        return;
    }
    Layout layout;
    layout.size = size;
    if (size.width() > 0 && size.height() > 0) {
        if (isHorizontal()) {
            layoutHorizontal(layout);
        } else {
            layoutVertical(layout);
        }
        layout.slot = (isHorizontal() ? layout.plot.height() : layout.plot.width()) / slotCount();
        const double across = isHorizontal() ? layout.plot.height() : layout.plot.width();
        layout.thickness = std::min(layout.slot * kBarShareOfSlot, across * kBarShareOfPlot);
        layout.valueMap.setRange(m_minimum, m_maximum);
        if (isHorizontal()) {
            layout.valueMap.setPixels(layout.plot.left(), layout.plot.right());
        } else {
            layout.valueMap.setPixels(layout.plot.bottom(), layout.plot.top());  // values grow upwards
        }
        GenerateTicks(layout.valueMap.mappedMinimum(), layout.valueMap.mappedMaximum(), 0.0, m_tickInterval,
                      layout.gridTicks);
    }
    m_layout = std::move(layout);
}

void BarIndicator::layoutHorizontal(Layout& layout) const
{
    const double width = layout.size.width();
    const double height = layout.size.height();
    const double slotGuess = height * kPlotShareOfHeight / slotCount();
    const double line = std::min(height * kLineShareOfHeight, slotGuess / kValueBoxLines);
    layout.labelFont = fontForLines(LabelFont(), line);
    layout.valueFont = layout.labelFont;
    layout.valueFont.setBold(true);
    const QFontMetricsF labelMetrics(layout.labelFont);
    const QFontMetricsF valueMetrics(layout.valueFont);
    layout.labelHeight = labelMetrics.height();
    layout.valueBoxHeight = valueMetrics.height() + labelMetrics.height() + kTextPadding;

    double widestName = 0.0;
    for (const QString& name : m_names) {
        widestName = std::max(widestName, TextAdvance(layout.labelFont, name));
    }
    const double widestValue = widestValueText(layout.valueFont, layout.labelFont);
    const double nameColumn = std::clamp(widestName + kTextPadding, width * kNameColumnMin, width * kNameColumnMax);
    const double valueColumn =
        std::clamp(widestValue + 2 * kTextPadding, width * kValueColumnMin, width * kValueColumnMax);
    const double axisNumbers = Axis::kTickLength + Axis::kLabelGap + QFontMetricsF(LabelFont()).height();

    const double left = kMargin + nameColumn + kGap;
    const double right = std::max(width - kMargin - valueColumn - kGap, left + kMinPlotExtent);
    // The High and Low texts stand over the plot.
    const double top = titleBottom() + kGap + layout.labelHeight + kGap / 2;
    const double bottom = std::max(height - kMargin - axisNumbers, top + kMinPlotExtent);
    layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
}

void BarIndicator::layoutVertical(Layout& layout) const
{
    const double width = layout.size.width();
    const double height = layout.size.height();
    layout.labelFont = fontForLines(LabelFont(), height * kLineShareOfHeight);
    layout.valueFont = layout.labelFont;
    layout.valueFont.setBold(true);
    const QFontMetricsF labelMetrics(layout.labelFont);
    const QFontMetricsF valueMetrics(layout.valueFont);
    layout.labelHeight = labelMetrics.height() * kNameRowLines;
    layout.valueBoxHeight = valueMetrics.height() + labelMetrics.height() + kTextPadding;

    // The value axis's numbers stand left of the plot.
    const QFont axisFont = LabelFont();
    std::vector<double> ticks;
    const ScaleMap scale(m_minimum, m_maximum);
    GenerateTicks(scale.mappedMinimum(), scale.mappedMaximum(), 0.0, m_tickInterval, ticks);
    const int tickDecimals = TickDecimals(m_tickInterval, 0.0);
    double widestNumber = 0.0;
    for (double tick : ticks) {
        widestNumber = std::max(widestNumber, TextAdvance(axisFont, QString::number(tick, 'f', tickDecimals)));
    }
    const double widestMark =
        std::max(TextAdvance(layout.labelFont, m_highText), TextAdvance(layout.labelFont, m_lowText));

    const double left = kMargin + widestNumber + Axis::kTickLength + Axis::kLabelGap + kGap / 2;
    const double right = std::max(width - kMargin - widestMark - kGap, left + kMinPlotExtent);
    const double top = titleBottom() + kGap + QFontMetricsF(axisFont).height() / 2;
    const double bottom =
        std::max(height - kMargin - layout.valueBoxHeight - layout.labelHeight - kGap / 2, top + kMinPlotExtent);
    layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    // A box as wide as its bar or its widest text, not the whole slot.
    const double slot = layout.plot.width() / slotCount();
    layout.valueBoxWidth = std::max(widestValueText(layout.valueFont, layout.labelFont) + 4 * kTextPadding,
                                    slot * kBarShareOfSlot);
}

double BarIndicator::widestValueText(const QFont& valueFont, const QFont& labelFont) const
{
    double widest =
        std::max(TextAdvance(valueFont, numberText(m_minimum)), TextAdvance(valueFont, numberText(m_maximum)));
    for (int level = kLevelHigh; level < kAlarmLevelCount; ++level) {
        widest = std::max(widest, TextAdvance(labelFont, alarmText(level)));
    }
    return widest;
}

QRectF BarIndicator::plotRect() const
{
    updateLayout();
    return m_layout.plot;
}

double BarIndicator::zeroPixel() const
{
    updateLayout();
    const ScaleMap& map = m_layout.valueMap;
    return map.toPixel(std::clamp(0.0, map.mappedMinimum(), map.mappedMaximum()));
}

QRectF BarIndicator::slotRect(int channel) const
{
    const QRectF& plot = m_layout.plot;
    if (isHorizontal()) {
        return QRectF(plot.left(), plot.top() + channel * m_layout.slot, plot.width(), m_layout.slot);
    }
    return QRectF(plot.left() + channel * m_layout.slot, plot.top(), m_layout.slot, plot.height());
}

QRectF BarIndicator::barRect(int channel) const
{
    updateLayout();
    if (!hasData() || channel < 0 || channel >= m_channelCount || m_layout.plot.isEmpty()) {
        return {};
    }
    const double value = m_dataset.latest(channel);
    if (std::isnan(value)) {
        return {};
    }
    const ScaleMap& map = m_layout.valueMap;
    const double base = zeroPixel();
    const double end = map.toPixel(std::clamp(value, map.mappedMinimum(), map.mappedMaximum()));
    const QRectF slot = slotRect(channel);
    const double half = m_layout.thickness / 2;
    if (isHorizontal()) {
        const double centre = slot.center().y();
        return QRectF(QPointF(std::min(base, end), centre - half), QPointF(std::max(base, end), centre + half));
    }
    const double centre = slot.center().x();
    return QRectF(QPointF(centre - half, std::min(base, end)), QPointF(centre + half, std::max(base, end)));
}

QColor BarIndicator::normalColour(int channel) const
{
    return CyclicEntry(m_barColours, channel);
}

QColor BarIndicator::barFill(int channel) const
{
    if (!hasData()) {
        return normalColour(channel);
    }
    const int level = m_dataset.alarmState(channel);
    if (level > kLevelNormal && level < kAlarmLevelCount) {
        return PaletteColour(m_alarm.colours[static_cast<std::size_t>(level)]);
    }
    return normalColour(channel);
}

QRectF BarIndicator::valueRect(int channel) const
{
    updateLayout();
    if (channel < 0 || channel >= m_channelCount || m_layout.plot.isEmpty()) {
        return {};
    }
    const QRectF slot = slotRect(channel);
    const QRectF& plot = m_layout.plot;
    if (isHorizontal()) {
        const double left = plot.right() + kGap;
        const double right = std::max(m_layout.size.width() - kMargin, left + kMinPlotExtent);
        const double height = std::max(std::min(m_layout.valueBoxHeight, slot.height() - 2), kMinPlotExtent);
        return QRectF(left, slot.center().y() - height / 2, right - left, height);
    }
    const double inset = std::min(kGap / 2, slot.width() / 4);
    const double top = plot.bottom() + m_layout.labelHeight;
    const double width = std::max(std::min(slot.width() - 2 * inset, m_layout.valueBoxWidth), kMinPlotExtent);
    return QRectF(slot.center().x() - width / 2, top, width, m_layout.valueBoxHeight);
}

QRectF BarIndicator::labelRect(int channel) const
{
    updateLayout();
    if (channel < 0 || channel >= m_channelCount || m_layout.plot.isEmpty()) {
        return {};
    }
    const QRectF slot = slotRect(channel);
    const QRectF& plot = m_layout.plot;
    if (isHorizontal()) {
        return QRectF(kMargin, slot.top(), std::max(plot.left() - kGap - kMargin, kMinPlotExtent), slot.height());
    }
    return QRectF(slot.left(), plot.bottom() + kGap / 2, slot.width(), m_layout.labelHeight - kGap / 2);
}

const QString& BarIndicator::valueText(int channel) const
{
    ValueText& cached = m_valueTexts[static_cast<std::size_t>(channel)];
    const double value = m_dataset.latest(channel);
    // Compared as bits: a NaN stays the same text too.
    if (!cached.valid || std::memcmp(&cached.value, &value, sizeof value) != 0) {
        cached.value = value;
        cached.valid = true;
        cached.text = numberText(value);
    }
    return cached.text;
}

const QString& BarIndicator::alarmText(int level) const
{
    static const QString none;
    if (m_datasetLifetime.expired() || level < kLevelNormal || level >= kAlarmLevelCount) {
        return none;
    }
    const auto index = static_cast<std::size_t>(level);
    const std::string& source = m_dataset.alarmText(level);
    if (source != m_alarmSources[index]) {
        m_alarmSources[index] = source;
        // A disabled level's text is a single blank: it shows as none.
        m_alarmTexts[index] = SlotText(source);
    }
    return m_alarmTexts[index];
}

void BarIndicator::paint(QPainter& painter)
{
    updateLayout();
    if (m_layout.plot.isEmpty()) {
        return;
    }
    // The axes created with the indicator paint after it, on this frame.
    PlotFrame& frame = chart().plotFrame();
    const QSizeF size(m_layout.size);
    const QRectF& plot = m_layout.plot;
    frame.setArea({plot.left() / size.width(), plot.top() / size.height(), plot.right() / size.width(),
                   plot.bottom() / size.height()});
    frame.layout(size);

    paintWell(painter);
    if (!hasData()) {
        return;
    }
    for (int channel = 0; channel < m_channelCount; ++channel) {
        paintBar(painter, channel);
        paintLabel(painter, channel);
        paintValue(painter, channel);
    }
    paintMarks(painter);  // the limits show across the bars
}

void BarIndicator::paintWell(QPainter& painter) const
{
    const QColor background = chart().backgroundColour();
    const QColor contrast = ContrastingColour(background);
    const QRectF& plot = m_layout.plot;
    painter.fillRect(plot, blended(background, contrast, kWellShade));

    painter.setPen(QPen(blended(background, contrast, kGridShade), 1.0, Qt::SolidLine));
    const ScaleMap& map = m_layout.valueMap;
    for (double tick : m_layout.gridTicks) {
        const double at = map.toPixel(tick);
        if (isHorizontal()) {
            painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
        } else {
            painter.drawLine(QPointF(plot.left(), at), QPointF(plot.right(), at));
        }
    }
    DrawSunkenEdges(painter, plot, EdgesSunkInto(background));
}

void BarIndicator::paintMarks(QPainter& painter) const
{
    painter.setFont(m_layout.labelFont);
    paintMark(painter, m_low, m_lowText, PaletteColour(m_alarm.colours[kLevelLow]).darker(kMarkDarkness));
    paintMark(painter, m_high, m_highText, PaletteColour(m_alarm.colours[kLevelHigh]).darker(kMarkDarkness));
}

void BarIndicator::paintMark(QPainter& painter, double value, const QString& text, const QColor& colour) const
{
    const ScaleMap& map = m_layout.valueMap;
    if (!std::isfinite(value) || value < map.mappedMinimum() || value > map.mappedMaximum()) {
        return;
    }
    const QRectF& plot = m_layout.plot;
    const double at = map.toPixel(value);
    painter.setPen(QPen(colour, kMarkWidth, Qt::DashLine));
    const QRectF bounds(QPointF(0, 0), QSizeF(m_layout.size));
    const double width = TextAdvance(m_layout.labelFont, text);
    const double height = QFontMetricsF(m_layout.labelFont).height();
    QRectF textRect;
    if (isHorizontal()) {
        painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
        textRect = AnchoredTextRect(QSizeF(width, height), QPointF(at, plot.top() - kGap / 2), Justification::Centre,
                                    bounds);
    } else {
        painter.drawLine(QPointF(plot.left(), at), QPointF(plot.right(), at));
        textRect = QRectF(plot.right() + kGap / 2, at - height / 2, width, height);
    }
    if (text.isEmpty()) {
        return;
    }
    painter.setPen(m_labelColour);
    DrawChartLabel(painter, textRect, Qt::AlignCenter, text);
}

void BarIndicator::paintBar(QPainter& painter, int channel) const
{
    const QRectF bar = barRect(channel);
    if (bar.isEmpty()) {
        return;  // no value, or a value of 0: nothing stands on the zero line
    }
    const QColor fill = barFill(channel);
    painter.fillRect(bar, fill);
    painter.setPen(fill.darker(kBarEdgeDarkness));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
}

void BarIndicator::paintLabel(QPainter& painter, int channel) const
{
    const QRectF rect = labelRect(channel);
    const auto flags = isHorizontal() ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignHCenter | Qt::AlignTop);
    painter.setFont(m_layout.labelFont);
    painter.setPen(m_labelColour);
    DrawFittedText(painter, rect, flags, m_names[static_cast<std::size_t>(channel)]);
}

void BarIndicator::paintValue(QPainter& painter, int channel) const
{
    const QRectF box = valueRect(channel);
    const QColor background = chart().backgroundColour();
    const int level = m_dataset.alarmState(channel);
    const bool inAlarm = level > kLevelNormal && level < kAlarmLevelCount;
    const QColor fill = inAlarm ? barFill(channel) : blended(background, QColor(Qt::white), kBoxLightening);
    DrawSunkenCell(painter, box, fill, EdgesSunkInto(background));
    if (m_dataset.appendedRows() == 0) {
        return;  // no value yet
    }

    const QString& value = valueText(channel);
    const QString& text = alarmText(inAlarm ? level : kLevelNormal);
    const bool showText = inAlarm && !text.isEmpty();
    const QRectF inner = box.adjusted(kTextPadding, 0, -kTextPadding, 0);
    const double valueHeight = QFontMetricsF(m_layout.valueFont).height();
    const bool twoLines = showText && inner.height() >= valueHeight + QFontMetricsF(m_layout.labelFont).height();
    painter.setPen(ContrastingColour(fill));
    if (!showText || !twoLines) {
        // One line: the value, with the level's text after it when there
        // is no room under it.
        const QString line = showText ? value + QLatin1Char(' ') + text : value;
        painter.setFont(FittedFont(m_layout.valueFont, line, inner.size()));
        DrawFittedText(painter, inner, Qt::AlignCenter, line);
        return;
    }
    QRectF upper = inner;
    upper.setBottom(inner.center().y());
    QRectF lower = inner;
    lower.setTop(inner.center().y());
    painter.setFont(FittedFont(m_layout.valueFont, value, upper.size()));
    DrawFittedText(painter, upper, Qt::AlignCenter, value);
    painter.setFont(m_layout.labelFont);
    DrawFittedText(painter, lower, Qt::AlignCenter, text);
}

}  // namespace vexa::toolkit
