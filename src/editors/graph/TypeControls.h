#pragma once

#include "document/AlarmEntry.h"
#include "document/FontSpec.h"

#include <array>

/// Which of the graph editor's controls a graph type uses, and how the ones
/// it uses are loaded from the graph's section.
namespace vexa::editors {

/// One attribute group (grid, label or title font).
struct FontGroupUse {
    bool enabled = false;
    /// The kind whose defaults an absent key takes.
    FontKind kind = FontKind::Grid;
    /// The style check boxes are loaded from the key.
    bool loadsStyle = true;
    /// The face and size lists are loaded from the key.
    bool loadsFaceAndSize = true;

    bool operator==(const FontGroupUse&) const = default;
};

/// The controls of one alarm row that are enabled.
struct AlarmRowUse {
    bool check = false;
    bool value = false;
    bool text = false;
    bool colour = false;

    bool operator==(const AlarmRowUse&) const = default;
};

inline constexpr AlarmRowUse kWholeAlarmRow{true, true, true, true};

/// Everything that depends on the type.
struct TypeControls {
    bool plotBackground = false;
    FontGroupUse grid;
    FontGroupUse label;
    FontGroupUse title;
    /// The data colour lists #1 … #dataColours are enabled, the rest not.
    int dataColours = 0;
    /// By alarm entry: A1 (OK) … A7 (Deviation).
    std::array<AlarmRowUse, kAlarmEntryCount> alarms{};
    /// The hysteresis boxes are enabled exactly when every alarm row is whole.
    bool hysteresis = false;
};

/// The controls a graph of \p type (1 … 10) uses. For no type, only the
/// alarm rows and hysteresis boxes are given (all enabled); the editor keeps
/// the other controls as they were.
TypeControls ControlsForType(int type);

}  // namespace vexa::editors
