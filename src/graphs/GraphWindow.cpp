#include "GraphWindow.h"

#include "document/DisplayFormat.h"
#include "document/GraphTable.h"
#include "graphs/GraphHost.h"
#include "graphs/GraphWindows.h"
#include "graphs/builders/ChartBuilders.h"
#include "graphs/builders/ChartStyle.h"
#include "graphs/builders/SampleFeed.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/core/ValueConversion.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Toolkit.h"
#include "link/client/DataLink.h"
#include "platform/AnsiText.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QTimer>

#include <vector>

namespace vexa::graphs {

namespace {

constexpr const char* kPageNamePrefix = "PAGE";

}  // namespace

GraphWindow::GraphWindow(GraphWindows& windows, int index, GraphDefinition graph)
    : m_windows(&windows), m_index(index), m_timer(new QTimer(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(FromAnsi(graph.title));
    m_resources.graphIndex = index;
    m_resources.definition = std::move(graph);
    m_resources.graphWindow = this;
    connect(m_timer, &QTimer::timeout, this, &GraphWindow::GraphTimerProc);
    m_stateConnection = connect(this, &QMdiSubWindow::windowStateChanged, this, &GraphWindow::onWindowStateChanged);
}

GraphWindow::~GraphWindow()
{
    // The base class deactivates the window as it goes, when this object's
    // own part is gone already: that change is nobody's business.
    disconnect(m_stateConnection);
    // Destroyed without being closed: the window area is going away with
    // the frame, which has no menus left to update.
    finish(false);
}

void GraphWindow::createContent()
{
    if (m_resources.definition.type == kScrollingTabular)
        createScrollingList();
    else
        createChartPage();
}

void GraphWindow::createScrollingList()
{
    toolkit::ScrollingList* list = CreateScrollingList(*this, m_resources.definition);
    m_resources.scrollingList = list;
    // The window keeps its widget filling it as it is resized.
    setWidget(list);
}

void GraphWindow::createChartPage()
{
    toolkit::ChartPage* page =
        toolkit::CreateChartPage(QString::fromLatin1(kPageNamePrefix) + QString::number(m_index), this,
                                 windowTitle(), [this](toolkit::ChartPage& built) { GraphPageBuilder(built); },
                                 PageCharacteristic(m_resources.definition.characteristic),
                                 toolkit::PageStyle::Child);
    m_resources.chartPage = page;
    // A page that could not be made leaves the window empty; its ticks find
    // no page and append nothing.
    if (page != nullptr)
        setWidget(page);
}

void GraphWindow::GraphPageBuilder(toolkit::ChartPage& page)
{
    m_resources.chartWindow = toolkit::CreateChartWindow(page, ChartBuilderForType(m_resources), toolkit::kWholeArea,
                                                         m_resources.definition.windowBackground);
}

bool GraphWindow::startUpdates(int periodMs)
{
    m_timer->start(periodMs);
    return m_timer->isActive();
}

bool GraphWindow::isUpdating() const
{
    return m_timer->isActive();
}

void GraphWindow::GraphTimerProc()
{
    // Holding the left button down anywhere pauses every graph, so that the
    // user can move, size or pick without the charts running on.
    if (QGuiApplication::mouseButtons() & Qt::LeftButton)
        return;
    if (m_finished || !m_windows)
        return;
    link::DataLink& link = m_windows->dataLink();
    if (!link.isConnected())
        return;

    // A failing fetch disconnects and reports in a message box, whose event
    // loop may close this window before the fetch returns.
    const QPointer<GraphWindow> alive(this);
    link.FetchSample();
    if (!alive || m_finished || !m_windows || !link.isConnected())
        return;

    const GraphRecord& record = m_windows->graphTable().record(m_index);
    const link::DataSample& sample = link.sample();
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(record.measurementCount));
    for (int j = 0; j < record.measurementCount; ++j) {
        const MeasurementSlot& slot = record.measurements.at(static_cast<std::size_t>(j));
        values.push_back(ConvertValue(slot, sample.value(slot.nameIndex)));
    }

    FeedSample(m_resources, values, sample.timeOfDay());
}

void GraphWindow::detach()
{
    m_timer->stop();
    m_finished = true;
    m_windows = nullptr;
}

void GraphWindow::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        finish(true);
}

void GraphWindow::moveEvent(QMoveEvent* event)
{
    QMdiSubWindow::moveEvent(event);
    if (!m_finished && m_windows)
        m_windows->host().graphWindowMoved();
}

void GraphWindow::resizeEvent(QResizeEvent* event)
{
    // The base class keeps the page (or the list) filling the window.
    QMdiSubWindow::resizeEvent(event);
    if (!m_finished && m_windows)
        m_windows->host().graphWindowMoved();
}

void GraphWindow::onWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState)
{
    const bool wasActive = oldState.testFlag(Qt::WindowActive);
    const bool isActive = newState.testFlag(Qt::WindowActive);
    if (wasActive == isActive || m_finished || !m_windows)
        return;
    // A scrolling table has no page to print, copy or edit.
    const bool isTable = m_windows->graphTable().record(m_index).type == kScrollingTabular;
    m_windows->host().graphWindowActivated(isActive && !isTable);
}

void GraphWindow::finish(bool tellHost)
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer->stop();
    m_resources.release();
    if (m_windows)
        m_windows->graphWindowFinished(*this, tellHost);
}

}  // namespace vexa::graphs
