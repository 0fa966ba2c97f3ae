#include "graphs/toolkit/ValueTable.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace vexa::toolkit {

namespace {

constexpr int kNameColumn = 0;
constexpr int kTextColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kStateColumn = 3;
constexpr int kColumnCount = 4;
/// Shares of the row's width: name, row text, value, state.
constexpr std::array<double, kColumnCount> kColumnsWithState{0.22, 0.38, 0.20, 0.20};
constexpr std::array<double, kColumnCount> kColumnsWithoutState{0.26, 0.49, 0.25, 0.0};

/// The panel under the heading, in fractions of the chart.
constexpr ChartRect kPanelArea{0.02, 0.12, 0.98, 0.98};
constexpr double kPanelPadding = 3.0;
/// Texts and values take these shares of their row's height.
constexpr double kTextHeight = 0.42;
constexpr double kValueHeight = 0.52;
/// Below this share of the fitted size a row text is cut rather than
/// shrunk further: a long description must not make every row unreadable.
constexpr double kSmallestTextShare = 0.6;
/// Room between a cell's text and its edges, as a share of the row height,
/// from kLeastPadding to kMostPadding pixels.
constexpr double kPaddingShare = 0.12;
constexpr double kLeastPadding = 3.0;
constexpr double kMostPadding = 10.0;
/// A row is at most this share of the room under the heading: one or two
/// rows make a short table rather than bands of empty panel.
constexpr double kTallestRowShare = 0.25;
constexpr double kCellInset = 1.0;

/// Dark, so that the light data colours (white, yellow) read; every other
/// row a shade lighter to guide the eye along it.
constexpr QRgb kPanelFill = qRgb(0, 0, 0);
constexpr QRgb kAlternateFill = qRgb(26, 28, 34);
constexpr QRgb kRuleColour = qRgb(64, 66, 72);
constexpr QRgb kPanelBorder = qRgb(128, 128, 128);
/// A row whose colour is too dark for the panel is written on this band.
constexpr QRgb kLightBand = qRgb(200, 200, 200);
/// Colours of rows the caller gave none for: Red, Yellow, Green, Gray,
/// Light Blue, White, Magenta, Brown.

}  // namespace

ValueTable::ValueTable(ChartWindow& chart, RealTimeDataset& dataset, std::vector<PaletteIndex> colours,
                       std::vector<QString> rowTexts, bool stateColumn, const QFont& font)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_colours(std::move(colours))
    , m_rowTexts(std::move(rowTexts))
    , m_stateColumn(stateColumn)
    , m_font(font)
{
    if (m_colours.empty()) {
        m_colours.assign(kDefaultChannelColours.begin(), kDefaultChannelColours.end());
    }
}

int ValueTable::rowCount() const
{
    return m_datasetLifetime.expired() ? 0 : m_dataset.channelCount();
}

bool ValueTable::hasStateColumn() const
{
    return m_stateColumn;
}

AlarmPart& ValueTable::alarmPart()
{
    return m_alarm;
}

double ValueTable::rowHeight() const
{
    const QRectF room = PixelRect(kPanelArea, QSizeF(chart().size()));
    const double inner = std::max(room.height() - 2 * kPanelPadding, 0.0);
    return std::min(inner / std::max(rowCount(), 1), room.height() * kTallestRowShare);
}

QRectF ValueTable::panelRect() const
{
    QRectF panel = PixelRect(kPanelArea, QSizeF(chart().size()));
    panel.setHeight(std::min(panel.height(), rowHeight() * std::max(rowCount(), 1) + 2 * kPanelPadding));
    return panel;
}

QRectF ValueTable::rowRect(int row) const
{
    const QRectF panel = panelRect();
    const double height = rowHeight();
    return QRectF(panel.left() + kPanelPadding, panel.top() + kPanelPadding + row * height,
                  std::max(panel.width() - 2 * kPanelPadding, 0.0), height);
}

QRectF ValueTable::cellRect(int row, int column) const
{
    const QRectF slot = rowRect(row);
    const auto& shares = m_stateColumn ? kColumnsWithState : kColumnsWithoutState;
    double left = slot.left();
    for (int i = 0; i < column; ++i) {
        left += shares[static_cast<std::size_t>(i)] * slot.width();
    }
    return QRectF(left, slot.top(), shares[static_cast<std::size_t>(column)] * slot.width(), slot.height());
}

QRectF ValueTable::nameRect(int row) const
{
    return cellRect(row, kNameColumn);
}

QRectF ValueTable::textRect(int row) const
{
    return cellRect(row, kTextColumn);
}

QRectF ValueTable::valueRect(int row) const
{
    return cellRect(row, kValueColumn);
}

QRectF ValueTable::stateRect(int row) const
{
    return m_stateColumn ? cellRect(row, kStateColumn) : QRectF();
}

QColor ValueTable::rowColour(int row) const
{
    return PaletteColour(CyclicEntry(m_colours, row));
}

ValueTable::RowState ValueTable::rowState(int row) const
{
    if (row < 0 || row >= rowCount() || m_dataset.appendedRows() == 0) {
        return {};
    }
    const int level = m_dataset.alarmState(row);
    const QString text = QString::fromStdString(m_dataset.alarmText(level)).trimmed();
    if (level != kLevelNormal || m_dataset.isAlarmEnabled(kLevelNormal)) {
        return {PaletteColour(m_alarm.colours[static_cast<std::size_t>(level)]), text};
    }
    // Normal without a colour of its own: plain, with the normal text
    // (blank unless the normal level was given one).
    return {QColor(), text};
}

QColor ValueTable::valueFill(int row) const
{
    return rowState(row).fill;
}

QString ValueTable::valueText(int row) const
{
    if (row < 0 || row >= rowCount() || m_dataset.appendedRows() == 0) {
        return {};
    }
    return FormatValue(m_dataset.latest(row), kValueDecimals);
}

QString ValueTable::stateText(int row) const
{
    return m_stateColumn ? rowState(row).text : QString();
}

QRectF ValueTable::textBox(const QRectF& cell) const
{
    const double padding = std::clamp(cell.height() * kPaddingShare, kLeastPadding, kMostPadding) + kCellInset;
    const double width = std::max(cell.width() - 2 * padding, 1.0);
    return QRectF(cell.left() + padding, cell.top() + kCellInset, width,
                  std::max(cell.height() - 2 * kCellInset, 1.0));
}

void ValueTable::updateFonts()
{
    const QSize size = chart().size();
    const int rows = rowCount();
    if (m_fonts.size == size && m_fonts.rows == rows) {
        return;
    }
    m_fonts.size = size;
    m_fonts.rows = rows;
    const double height = rowHeight();
    const auto room = [&](int column, double share) {
        return QSizeF(textBox(cellRect(0, column)).width(), height * share);
    };

    std::vector<QString> names;
    for (int row = 0; row < rows; ++row) {
        names.push_back(ChannelName(m_dataset, row));
    }
    const QFont byHeight = FontForRoom(m_font, {}, room(kNameColumn, kTextHeight));
    const QFont byNames = FontForRoom(m_font, names, room(kNameColumn, kTextHeight));
    const QFont byTexts = FontForRoom(m_font, m_rowTexts, room(kTextColumn, kTextHeight));
    const double smallest = byHeight.pointSizeF() * kSmallestTextShare;
    m_fonts.text = m_font;
    m_fonts.text.setPointSizeF(
        std::max(std::min(byNames.pointSizeF(), byTexts.pointSizeF()), std::min(smallest, byNames.pointSizeF())));

    QFont bold = m_font;
    bold.setBold(true);
    m_fonts.value = FontForRoom(bold, {QString::fromLatin1(kTypicalValue)}, room(kValueColumn, kValueHeight));
}

void ValueTable::paintCell(QPainter& painter, const QRectF& cell, const QFont& font, const QColor& fill,
                           const QColor& colour, int alignment, const QString& text, bool shrinkToFit) const
{
    QColor textColour = colour;
    if (fill.isValid()) {
        painter.fillRect(cell.adjusted(kCellInset, kCellInset, -kCellInset, -kCellInset), fill);
        textColour = ContrastingColour(fill);
    }
    if (text.isEmpty()) {
        return;
    }
    const QRectF inner = textBox(cell);
    // Numbers are never cut short (a cut number reads as another one):
    // they shrink until they fit.
    painter.setFont(shrinkToFit ? FittedFont(font, text, inner.size()) : font);
    painter.setPen(textColour);
    DrawFittedText(painter, inner, alignment | Qt::AlignVCenter, text);
}

void ValueTable::paintRow(QPainter& painter, int row)
{
    const QRectF slot = rowRect(row);
    QColor colour = rowColour(row);
    QColor band = (row % 2 == 1) ? QColor(kAlternateFill) : QColor(kPanelFill);
    if (!HasContrast(colour, band)) {
        band = QColor(kLightBand);
    }
    painter.fillRect(slot, band);
    if (row > 0) {
        painter.setPen(QColor(kRuleColour));
        painter.drawLine(slot.topLeft(), slot.topRight());
    }

    const QString text = static_cast<std::size_t>(row) < m_rowTexts.size() ? m_rowTexts[static_cast<std::size_t>(row)]
                                                                            : QString();
    paintCell(painter, nameRect(row), m_fonts.text, QColor(), colour, Qt::AlignLeft, ChannelName(m_dataset, row),
              false);
    paintCell(painter, textRect(row), m_fonts.text, QColor(), colour, Qt::AlignLeft, text, false);
    const RowState state = rowState(row);
    paintCell(painter, valueRect(row), m_fonts.value, state.fill, colour, Qt::AlignRight, valueText(row), true);
    if (m_stateColumn) {
        paintCell(painter, stateRect(row), m_fonts.text, state.fill, colour, Qt::AlignHCenter, state.text, true);
    }
}

void ValueTable::paint(QPainter& painter)
{
    const int rows = rowCount();
    const QRectF panel = panelRect();
    if (rows <= 0 || panel.isEmpty()) {
        return;
    }
    updateFonts();
    painter.fillRect(panel, QColor(kPanelFill));
    for (int row = 0; row < rows; ++row) {
        paintRow(painter, row);
    }
    painter.setPen(QColor(kPanelBorder));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(panel);
}

}  // namespace vexa::toolkit
