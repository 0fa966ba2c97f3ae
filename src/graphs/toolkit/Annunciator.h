#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/Palette.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace vexa::toolkit {

class RealTimeDataset;

/// A grid of lamps, one per channel of a real-time dataset in reading order
/// (row by row), under a title with the dataset's name. A lamp shows its
/// channel's name and newest value on its cell colour, and lights in the
/// High colour while the channel is in the High or High High state and in
/// the Low colour in the Low or Low Low state. Cells past the last channel
/// are empty frames.
class Annunciator : public ChartElement {
public:
    /// The most rows or columns a grid has.
    static constexpr int kLargestSide = 32;

    /// \p dataColours: palette indexes of the values, one per channel;
    /// \p cellColours: one per cell (both repeated when there are fewer).
    Annunciator(ChartWindow& chart, RealTimeDataset& dataset, int rows, int columns,
                std::vector<PaletteIndex> dataColours, std::vector<QColor> cellColours, const QColor& lowColour,
                const QColor& highColour, bool showAlarmText, const QFont& font, const QColor& fontColour,
                const QPen& framePen);

    int rows() const;
    int columns() const;
    int cellCount() const;
    /// The channel cell \p cell shows, or -1 for an empty cell.
    int channelOf(int cell) const;
    /// Where the title and cell \p cell are drawn, in chart pixels at the
    /// chart's size.
    QRectF titleRect() const;
    QRectF cellRect(int cell) const;
    /// The colour cell \p cell is filled with now; invalid for an empty
    /// cell (only its frame is drawn).
    QColor cellFill(int cell) const;
    /// The alarm text cell \p cell shows now (empty when none).
    QString alarmText(int cell) const;

    void paint(QPainter& painter) override;

private:
    /// The fonts of the current layout, measured once per chart size.
    struct Fonts {
        QSize size;
        QFont title;
        QFont name;
        QFont value;
        QFont alarm;
    };

    /// The lines of a lamp: its name, its value and its alarm text.
    struct LampLines {
        QRectF name;
        QRectF value;
        QRectF alarm;
    };

    QRectF gridRect() const;
    /// The room each line of \p lamp may take, which sizes the fonts.
    LampLines roomOf(const QRectF& lamp) const;
    /// Where the lines of \p lamp are drawn in the current fonts: stacked
    /// and centred in the lamp.
    LampLines linesOf(const QRectF& lamp) const;
    void updateFonts();
    void paintLamp(QPainter& painter, int cell);

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    int m_rows;
    int m_columns;
    std::vector<PaletteIndex> m_dataColours;
    std::vector<QColor> m_cellColours;
    QColor m_lowColour;
    QColor m_highColour;
    bool m_showAlarmText;
    QString m_title;
    QFont m_font;
    QColor m_fontColour;
    QPen m_framePen;
    Fonts m_fonts;
};

}  // namespace vexa::toolkit
