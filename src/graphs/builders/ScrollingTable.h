#pragma once

#include <QString>

#include <span>
#include <vector>

class QWidget;

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class ScrollingList;
}

/// The scrolling table: a list in which every sample adds a time-stamped
/// line of the graph's values below a header line, newest first.
namespace vexa::graphs {

/// The first tab stop (after the time), and the narrowest column, in dialog
/// units.
inline constexpr int kFirstScrollingTabStop = 46;
inline constexpr int kNarrowestScrollingColumn = 36;

/// The list's tab stops in dialog units: the first at 46, then one per
/// measurement, each wide enough for the measurement's name (4 units a
/// character and 16 more) and at least 36.
std::vector<int> ScrollingTabStops(const GraphDefinition& graph);

/// A value as a line shows it: two decimals, no blanks.
QString FormatScrollingValue(double value);
/// "Time" and eight blanks, then a tab and the name of each measurement.
QString ScrollingHeader(const GraphDefinition& graph);
/// The sample's time of day (seconds since midnight) as hh:mm:ss.mmm, then
/// a tab and each value.
QString ScrollingDataLine(double timeOfDay, std::span<const double> values);

/// The list window of a scrolling table on \p graphWindow, with the graph's
/// list colours (the text in its label font's colour, the background in its
/// window background) and its tab stops.
toolkit::ScrollingList* CreateScrollingList(QWidget& graphWindow, const GraphDefinition& graph);

/// One sample: a fresh header and, as the first data line, the sample's time
/// and \p values (one per measurement). Nothing without a list.
void AddScrollingRow(toolkit::ScrollingList* list, const GraphDefinition& graph, std::span<const double> values,
                     double timeOfDay);

}  // namespace vexa::graphs
