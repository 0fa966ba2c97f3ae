#pragma once

#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/Palette.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>

#include <array>
#include <span>
#include <string>
#include <vector>

/// The live indicators that show values as points and text: the XY plot,
/// the value table and the annunciator. Like every real-time element they
/// read their dataset when they paint; AppendRow only schedules the paint.
namespace vexa::toolkit {

class Annunciator;
class ValueTable;
class XYPlot;

/// How many of the newest rows an XY plot draws as its points.
inline constexpr int kXYPlotPoints = 4000;

/// The lines of an XY plot: its trace, and the mark of its newest point.
struct XYPlotStyle {
    int traceWidth = kThinLine;
    PaletteIndex traceColour = palette::kRed;
    int markWidth = kThinLine;
    PaletteIndex markColour = palette::kRed;
};

/// A trace of channel 1 (y) against channel 0 (x) of \p dataset in the plot
/// area and scale the chart holds (those the builder set; a later rescale
/// of the chart moves the trace with its axes), drawn as \p style says.
/// Every row appended adds a point, whatever the time it came at: the
/// dataset is made to keep the newest kXYPlotPoints rows, which are the
/// plot's points.
XYPlot* CreateXYPlot(ChartWindow& chart, RealTimeDataset& dataset, const XYPlotStyle& style);

/// Whether a value indicator shows the text of a channel's alarm state
/// beside its value.
enum class AlarmText { Hidden, Shown };

/// The parts of a value table: part 0 its heading (the dataset's name),
/// part 3 its alarm part.
inline constexpr int kValueTableParts = 4;
inline constexpr int kTableHeadingPart = 0;
inline constexpr int kTableAlarmPart = 3;

/// A table of one row per channel of \p dataset: the channel's name, its row
/// text (\p rowTexts, one per channel) and its newest value, each row in its
/// colour \p colours[channel]. A channel in an alarm state shows it on its
/// value with the level's colour from the table's alarm part and, as
/// \p alarmText says, the level's text. Fills \p parts.
ValueTable* CreateValueTable(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                             std::span<const PaletteIndex> colours, const std::vector<std::string>& rowTexts,
                             AlarmText alarmText, std::array<IndicatorPart, kValueTableParts>& parts);

/// The lamps of an annunciator: \p rows by \p columns.
struct LampGrid {
    int rows = 1;
    int columns = 1;
};

/// The colours a lamp shows while its channel is in the Low or Low Low
/// state, and in the High or High High state.
struct LampAlarmColours {
    QColor low;
    QColor high;
};

/// A grid of lamps, one per channel of \p dataset in reading order; cells
/// past the last channel stay empty. A lamp shows its channel's name and
/// newest value in the current font on its cell colour (\p cellColours,
/// one per cell), and on the colour of \p alarmColours while its channel
/// is in a High or Low state, with the state's text as \p alarmText says.
/// \p dataColours (one per channel) colour the values.
Annunciator* CreateAnnunciator(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                               std::span<const PaletteIndex> dataColours, std::span<const QColor> cellColours,
                               const LampAlarmColours& alarmColours, const LampGrid& grid, AlarmText alarmText);

/// Helpers the value indicators share.

/// The decimals the table and the annunciator show a value with, and the
/// widest value they are laid out for (wider ones shrink to fit).
inline constexpr int kValueDecimals = 2;
inline constexpr const char* kTypicalValue = "-8888.88";

/// \p value with \p decimals decimals; "NaN", "Inf" or "-Inf" for values
/// that are not numbers.
QString FormatValue(double value, int decimals);
/// A name or text that comes in a fixed-size slot of 8-bit text, as shown:
/// up to its first NUL, without surrounding blanks.
QString SlotText(const std::string& text);
/// The name of \p channel of \p dataset as shown (up to the first NUL,
/// without surrounding blanks); empty when it has none.
QString ChannelName(const RealTimeDataset& dataset, int channel);
/// \p font at the largest size (down to a legible minimum) at which each of
/// \p texts fits \p room, and which is no taller than \p room: texts that
/// grow with their window. Empty texts only limit the height.
QFont FontForRoom(const QFont& font, const std::vector<QString>& texts, const QSizeF& room);
/// True when \p colour reads on \p background by brightness alone.
bool HasContrast(const QColor& colour, const QColor& background);

}  // namespace vexa::toolkit
