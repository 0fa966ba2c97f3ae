#include "GraphWindows.h"

#include "document/DisplayDocument.h"
#include "document/DisplayFormat.h"
#include "document/GraphTable.h"
#include "document/ProfileStore.h"
#include "graphs/GraphHost.h"
#include "graphs/GraphWindow.h"
#include "graphs/ValueConversion.h"
#include "link/client/DataLink.h"
#include "link/client/NameList.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QMdiArea>

#include <algorithm>

namespace vexa::graphs {

namespace {

constexpr const char* kDefaultTitle = "??";
constexpr const char* kDefaultTypeName = "TimeHistory";
/// An XY plot pairs exactly this many measurements.
constexpr int kXyMeasurements = 2;

}  // namespace

GraphWindows::GraphWindows(QMdiArea& mdiArea, GraphTable& graphs, link::DataLink& link,
                           const DisplayDocument& document, GraphHost& host, QObject* parent)
    : QObject(parent), m_mdiArea(mdiArea), m_graphs(graphs), m_link(link), m_document(document), m_host(host)
{
}

GraphWindows::~GraphWindows()
{
    // Windows that outlive this object must not tick or call back into it;
    // their records would point at windows nobody manages.
    for (int index = 0; index < kMaxGraphs; ++index) {
        if (GraphWindow* window = graphWindow(index)) {
            window->detach();
            m_graphs.clearRecord(index);
        }
    }
}

QMdiSubWindow* GraphWindows::CreateGraphWindow(int index, const Placement& placement)
{
    if (index < 0 || index >= kMaxGraphs)
        return nullptr;
    // Filling the record of an open graph again would orphan its window.
    if (GraphWindow* open = graphWindow(index)) {
        m_mdiArea.setActiveSubWindow(open);
        return open;
    }

    m_currentGraph = index;
    const std::string section = GraphSectionName(index + 1);
    const std::string title =
        profile::ReadString(section, kTitleKey, kDefaultTitle, m_document.workingDisplayCopy(), kTitleCapacity);
    if (!fillRecord(index, section))
        return nullptr;

    GraphRecord& record = m_graphs.record(index);
    auto* window = new GraphWindow(*this, index, FromAnsi(title));
    record.window = window;
    record.resources = &window->resources();
    window->createContent(record.type, record.characteristic);
    // Sized before it joins the area, so that the area places it by its
    // real size.
    window->resize(PlacementSize(m_mdiArea, placement));
    m_mdiArea.addSubWindow(window);
    ApplyPlacement(*window, placement);
    window->show();

    if (!window->startUpdates(record.updatePeriod)) {
        // The window stays open, without updates.
        ShowMessage(window, QString::fromLatin1(kTimerFailureText), QString::fromLatin1(kTimerFailureCaption),
                    MessageIcon::Stop);
    }
    return window;
}

bool GraphWindows::fillRecord(int index, const std::string& section)
{
    const std::string& displayFile = m_document.workingDisplayCopy();
    m_graphs.clearRecord(index);
    GraphRecord& record = m_graphs.record(index);
    record.type = GraphTypeFromName(profile::ReadString(section, kTypeKey, kDefaultTypeName, displayFile));
    record.characteristic =
        CharacteristicFromName(profile::ReadString(section, kCharacteristicKey, kDefaultCharacteristicName, displayFile));

    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
        const std::string name = profile::ReadString(section, NumberedKey(kMeasurementKeyStem, k), "", displayFile,
                                                     kMeasurementNameCapacity);
        // A graph's measurements end at its first gap.
        if (name.empty())
            break;
        const int nameIndex = link::NameIndex(m_link.layout(), QByteArray::fromStdString(name));
        if (nameIndex < 0)
            continue;
        MeasurementSlot& slot = record.measurements.at(static_cast<std::size_t>(record.measurementCount));
        slot.name = name;
        slot.nameIndex = nameIndex;
        ReadMeasurementDefinition(name, slot, m_document.workingMeasurementCopy());
        ++record.measurementCount;
    }

    QWidget* owner = m_mdiArea.window();
    if (record.measurementCount == 0) {
        Beep();
        ShowMessage(owner, QString::fromLatin1(kNoMeasurementsText), QString::fromLatin1(kNoMeasurementsCaption),
                    MessageIcon::Information);
        m_graphs.clearRecord(index);
        return false;
    }
    if (record.type == kXYPlot && record.measurementCount != kXyMeasurements) {
        Beep();
        ShowMessage(owner, QString::fromLatin1(kXyCountText), QString::fromLatin1(kXyCountCaption),
                    MessageIcon::Information);
        m_graphs.clearRecord(index);
        return false;
    }

    // A period below the shortest one a graph may have would keep the
    // program doing nothing but ticks.
    record.updatePeriod =
        std::max(profile::ReadInt(section, kUpdatePeriodKey, kDefaultUpdatePeriodMs, displayFile), kMinUpdatePeriodMs);
    return true;
}

int GraphWindows::FindGraphByWindow(const QWidget* window) const
{
    return m_graphs.findByWindow(window);
}

bool GraphWindows::AnyGraphWindowOpen() const
{
    return m_graphs.anyOpen();
}

int GraphWindows::currentGraph() const
{
    return m_currentGraph;
}

GraphWindow* GraphWindows::graphWindow(int index) const
{
    if (index < 0 || index >= kMaxGraphs)
        return nullptr;
    return qobject_cast<GraphWindow*>(m_graphs.record(index).window);
}

void GraphWindows::closeGraphWindow(int index)
{
    if (GraphWindow* window = graphWindow(index))
        window->close();
}

void GraphWindows::graphWindowFinished(const GraphWindow& window, bool tellHost)
{
    const int index = window.graphIndex();
    if (m_graphs.record(index).window == &window)
        m_graphs.clearRecord(index);
    // The list keeps the names of every graph opened since it was last
    // emptied, so that reopening one sends nothing; with no window left
    // nobody needs them.
    if (!m_graphs.anyOpen())
        link::ResetNameList(m_link.layout(), m_document.measurementPath());
    if (tellHost)
        m_host.graphWindowClosed();
}

}  // namespace vexa::graphs
