#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vexa::toolkit {
class ChartPage;
}

/// The numbers a graph page shows, as a table of text cells: what the
/// clipboard's text and the CSV export are made of, so that a spreadsheet
/// gets the same values the page draws.
namespace vexa::graphs {

struct GraphResources;
struct TimeHistoryState;

/// A header line and rows of cells. Numbers are written with a point and as
/// many digits as it takes to read them back exactly.
struct DataTable {
    QStringList header;
    std::vector<QStringList> rows;
};

/// One line per row (the header first), cells separated by tabs, each line
/// ended by a line feed. Tabs and line breaks inside a cell become blanks.
QString TabSeparated(const DataTable& table);
/// The same with commas, lines ended by CR LF; a cell holding a comma, a
/// quote or a line break is quoted, its quotes doubled.
QString CommaSeparated(const DataTable& table);

/// \p value with a point and the fewest digits that read back as the same
/// double ("0.1", "1234.567", "-5", "nan").
QString NumberText(double value);
/// \p seconds since midnight as a clock time "hh:mm:ss.mmm".
QString ClockTimeWithMilliseconds(double seconds);
/// The name of alarm level \p level: "Normal", "High", "Low", "High High",
/// "Low Low", "Rate", "Deviation".
QString AlarmLevelName(int level);

/// Which rows of a time history a table takes.
enum class AlarmColumns { Without, With };

/// The rows in view of the time history's chart page (the strip chart's
/// span) or of its history page \p historyPage (the zoomed range): the time
/// of day, each measurement's engineering value and, \p alarms With, each
/// measurement's alarm level name. The header names the measurements with
/// their units.
DataTable TimeHistoryRowsInView(const GraphResources& resources, const TimeHistoryState& state, bool historyPage,
                                AlarmColumns alarms);

/// The data \p page shows, \p page being the graph's chart page or its
/// history page: the rows in view of a time history; the shown rows of a
/// fixed table (name, description, value, units and, when the table shows
/// it, the alarm text) or of a scrolling table (its lines); x and y of the
/// points an XY plot draws; the current value, units and alarm level of
/// each measurement of the other types. A graph with no sample yet gives
/// the header alone.
DataTable PageData(const GraphResources& resources, const toolkit::ChartPage* page);

}  // namespace vexa::graphs
