#include "ScrollingTable.h"

#include "GraphDataset.h"

#include "document/GraphDefinition.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"
#include "link/client/TimeField.h"
#include "platform/AnsiText.h"

#include <algorithm>

namespace vexa::graphs {

namespace {

constexpr int kColumnPadding = 16;
const QString kHeaderStart = QStringLiteral("Time        ");
constexpr QChar kTab = QLatin1Char('\t');
constexpr QChar kBlank = QLatin1Char(' ');

}  // namespace

std::vector<int> ScrollingTabStops(const GraphDefinition& graph)
{
    std::vector<int> stops{kFirstScrollingTabStop};
    const int count = MeasurementCount(graph);
    for (int slot = 0; slot < count; ++slot) {
        const int length = static_cast<int>(graph.measurements[static_cast<std::size_t>(slot)].name.size());
        const int width = toolkit::ScrollingList::kDialogUnitsPerCharacter * length + kColumnPadding;
        stops.push_back(stops.back() + std::max(width, kNarrowestScrollingColumn));
    }
    return stops;
}

QString FormatScrollingValue(double value)
{
    // Formatted left-aligned in eight places, then cut where the blanks of
    // the padding begin.
    const QString padded = QString::asprintf("%-8.2f", value);
    const qsizetype blank = padded.indexOf(kBlank);
    return blank < 0 ? padded : padded.left(blank);
}

QString ScrollingHeader(const GraphDefinition& graph)
{
    QString header = kHeaderStart;
    const int count = MeasurementCount(graph);
    for (int slot = 0; slot < count; ++slot)
        header += kTab + FromAnsi(graph.measurements[static_cast<std::size_t>(slot)].name);
    return header;
}

QString ScrollingDataLine(double timeOfDay, std::span<const double> values)
{
    const link::TimeReading time = link::InterpretTimeField(timeOfDay, link::LocalSecondsOfDay());
    QString line = QString::asprintf("%2.2d:%2.2d:%2.2d.%3.3d", time.hours, time.minutes, time.seconds,
                                     time.milliseconds);
    for (const double value : values)
        line += kTab + FormatScrollingValue(value);
    return line;
}

toolkit::ScrollingList* CreateScrollingList(QWidget& graphWindow, const GraphDefinition& graph)
{
    auto* list = new toolkit::ScrollingList(&graphWindow);
    list->setColours(toolkit::PaletteColour(graph.labelFont.colour), toolkit::PaletteColour(graph.windowBackground));
    list->setTabStops(ScrollingTabStops(graph));
    return list;
}

void AddScrollingRow(toolkit::ScrollingList* list, const GraphDefinition& graph, std::span<const double> values,
                     double timeOfDay)
{
    if (list == nullptr)
        return;
    list->addLine(ScrollingHeader(graph), ScrollingDataLine(timeOfDay, values));
}

}  // namespace vexa::graphs
