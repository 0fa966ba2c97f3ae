#include "PageData.h"

#include "FixedTableGraph.h"
#include "GraphDataset.h"
#include "ScrollingTable.h"
#include "TimeHistoryGraph.h"

#include "document/GraphDefinition.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/ScrollingPlot.h"
#include "graphs/toolkit/TimeLabels.h"
#include "graphs/toolkit/ValueTable.h"
#include "graphs/toolkit/XYPlot.h"
#include "platform/AnsiText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vexa::graphs {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kMillisecondsPerSecond = 1000;
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
/// Room for the longest shortest form of a double.
constexpr std::size_t kNumberBufferSize = 32;

const QString kTimeHeading = QStringLiteral("Time");
const QString kMeasurementHeading = QStringLiteral("Measurement");
const QString kDescriptionHeading = QStringLiteral("Description");
const QString kValueHeading = QStringLiteral("Value");
const QString kUnitsHeading = QStringLiteral("Units");
const QString kAlarmHeading = QStringLiteral("Alarm");
const QString kAlarmColumnSuffix = QStringLiteral(" alarm");

constexpr std::array<const char*, toolkit::kAlarmLevelCount> kLevelNames = {
    "Normal", "High", "Low", "High High", "Low Low", "Rate", "Deviation",
};

QString Delimited(const DataTable& table, QChar separator, const QString& lineEnd,
                  QString (*cellText)(const QString&, QChar))
{
    QString text;
    const auto appendLine = [&](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += separator;
            text += cellText(cells[i], separator);
        }
        text += lineEnd;
    };
    appendLine(table.header);
    for (const QStringList& row : table.rows)
        appendLine(row);
    return text;
}

QString TabCell(const QString& cell, QChar /*separator*/)
{
    QString plain = cell;
    plain.replace(QLatin1Char('\t'), QLatin1Char(' '));
    plain.replace(QLatin1Char('\r'), QLatin1Char(' '));
    plain.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return plain;
}

QString QuotedCell(const QString& cell, QChar separator)
{
    const bool needsQuotes = cell.contains(separator) || cell.contains(QLatin1Char('"')) ||
                             cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!needsQuotes)
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

/// A measurement's column heading: its name, and its units in brackets.
QString MeasurementHeading(const MeasurementSlot& slot)
{
    const QString name = FromAnsi(slot.name);
    const QString units = FromAnsi(slot.units).trimmed();
    return units.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, units);
}

/// One row of a time history as a table shows it.
QStringList TimeHistoryRow(double timeOfDay, int count, const auto& valueOf, const auto& levelOf,
                           AlarmColumns alarms)
{
    QStringList cells{ClockTimeWithMilliseconds(timeOfDay)};
    for (int i = 0; i < count; ++i)
        cells << NumberText(valueOf(i));
    if (alarms == AlarmColumns::With) {
        for (int i = 0; i < count; ++i)
            cells << AlarmLevelName(levelOf(i));
    }
    return cells;
}

/// The rows the strip chart shows: its time labels give the first row's
/// time of day, from which the others are counted.
void AddLiveRows(DataTable& table, const GraphResources& resources, const TimeHistoryState& state, int count,
                 AlarmColumns alarms)
{
    const toolkit::ChartWindow* chart = resources.chartWindow.data();
    const toolkit::RealTimeDataset* dataset = resources.dataset.get();
    if (chart == nullptr || dataset == nullptr || chart->scrollingPlot() == nullptr)
        return;
    const double start = state.timeLabels != nullptr ? state.timeLabels->startTime() : 0.0;
    for (const toolkit::ScrollingPlot::RowInView& shown : chart->scrollingPlot()->rowsInView()) {
        table.rows.push_back(TimeHistoryRow(
            start + shown.elapsed, count, [&](int i) { return dataset->value(shown.row, i); },
            [&](int i) { return dataset->alarmStateAt(shown.row, i); }, alarms));
    }
}

/// The rows the history chart was built from that lie in its time range,
/// zoomed or not.
void AddHistoryRows(DataTable& table, const TimeHistoryState& state, int count, AlarmColumns alarms)
{
    const toolkit::ChartWindow* chart = state.historyChart.data();
    if (chart == nullptr || state.historyPoints <= 0)
        return;
    const toolkit::ScaleMap& x = chart->plotFrame().xMap();
    const double first = std::min(x.minimum(), x.maximum());
    const double last = std::max(x.minimum(), x.maximum());
    for (int k = 0; k < state.historyPoints; ++k) {
        const auto point = static_cast<std::size_t>(k);
        const double time = state.historyTimes[point];
        if (time < first || time > last)
            continue;
        table.rows.push_back(TimeHistoryRow(
            time, count, [&](int i) { return state.historyValues[static_cast<std::size_t>(i)][point]; },
            [&](int i) {
                const std::vector<int>& levels = state.historyLevels[static_cast<std::size_t>(i)];
                return point < levels.size() ? levels[point] : toolkit::kLevelNormal;
            },
            alarms));
    }
}

DataTable FixedTableData(const GraphResources& resources, const toolkit::ValueTable& valueTable)
{
    const GraphDefinition& graph = resources.definition;
    DataTable table;
    table.header = {kMeasurementHeading, kDescriptionHeading, kValueHeading, kUnitsHeading};
    if (valueTable.hasStateColumn())
        table.header << kAlarmHeading;
    if (resources.dataset == nullptr || resources.dataset->appendedRows() == 0)
        return table;
    const std::vector<std::string> rowTexts = FixedTableRowTexts(graph);
    const int rows = std::min(valueTable.rowCount(), MeasurementCount(graph));
    for (int row = 0; row < rows; ++row) {
        const auto slot = static_cast<std::size_t>(row);
        QStringList cells{FromAnsi(graph.measurements[slot].name),
                          slot < rowTexts.size() ? FromAnsi(rowTexts[slot]) : QString(), valueTable.valueText(row),
                          FromAnsi(graph.measurements[slot].units)};
        if (valueTable.hasStateColumn())
            cells << valueTable.stateText(row);
        table.rows.push_back(cells);
    }
    return table;
}

/// The lines of a scrolling table, split at their tabs, under its header
/// (which the list shows only from the first line on); the header's cells
/// lose the blanks that pad them.
DataTable ScrollingTableData(const GraphDefinition& graph, const toolkit::ScrollingList& list)
{
    DataTable table;
    for (const QString& cell : ScrollingHeader(graph).split(QLatin1Char('\t')))
        table.header << cell.trimmed();
    const QStringList lines = list.lines();
    for (qsizetype i = 1; i < lines.size(); ++i)
        table.rows.push_back(lines[i].split(QLatin1Char('\t')));
    return table;
}

/// The points an XY plot draws: the newest rows of its dataset, oldest
/// first.
DataTable XYPlotData(const GraphResources& resources, const toolkit::XYPlot& plot)
{
    const GraphDefinition& graph = resources.definition;
    DataTable table;
    for (int i = 0; i < std::min(MeasurementCount(graph), 2); ++i)
        table.header << MeasurementHeading(graph.measurements[static_cast<std::size_t>(i)]);
    const toolkit::RealTimeDataset* dataset = resources.dataset.get();
    if (dataset == nullptr || table.header.size() < 2)
        return table;
    const int points = plot.pointCount();
    for (int row = dataset->rowCount() - points; row < dataset->rowCount(); ++row)
        table.rows.push_back({NumberText(dataset->value(row, 0)), NumberText(dataset->value(row, 1))});
    return table;
}

/// The current value of each measurement, for the bars, meters and the
/// annunciator.
DataTable CurrentValuesData(const GraphResources& resources)
{
    const GraphDefinition& graph = resources.definition;
    DataTable table;
    table.header = {kMeasurementHeading, kValueHeading, kUnitsHeading, kAlarmHeading};
    const toolkit::RealTimeDataset* dataset = resources.dataset.get();
    if (dataset == nullptr || dataset->appendedRows() == 0)
        return table;
    const int count = std::min(MeasurementCount(graph), dataset->channelCount());
    for (int i = 0; i < count; ++i) {
        const MeasurementSlot& slot = graph.measurements[static_cast<std::size_t>(i)];
        table.rows.push_back({FromAnsi(slot.name), NumberText(dataset->latest(i)), FromAnsi(slot.units),
                              AlarmLevelName(dataset->alarmState(i))});
    }
    return table;
}

template <typename Element>
const Element* FirstElement(const toolkit::ChartWindow* chart)
{
    if (chart == nullptr)
        return nullptr;
    const std::vector<Element*> found = chart->elementsOf<Element>();
    return found.empty() ? nullptr : found.front();
}

}  // namespace

QString TabSeparated(const DataTable& table)
{
    return Delimited(table, QLatin1Char('\t'), QStringLiteral("\n"), TabCell);
}

QString CommaSeparated(const DataTable& table)
{
    return Delimited(table, QLatin1Char(','), QStringLiteral("\r\n"), QuotedCell);
}

QString NumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    std::array<char, kNumberBufferSize> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc())
        return QString::number(value, 'g', 17);
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

QString ClockTimeWithMilliseconds(double seconds)
{
    if (!std::isfinite(seconds))
        seconds = 0.0;
    const double wrapped = std::fmod(std::fmod(seconds, kSecondsPerDay) + kSecondsPerDay, kSecondsPerDay);
    auto milliseconds = static_cast<long long>(std::llround(wrapped * kMillisecondsPerSecond));
    milliseconds %= static_cast<long long>(kSecondsPerDay) * kMillisecondsPerSecond;  // 23:59:59.9996 is midnight
    const auto total = static_cast<int>(milliseconds / kMillisecondsPerSecond);
    return QString::asprintf("%2.2d:%2.2d:%2.2d.%3.3d", total / kSecondsPerHour,
                             (total % kSecondsPerHour) / kSecondsPerMinute, total % kSecondsPerMinute,
                             static_cast<int>(milliseconds % kMillisecondsPerSecond));
}

QString AlarmLevelName(int level)
{
    if (level < 0 || level >= toolkit::kAlarmLevelCount)
        level = toolkit::kLevelNormal;
    return QString::fromLatin1(kLevelNames[static_cast<std::size_t>(level)]);
}

DataTable TimeHistoryRowsInView(const GraphResources& resources, const TimeHistoryState& state, bool historyPage,
                                AlarmColumns alarms)
{
    const GraphDefinition& graph = resources.definition;
    const int count = MeasurementCount(graph);
    DataTable table;
    table.header << kTimeHeading;
    for (int i = 0; i < count; ++i)
        table.header << MeasurementHeading(graph.measurements[static_cast<std::size_t>(i)]);
    if (alarms == AlarmColumns::With) {
        for (int i = 0; i < count; ++i)
            table.header << FromAnsi(graph.measurements[static_cast<std::size_t>(i)].name) + kAlarmColumnSuffix;
    }
    if (historyPage)
        AddHistoryRows(table, state, count, alarms);
    else
        AddLiveRows(table, resources, state, count, alarms);
    return table;
}

DataTable PageData(const GraphResources& resources, const toolkit::ChartPage* page)
{
    if (resources.scrollingList != nullptr)
        return ScrollingTableData(resources.definition, *resources.scrollingList);
    if (const TimeHistoryState* state = TimeHistoryStateOf(resources)) {
        const bool historyPage = page != nullptr && page == state->historyWindow.data();
        return TimeHistoryRowsInView(resources, *state, historyPage, AlarmColumns::Without);
    }
    const toolkit::ChartWindow* chart = resources.chartWindow.data();
    if (const auto* valueTable = FirstElement<toolkit::ValueTable>(chart))
        return FixedTableData(resources, *valueTable);
    if (const auto* plot = FirstElement<toolkit::XYPlot>(chart))
        return XYPlotData(resources, *plot);
    return CurrentValuesData(resources);
}

}  // namespace vexa::graphs
