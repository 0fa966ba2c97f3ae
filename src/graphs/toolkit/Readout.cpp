#include "graphs/toolkit/Readout.h"

#include "graphs/toolkit/AlarmIndicator.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/SunkenCell.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

constexpr int kMaxDecimals = 10;
/// A cell is this many text lines high, when its slot allows.
constexpr double kCellLines = 1.6;
constexpr double kAlarmCellLines = 2.4;
constexpr double kCellMargin = 2.0;
constexpr double kTextPadding = 3.0;

}  // namespace

Readout::Readout(ChartWindow& chart, RealTimeDataset& dataset, int channel, const ReadoutFormat& format,
                 std::vector<PaletteIndex> textColours, const QFont& font, PaletteIndex fontColour)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_channel(channel)
    , m_rect(format.rect)
    , m_textColours(std::move(textColours))
    , m_background(format.background)
    , m_decimals(std::clamp(format.decimals, 0, kMaxDecimals))
    , m_font(font)
    , m_fontColour(fontColour)
    , m_lineHeight(QFontMetricsF(font).height())
{
}

int Readout::cellCount() const
{
    if (m_datasetLifetime.expired()) {
        return 0;
    }
    if (m_channel >= 0) {
        return m_channel < m_dataset.channelCount() ? 1 : 0;
    }
    const bool hasTime = m_dataset.timeChannel() >= 0;
    return m_dataset.channelCount() - (hasTime ? 1 : 0);
}

int Readout::channelOfCell(int index) const
{
    if (m_channel >= 0) {
        return m_channel;
    }
    const int timeChannel = m_dataset.timeChannel();
    return (timeChannel >= 0 && index >= timeChannel) ? index + 1 : index;
}

QRectF Readout::cellRect(int index) const
{
    const QRectF area = PixelRect(m_rect, QSizeF(chart().size()));
    return cellBox(ColumnSlot(area, index, cellCount()), false);
}

QRectF Readout::cellBox(const QRectF& slot, bool twoLines) const
{
    const double wanted = m_lineHeight * (twoLines ? kAlarmCellLines : kCellLines);
    const double height = std::max(std::min(wanted, slot.height() - 2 * kCellMargin), 1.0);
    QRectF box(slot.left() + kCellMargin, 0.0, std::max(slot.width() - 2 * kCellMargin, 1.0), height);
    box.moveCenter(QPointF(box.center().x(), slot.center().y()));
    return box;
}

void Readout::paint(QPainter& painter)
{
    const int cells = cellCount();
    if (cells <= 0) {
        return;
    }
    const QRectF area = PixelRect(m_rect, QSizeF(chart().size()));
    const QColor background = PaletteColour(m_background);
    painter.fillRect(area, background);
    const bool hasValue = m_dataset.appendedRows() > 0;

    for (int index = 0; index < cells; ++index) {
        const int channel = channelOfCell(index);
        QColor fill = background;
        QString alarmText;
        bool inAlarm = false;
        for (const AlarmIndicator* indicator : chart().alarmIndicators()) {
            if (indicator->channelAlarm(channel, fill, alarmText)) {
                inAlarm = true;
                break;
            }
        }
        const QRectF slot = ColumnSlot(area, index, cells);
        const bool twoLines =
            inAlarm && !alarmText.isEmpty() && slot.height() >= m_lineHeight * kAlarmCellLines + 2 * kCellMargin;
        const QRectF box = cellBox(slot, twoLines);

        // A sunken cell; in alarm it is filled with the level's colour.
        DrawSunkenCell(painter, box, fill, ReadoutCellEdges());
        if (!hasValue) {
            continue;
        }
        QColor textColour = PaletteColour(m_fontColour);
        if (!m_textColours.empty()) {
            textColour = PaletteColour(m_textColours[static_cast<std::size_t>(index) % m_textColours.size()]);
        }
        if (inAlarm) {
            textColour = ContrastingColour(fill);
        }
        const QString value = QString::number(m_dataset.latest(channel), 'f', m_decimals);
        const QRectF inner = box.adjusted(kTextPadding, 0, -kTextPadding, 0);
        QRectF valueRect = inner;
        QRectF textRect;
        if (twoLines) {
            valueRect.setBottom(inner.center().y());
            textRect = inner;
            textRect.setTop(inner.center().y());
        }
        painter.setPen(textColour);
        painter.setFont(FittedFont(m_font, value, valueRect.size()));
        DrawFittedText(painter, valueRect, Qt::AlignCenter, value);
        if (twoLines) {
            painter.setFont(FittedFont(m_font, alarmText, textRect.size()));
            DrawFittedText(painter, textRect, Qt::AlignCenter, alarmText);
        }
    }
}

}  // namespace vexa::toolkit
