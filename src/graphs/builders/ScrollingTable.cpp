#include "ScrollingTable.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/DisplayFormat.h"
#include "document/FontSpec.h"
#include "document/GraphTable.h"
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

std::vector<int> ScrollingTabStops(const GraphRecord& record)
{
    std::vector<int> stops{kFirstScrollingTabStop};
    const int count = MeasurementCount(record);
    for (int slot = 0; slot < count; ++slot) {
        const int length = static_cast<int>(record.measurements[static_cast<std::size_t>(slot)].name.size());
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

QString ScrollingHeader(const GraphRecord& record)
{
    QString header = kHeaderStart;
    const int count = MeasurementCount(record);
    for (int slot = 0; slot < count; ++slot)
        header += kTab + FromAnsi(record.measurements[static_cast<std::size_t>(slot)].name);
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

toolkit::ScrollingList* CreateScrollingList(QWidget& graphWindow, const GraphRecord& record,
                                            const std::string& section, const std::string& displayFile)
{
    auto* list = new toolkit::ScrollingList(&graphWindow);
    const int text = FontColour(section, kLabelFontKey, FontKind::ScrollingTabularLabel, displayFile);
    const int background = ReadWindowBackground(section, displayFile);
    list->setColours(toolkit::PaletteColour(text), toolkit::PaletteColour(background));
    list->setTabStops(ScrollingTabStops(record));
    return list;
}

void AddScrollingRow(toolkit::ScrollingList* list, const GraphRecord& record, std::span<const double> values,
                     double timeOfDay)
{
    if (list == nullptr)
        return;
    list->addLine(ScrollingHeader(record), ScrollingDataLine(timeOfDay, values));
}

}  // namespace vexa::graphs
