#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/DialScale.h"
#include "graphs/toolkit/GaugeIndicators.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace vexa::toolkit {

class RealTimeDataset;

/// A round dial showing a channel's newest value on a scale with numbered
/// ticks: by needles (one per channel, or for one), by a band filled along
/// the scale, or by a pie slice. A readout box under the centre shows the
/// (first) channel's value on the colour of its alarm state.
///
/// The radius is a fraction of two thirds of the chart's smaller side, so
/// that 0.6 gives a dial across 80 % of it; a dial that would not fit round
/// its centre is made smaller until its rim stays inside the window.
class Dial : public ChartElement {
public:
    enum class Kind { Needle, Arc, Pie };

    /// What the dial is created with. Colours are palette indexes.
    struct Settings {
        Kind kind = Kind::Needle;
        int channel = 0;  ///< -1: every channel (needles only)
        double minimum = 0.0;
        double maximum = 1.0;
        double reference = 0.0;  ///< where the band or slice starts
        double centreX = 0.5;
        double centreY = 0.5;
        double radius = 0.6;
        double startAngle = 315.0;
        double endAngle = 225.0;
        double tickInterval = 0.0;
        PaletteIndex hubColour = palette::kBlack;
        std::vector<PaletteIndex> needleColours;
        PaletteIndex colour = palette::kBlack;           ///< of the band or slice
        PaletteIndex background = palette::kLightGray;  ///< of the band's or slice's track
        double bandWidth = 0.15;
        double hubSize = 0.08;     ///< the hub's radius, a fraction of the dial's
        double needleWidth = 0.02; ///< at the hub, a fraction of the dial's radius
        DialAlarmColours alarmColours{};
        QFont font;          ///< of the numbers
        PaletteIndex lineColour = palette::kBlack;  ///< of ticks and numbers
    };

    Dial(ChartWindow& chart, RealTimeDataset& dataset, Settings settings);

    Kind kind() const;
    double minimum() const;
    double maximum() const;
    /// The interval between the numbered ticks (the one asked for, unless it
    /// was unusable or would have made too many ticks).
    double tickInterval() const;
    /// The numbered ticks' values, from the minimum.
    const std::vector<double>& ticks() const;
    const DialAlarmColours& alarmColours() const;
    /// The palette colour of the shown channel's alarm state now: the
    /// normal colour, the High colour (High High too) or the Low colour
    /// (Low Low too).
    PaletteIndex stateColour() const;
    /// Degrees counter-clockwise from three o'clock at which \p value lies,
    /// held to the scale's ends.
    double angleOf(double value) const;
    /// The channels that have needles (or the band, or the slice).
    std::vector<int> shownChannels() const;

    /// Geometry in pixels of the chart, for the window's current size.
    QPointF centrePixel() const;
    double radiusPixels() const;
    /// The radius of the bezel's outer edge, round the face.
    double outerRadiusPixels() const;
    QRectF readoutRect() const;
    /// How far from the centre a needle reaches.
    double needleLength() const;

    void paint(QPainter& painter) override;

private:
    /// What depends only on the window's size, worked out once per size.
    struct Layout {
        QSize size;
        QPointF centre;
        double radius = 0.0;
        std::vector<QLineF> majorTicks;
        std::vector<QLineF> minorTicks;
        std::vector<QRectF> labelRects;  ///< per tick; empty where left out
        QRectF readout;
        QFont readoutFont;
    };
    /// How far from the centre the pieces lie, in shares of the radius.
    struct Rings {
        double tickOuter;
        double majorLength;
        double minorLength;
    };

    void updateLayout() const;
    void layoutTicks(Layout& layout) const;
    Rings rings() const;
    QPointF pointAt(const Layout& layout, double angle, double distance) const;
    bool hasData() const;
    /// The shown channels, first to one past the last.
    std::pair<int, int> channelRange() const;
    int readoutChannel() const;
    const QString& readoutText() const;

    void paintFace(QPainter& painter) const;
    void paintTrack(QPainter& painter) const;
    void paintScale(QPainter& painter) const;
    void paintValue(QPainter& painter) const;
    void paintNeedles(QPainter& painter) const;
    void paintReadout(QPainter& painter) const;

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    Settings m_settings;
    DialScale m_scale;
    double m_tickInterval = 0.0;
    std::vector<double> m_ticks;
    std::vector<QString> m_tickTexts;
    int m_decimals = 0;

    mutable Layout m_layout;
    mutable double m_readoutValue = 0.0;
    mutable bool m_readoutValid = false;
    mutable QString m_readoutText;
};

}  // namespace vexa::toolkit
