#include "IndicatorPage.h"

#include <cstdlib>

namespace vexa::toolkit::test {

IndicatorPage::IndicatorPage(ChartBuilder builder, PaletteIndex background)
    : m_builder(std::move(builder)), m_background(background)
{
    owner.resize(1000, 700);
    page = CreateChartPage(
        "indicator", &owner, "Indicator",
        [this](ChartPage& target) {
            chart = CreateChartWindow(target, m_builder, kWholeArea, m_background);
        },
        WindowCharacteristic::Proportional, PageStyle::Child);
}

void IndicatorPage::build()
{
    page->buildAll();
}

QImage IndicatorPage::render(const QSize& size)
{
    return RenderPageImage(*page, size);
}

int CountPixelsNear(const QImage& image, const QRect& area, const QColor& colour, int tolerance)
{
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) <= tolerance &&
                std::abs(pixel.green() - colour.green()) <= tolerance &&
                std::abs(pixel.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

}  // namespace vexa::toolkit::test
