#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/GaugeIndicators.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/ScaleMap.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vexa::toolkit {

class Axis;
class RealTimeDataset;
class TextElement;

/// One bar per channel of a dataset on a common scale, each from 0 to its
/// channel's newest value, with the channel's name beside it and its value
/// in a box. A channel in an alarm state shows its level's colour (from the
/// indicator's alarm part) on its bar and its value box, and the level's
/// text in the box. Dashed marks across the bars show the high and low
/// values it was created with, labelled with their texts.
///
/// The indicator owns the chart's plot frame: it lays the plot area out
/// round its labels for the window's size, so that the axes created with it
/// (which paint after it, over the bars' ends) sit on its scale.
class BarIndicator : public ChartElement {
public:
    /// \p barColours one per channel (repeated when there are fewer; a
    /// default set when empty).
    BarIndicator(ChartWindow& chart, RealTimeDataset& dataset, const ValueRange& scale, BarOrientation orientation,
                 const BarMark& high, const BarMark& low, std::vector<QColor> barColours);

    /// The title drawn over the plot: the plot area starts below it.
    void setTitle(const TextElement* title);

    BarOrientation orientation() const;
    double minimum() const;
    double maximum() const;
    /// The interval of the value axis's ticks and of the grid.
    double tickInterval() const;
    int barCount() const;
    /// The slots the plot is divided into across the bars: one per bar, at
    /// least one.
    int slotCount() const;

    /// The bar of \p channel as drawn now, in pixels of the chart; empty
    /// (null) when there is no bar to draw (no such channel, a value that is
    /// not a number, the dataset gone, an empty window). A bar of value 0
    /// has zero length at the zero line.
    QRectF barRect(int channel) const;
    /// The bar's colour now: its alarm level's colour while in alarm.
    QColor barFill(int channel) const;
    /// The box that shows the channel's value, and where its name goes.
    QRectF valueRect(int channel) const;
    QRectF labelRect(int channel) const;
    /// The plot area in pixels.
    QRectF plotRect() const;
    /// Where the value 0 (or the scale end nearest to it) lies, in pixels
    /// along the value axis.
    double zeroPixel() const;

    /// The pieces the chart builder colours.
    AlarmPart& alarmPart();
    QColor& labelColour();
    /// The face and size the labels are drawn in before they are fitted to
    /// the window (the axis numbers use it as it is).
    static QFont LabelFont();

    void paint(QPainter& painter) override;

private:
    /// What depends only on the window's size, worked out once per size.
    struct Layout {
        QSize size;
        QRectF plot;
        ScaleMap valueMap;
        double slot = 0.0;      ///< each channel's share of the plot, across the bars
        double thickness = 0.0; ///< of a bar
        QFont labelFont;
        QFont valueFont;
        double valueBoxHeight = 0.0;
        double valueBoxWidth = 0.0;  ///< under vertical bars
        double labelHeight = 0.0;
        std::vector<double> gridTicks;
    };
    /// A value as text, kept while the value stays the same.
    struct ValueText {
        double value = 0.0;
        bool valid = false;
        QString text;
    };

    void updateLayout() const;
    void layoutHorizontal(Layout& layout) const;
    void layoutVertical(Layout& layout) const;
    double titleBottom() const;
    double widestValueText(const QFont& valueFont, const QFont& labelFont) const;
    bool isHorizontal() const;
    bool hasData() const;
    QRectF slotRect(int channel) const;
    QColor normalColour(int channel) const;
    const QString& valueText(int channel) const;
    const QString& alarmText(int level) const;
    QString numberText(double value) const;

    void paintWell(QPainter& painter) const;
    void paintMarks(QPainter& painter) const;
    void paintMark(QPainter& painter, double value, const QString& text, const QColor& colour) const;
    void paintBar(QPainter& painter, int channel) const;
    void paintLabel(QPainter& painter, int channel) const;
    void paintValue(QPainter& painter, int channel) const;

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    int m_channelCount;
    double m_minimum;
    double m_maximum;
    BarOrientation m_orientation;
    double m_high;
    double m_low;
    QString m_highText;
    QString m_lowText;
    std::vector<QColor> m_barColours;
    std::vector<QString> m_names;
    double m_tickInterval;
    int m_decimals;
    const TextElement* m_title = nullptr;
    AlarmPart m_alarm;
    QColor m_labelColour;

    mutable Layout m_layout;
    mutable std::vector<ValueText> m_valueTexts;
    mutable std::array<std::string, kAlarmLevelCount> m_alarmSources;
    mutable std::array<QString, kAlarmLevelCount> m_alarmTexts;
};

}  // namespace vexa::toolkit
