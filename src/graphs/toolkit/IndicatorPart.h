#pragma once

#include "graphs/toolkit/Palette.h"

namespace vexa::toolkit {

class Axis;
class ChartWindow;
class TextElement;
struct AlarmPart;

/// A handle that an indicator fills in when it is created, so that its
/// builder can colour that piece of it afterwards: one of its texts, a
/// group of texts it draws itself (its labels), one of its axes, or its
/// alarm part (SetAlarmColour). The indicator owns what the handle points
/// at; what a part does not have stays null.
struct IndicatorPart {
    TextElement* text = nullptr;
    QColor* textColour = nullptr;  ///< the colour of a group of texts
    Axis* axis = nullptr;
    AlarmPart* alarm = nullptr;
};

/// Colours the part's text, or its group of texts, with \p colour; a part
/// without texts is left alone.
void SetTextColour(ChartWindow& chart, const IndicatorPart& part, PaletteIndex colour);
/// Colours the part's axis (line, ticks and numbers).
void SetAxisColour(ChartWindow& chart, const IndicatorPart& part, PaletteIndex colour);

}  // namespace vexa::toolkit
