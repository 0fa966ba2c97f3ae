#include "GraphWindows.h"

#include "document/DisplayDocument.h"
#include "document/DisplayFormat.h"
#include "document/GraphDefinition.h"
#include "document/GraphTable.h"
#include "graphs/GraphHost.h"
#include "graphs/GraphWindow.h"
#include "link/client/DataLink.h"
#include "link/client/NameList.h"
#include "platform/Messages.h"

#include <QMdiArea>

#include <algorithm>
#include <vector>

namespace vexa::graphs {

namespace {

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
    GraphDefinition graph = ReadGraphDefinition(GraphSectionName(index + 1), m_document.workingDisplayCopy(),
                                                m_document.workingMeasurementCopy());
    if (!fillRecord(index, graph))
        return nullptr;

    GraphRecord& record = m_graphs.record(index);
    auto* window = new GraphWindow(*this, index, std::move(graph));
    record.window = window;
    window->createContent();
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

bool GraphWindows::fillRecord(int index, GraphDefinition& graph)
{
    m_graphs.clearRecord(index);
    GraphRecord& record = m_graphs.record(index);
    record.type = graph.type;
    record.characteristic = graph.characteristic;

    // A measurement the name list does not hold has no value in any sample:
    // the graph shows the others.
    std::vector<MeasurementSlot> bound;
    for (MeasurementSlot& slot : graph.measurements) {
        slot.nameIndex = link::NameIndex(m_link.layout(), QByteArray::fromStdString(slot.name));
        if (slot.nameIndex >= 0)
            bound.push_back(std::move(slot));
    }
    graph.measurements = std::move(bound);
    for (const MeasurementSlot& slot : graph.measurements)
        record.measurements.at(static_cast<std::size_t>(record.measurementCount++)) = slot;

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
    record.updatePeriod = std::max(graph.updatePeriod, kMinUpdatePeriodMs);
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
