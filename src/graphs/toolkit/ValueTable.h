#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace vexa::toolkit {

class RealTimeDataset;

/// A table of one row per channel of a real-time dataset on a dark panel:
/// the channel's name, its row text and its newest value, each row in its
/// own colour, and optionally a column with the text of the channel's alarm
/// state. A channel in an alarm state shows its value (and state) on the
/// level's colour of the table's alarm part. The rows share the room under
/// the heading (a few rows make a shorter table rather than tall bands),
/// and the texts grow and shrink with them.
class ValueTable : public ChartElement {
public:
    /// \p colours: palette indexes, one per row (repeated when there are
    /// fewer); \p rowTexts: one per row (missing ones are empty).
    ValueTable(ChartWindow& chart, RealTimeDataset& dataset, std::vector<PaletteIndex> colours,
               std::vector<QString> rowTexts, bool stateColumn, const QFont& font);

    /// One row per channel; none once the dataset is gone.
    int rowCount() const;
    bool hasStateColumn() const;
    /// The panel all rows stand on, and the cells of row \p row, in chart
    /// pixels at the chart's size. The state cell is empty without a state
    /// column.
    QRectF panelRect() const;
    QRectF rowRect(int row) const;
    QRectF nameRect(int row) const;
    QRectF textRect(int row) const;
    QRectF valueRect(int row) const;
    QRectF stateRect(int row) const;

    /// The colours of the alarm levels (SetAlarmColour sets them).
    AlarmPart& alarmPart();
    /// The colour row \p row is written in.
    QColor rowColour(int row) const;
    /// What the value and state cells of row \p row show now: the cell's
    /// fill (invalid when plain) and texts (empty before the first row).
    QColor valueFill(int row) const;
    QString valueText(int row) const;
    QString stateText(int row) const;

    void paint(QPainter& painter) override;

private:
    /// How a row shows its channel's alarm state now.
    struct RowState {
        QColor fill;  ///< invalid: plain
        QString text;
    };
    /// The fonts of the current layout, measured once per chart size.
    struct Fonts {
        QSize size;
        int rows = -1;
        QFont text;
        QFont value;
    };

    RowState rowState(int row) const;
    double rowHeight() const;
    /// Where the text of \p cell goes: inside its padding.
    QRectF textBox(const QRectF& cell) const;
    /// Cell \p column (0 name ... 3 state) of row \p row.
    QRectF cellRect(int row, int column) const;
    void updateFonts();
    void paintRow(QPainter& painter, int row);
    void paintCell(QPainter& painter, const QRectF& cell, const QFont& font, const QColor& fill,
                   const QColor& colour, int alignment, const QString& text, bool shrinkToFit) const;

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    std::vector<PaletteIndex> m_colours;
    std::vector<QString> m_rowTexts;
    bool m_stateColumn;
    QFont m_font;
    AlarmPart m_alarm;
    Fonts m_fonts;
};

}  // namespace vexa::toolkit
