#include "graphs/toolkit/IndicatorPart.h"

#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/TextElement.h"

namespace vexa::toolkit {

void SetTextColour(ChartWindow& chart, const IndicatorPart& part, int colour)
{
    if (part.text != nullptr)
        SetTextColour(chart, part.text, colour);
    if (part.textColour != nullptr) {
        *part.textColour = PaletteColour(colour);
        chart.update();
    }
}

void SetAxisColour(ChartWindow& chart, const IndicatorPart& part, int colour, int code)
{
    SetAxisColour(chart, part.axis, colour, code);
}

}  // namespace vexa::toolkit
