#pragma once

#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Toolkit.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

namespace vexa::toolkit::test {

/// A page with one chart window covering it, drawn by \p builder: the
/// frame in which the indicator tests build their charts. Built lazily,
/// like every page, or at once with build().
class IndicatorPage {
public:
    explicit IndicatorPage(ChartBuilder builder, PaletteIndex background = palette::kLightGray);

    /// Builds page and chart (as the first paint would).
    void build();
    QImage render(const QSize& size = {1000, 700});

    QWidget owner;
    QPointer<ChartPage> page;
    QPointer<ChartWindow> chart;

private:
    ChartBuilder m_builder;
    PaletteIndex m_background;
};

/// Pixels of \p image inside \p area within \p tolerance of \p colour in
/// each channel.
int CountPixelsNear(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 30);

}  // namespace vexa::toolkit::test
