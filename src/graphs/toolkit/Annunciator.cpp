#include "graphs/toolkit/Annunciator.h"

#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace vexa::toolkit {

namespace {

/// The title above the grid, and the grid, in fractions of the chart.
constexpr ChartRect kTitleArea{0.02, 0.0, 0.98, 0.1};
constexpr ChartRect kGridArea{0.02, 0.1, 0.98, 0.98};
/// Room between lamps and inside them, and the rounding of their corners,
/// as shares of a cell's shorter side.
constexpr double kGapShare = 0.04;
constexpr double kLeastGap = 2.0;
constexpr double kPaddingShare = 0.07;
constexpr double kCornerShare = 0.06;
/// The lines of a lamp, as shares of its inner height: the name on top,
/// the value below it, and the alarm text (when shown) at the bottom.
constexpr double kNameShare = 0.3;
constexpr double kAlarmShare = 0.24;
/// Texts fill this share of their line's height.
constexpr double kTextFill = 0.8;
/// Names and alarm texts are at most this share of the value's size, and
/// the lines stand this share of the name's height apart.
constexpr double kTextToValue = 0.6;
constexpr double kLineGapShare = 0.25;
/// A cell the caller gave no colour for is black, the default lamp colour.
constexpr int kDefaultCellColour = 0;
constexpr int kDefaultDataColour = 15;  // White

}  // namespace

Annunciator::Annunciator(ChartWindow& chart, RealTimeDataset& dataset, int rows, int columns,
                         std::vector<PaletteIndex> dataColours, std::vector<QColor> cellColours,
                         const QColor& lowColour, const QColor& highColour, bool showAlarmText, const QFont& font,
                         const QColor& fontColour, const QPen& framePen)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_rows(std::clamp(rows, 0, kLargestSide))
    , m_columns(std::clamp(columns, 0, kLargestSide))
    , m_dataColours(std::move(dataColours))
    , m_cellColours(std::move(cellColours))
    , m_lowColour(lowColour)
    , m_highColour(highColour)
    , m_showAlarmText(showAlarmText)
    , m_title(SlotText(dataset.name()))
    , m_font(font)
    , m_fontColour(fontColour)
    , m_framePen(framePen)
{
    if (m_rows == 0 || m_columns == 0) {
        m_rows = m_columns = 0;
    }
    if (m_dataColours.empty()) {
        m_dataColours.push_back(kDefaultDataColour);
    }
    if (m_cellColours.empty()) {
        m_cellColours.push_back(PaletteColour(kDefaultCellColour));
    }
    // A colour the caller left unset would paint nothing: such a lamp
    // shows the default lamp colour, and an unset alarm colour leaves the
    // lamp as it is.
    for (QColor& colour : m_cellColours) {
        if (!colour.isValid()) {
            colour = PaletteColour(kDefaultCellColour);
        }
    }
}

int Annunciator::rows() const
{
    return m_rows;
}

int Annunciator::columns() const
{
    return m_columns;
}

int Annunciator::cellCount() const
{
    return m_rows * m_columns;
}

int Annunciator::channelOf(int cell) const
{
    if (m_datasetLifetime.expired() || cell < 0 || cell >= cellCount() || cell >= m_dataset.channelCount()) {
        return -1;
    }
    return cell;
}

QRectF Annunciator::titleRect() const
{
    return PixelRect(kTitleArea, QSizeF(chart().size()));
}

QRectF Annunciator::gridRect() const
{
    return PixelRect(kGridArea, QSizeF(chart().size()));
}

QRectF Annunciator::cellRect(int cell) const
{
    if (cell < 0 || cell >= cellCount()) {
        return {};
    }
    const QRectF grid = gridRect();
    const double width = grid.width() / m_columns;
    const double height = grid.height() / m_rows;
    const QRectF slot(grid.left() + (cell % m_columns) * width, grid.top() + (cell / m_columns) * height, width,
                      height);
    const double gap = std::max(kLeastGap, kGapShare * std::min(width, height));
    const QRectF lamp = slot.adjusted(gap / 2, gap / 2, -gap / 2, -gap / 2);
    return lamp.isValid() ? lamp : QRectF(slot.center(), QSizeF());
}

QColor Annunciator::cellFill(int cell) const
{
    const int channel = channelOf(cell);
    if (channel < 0) {
        return {};
    }
    const QColor& plain = CyclicEntry(m_cellColours, cell);
    if (m_dataset.appendedRows() == 0) {
        return plain;
    }
    switch (m_dataset.alarmState(channel)) {
    case kLevelHigh:
    case kLevelHighHigh:
        return m_highColour.isValid() ? m_highColour : plain;
    case kLevelLow:
    case kLevelLowLow:
        return m_lowColour.isValid() ? m_lowColour : plain;
    default:
        return plain;
    }
}

QString Annunciator::alarmText(int cell) const
{
    const int channel = channelOf(cell);
    if (!m_showAlarmText || channel < 0 || m_dataset.appendedRows() == 0) {
        return {};
    }
    const int level = m_dataset.alarmState(channel);
    if (level == kLevelNormal) {
        return {};
    }
    return QString::fromStdString(m_dataset.alarmText(level)).trimmed();
}

Annunciator::LampLines Annunciator::roomOf(const QRectF& lamp) const
{
    const double padding = kPaddingShare * std::min(lamp.width(), lamp.height());
    const QRectF inner = lamp.adjusted(padding, padding, -padding, -padding);
    const double nameBottom = inner.top() + inner.height() * kNameShare;
    const double alarmTop = m_showAlarmText ? inner.bottom() - inner.height() * kAlarmShare : inner.bottom();
    LampLines lines;
    lines.name = QRectF(QPointF(inner.left(), inner.top()), QPointF(inner.right(), nameBottom));
    lines.value = QRectF(QPointF(inner.left(), nameBottom), QPointF(inner.right(), std::max(alarmTop, nameBottom)));
    if (m_showAlarmText) {
        lines.alarm = QRectF(QPointF(inner.left(), alarmTop), QPointF(inner.right(), inner.bottom()));
    }
    return lines;
}

Annunciator::LampLines Annunciator::linesOf(const QRectF& lamp) const
{
    const LampLines room = roomOf(lamp);
    const double nameHeight = QFontMetricsF(m_fonts.name).height();
    const double valueHeight = QFontMetricsF(m_fonts.value).height();
    const double alarmHeight = m_showAlarmText ? QFontMetricsF(m_fonts.alarm).height() : 0.0;
    const double gap = nameHeight * kLineGapShare;
    const double total = nameHeight + gap + valueHeight + (m_showAlarmText ? gap + alarmHeight : 0.0);
    // Never above the lamp's top line: a lamp too small for its texts keeps
    // the name in sight and lets the lower lines go.
    double top = std::max(lamp.center().y() - total / 2.0, room.name.top());
    const auto line = [&](double height) {
        const QRectF box(room.name.left(), top, room.name.width(), height);
        top += height + gap;
        return box;
    };
    LampLines lines;
    lines.name = line(nameHeight);
    lines.value = line(valueHeight);
    if (m_showAlarmText) {
        lines.alarm = line(alarmHeight);
    }
    return lines;
}

void Annunciator::updateFonts()
{
    const QSize size = chart().size();
    if (m_fonts.size == size) {
        return;
    }
    m_fonts.size = size;
    m_fonts.title = FittedFont(m_font, m_title, titleRect().size());
    const LampLines room = roomOf(cellRect(0));
    const auto fill = [](const QRectF& box) { return QSizeF(box.width(), box.height() * kTextFill); };
    std::vector<QString> names;
    const int named = m_datasetLifetime.expired() ? 0 : std::min(cellCount(), m_dataset.channelCount());
    for (int channel = 0; channel < named; ++channel) {
        names.push_back(ChannelName(m_dataset, channel));
    }
    QFont bold = m_font;
    bold.setBold(true);
    m_fonts.value = FontForRoom(bold, {QString::fromLatin1(kTypicalValue)}, fill(room.value));
    // The value leads; name and alarm text stay smaller than it.
    const double largest = m_fonts.value.pointSizeF() * kTextToValue;
    const auto capped = [&](QFont font) {
        font.setPointSizeF(std::min(font.pointSizeF(), largest));
        return font;
    };
    m_fonts.name = capped(FontForRoom(m_font, names, fill(room.name)));
    m_fonts.alarm = capped(FontForRoom(m_font, {}, fill(room.alarm)));
}

void Annunciator::paintLamp(QPainter& painter, int cell)
{
    const QRectF lamp = cellRect(cell);
    const double corner = kCornerShare * std::min(lamp.width(), lamp.height());
    const int channel = channelOf(cell);
    const QColor fill = cellFill(cell);
    painter.setPen(m_framePen);
    painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    painter.drawRoundedRect(lamp, corner, corner);
    if (channel < 0) {
        return;  // an empty cell: its frame only
    }
    const QColor textColour = ContrastingColour(fill);
    painter.setPen(textColour);
    const LampLines lines = linesOf(lamp);
    painter.setFont(m_fonts.name);
    DrawFittedText(painter, lines.name, Qt::AlignCenter, ChannelName(m_dataset, channel));
    if (m_dataset.appendedRows() == 0) {
        return;
    }
    // Values keep their data colour while it reads on the lamp.
    const QColor dataColour = PaletteColour(CyclicEntry(m_dataColours, channel));
    painter.setPen(HasContrast(dataColour, fill) ? dataColour : textColour);
    const QString valueText = FormatValue(m_dataset.latest(channel), kValueDecimals);
    painter.setFont(FittedFont(m_fonts.value, valueText, lines.value.size()));
    DrawFittedText(painter, lines.value, Qt::AlignCenter, valueText);
    const QString text = alarmText(cell);
    if (!text.isEmpty()) {
        painter.setPen(textColour);
        painter.setFont(FittedFont(m_fonts.alarm, text, lines.alarm.size()));
        DrawFittedText(painter, lines.alarm, Qt::AlignCenter, text);
    }
}

void Annunciator::paint(QPainter& painter)
{
    if (chart().size().isEmpty()) {
        return;
    }
    updateFonts();
    if (!m_title.isEmpty()) {
        painter.setFont(m_fonts.title);
        painter.setPen(m_fontColour);
        DrawFittedText(painter, titleRect(), Qt::AlignCenter, m_title);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int cell = 0; cell < cellCount(); ++cell) {
        paintLamp(painter, cell);
    }
}

}  // namespace vexa::toolkit
