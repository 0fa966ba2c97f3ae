#pragma once

namespace vexa::toolkit {

class Axis;
class TextElement;
struct AlarmPart;

/// A handle that an indicator fills in when it is created, so that its
/// builder can colour that piece of it afterwards: one of its texts
/// (SetTextColour), one of its axes (SetAxisColour) or its alarm part
/// (SetAlarmColour). The indicator owns what the handle points at; a part
/// the indicator does not have stays null.
struct IndicatorPart {
    TextElement* text = nullptr;
    Axis* axis = nullptr;
    AlarmPart* alarm = nullptr;
};

}  // namespace vexa::toolkit
