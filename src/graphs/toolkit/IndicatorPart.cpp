#include "graphs/toolkit/IndicatorPart.h"

#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/Toolkit.h"

namespace vexa::toolkit {

void SetTextColour(ChartWindow& chart, const IndicatorPart& part, PaletteIndex colour)
{
    if (part.text != nullptr)
        SetTextColour(chart, part.text, colour);
    if (part.textColour != nullptr) {
        *part.textColour = PaletteColour(colour);
        chart.restyle();
    }
}

void SetAxisColour(ChartWindow& chart, const IndicatorPart& part, PaletteIndex colour)
{
    SetAxisColour(chart, part.axis, colour);
}

}  // namespace vexa::toolkit
