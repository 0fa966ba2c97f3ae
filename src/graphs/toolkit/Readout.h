#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <QColor>
#include <QFont>

#include <memory>
#include <vector>

namespace vexa::toolkit {

class RealTimeDataset;

/// A column of cells with the newest values of a dataset's channels (all
/// but a time channel, or one), one cell per channel stacked over the
/// rectangle. A channel in alarm on one of the chart's alarm indicators
/// shows on its level's colour, with the level's text when there is room.
class Readout : public ChartElement {
public:
    /// \p textColours: one per channel, or empty for \p fontColour
    /// throughout.
    Readout(ChartWindow& chart, RealTimeDataset& dataset, int channel, const ReadoutFormat& format,
            std::vector<PaletteIndex> textColours, const QFont& font, PaletteIndex fontColour);

    /// The cell of the \p index-th value shown, in pixels of the chart.
    QRectF cellRect(int index) const;
    int cellCount() const;

    void paint(QPainter& painter) override;

private:
    int channelOfCell(int index) const;
    QRectF cellBox(const QRectF& slot, bool twoLines) const;

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    int m_channel;
    ChartRect m_rect;
    std::vector<PaletteIndex> m_textColours;
    PaletteIndex m_background;
    int m_decimals;
    QFont m_font;
    PaletteIndex m_fontColour;
    double m_lineHeight;  ///< of m_font, which the readout keeps
};

}  // namespace vexa::toolkit
