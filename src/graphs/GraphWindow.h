#pragma once

#include "graphs/core/GraphResources.h"

#include <QMdiSubWindow>
#include <QMetaObject>
#include <QPointer>

class QTimer;

namespace vexa::toolkit {
class ChartPage;
}

namespace vexa::graphs {

class GraphWindows;

/// The window of one open graph: an MDI child whose content is the graph's
/// chart page (a scrolling table's list instead), with the timer that feeds
/// it a sample per tick.
///
/// It holds the graph's resources while it is open. Closing it (by the user,
/// by "Close All", or by its area going away) stops the timer, releases the
/// resources and clears the graph's record exactly once.
class GraphWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    /// The window of graph \p index drawn from \p graph and captioned with
    /// its title; deleted when closed.
    GraphWindow(GraphWindows& windows, int index, GraphDefinition graph);
    ~GraphWindow() override;

    int graphIndex() const { return m_index; }
    GraphResources& resources() { return m_resources; }
    const GraphResources& resources() const { return m_resources; }

    /// Fills the window with what its graph shows: the list of a scrolling
    /// table, the chart page of any other type.
    void createContent();
    /// The page builder: a chart window covering the whole page on the
    /// graph's window background, drawn by the builder of the graph's type.
    void GraphPageBuilder(toolkit::ChartPage& page);

    /// Starts the update timer at \p periodMs; false when it could not start.
    bool startUpdates(int periodMs);
    bool isUpdating() const;

    /// One update: fetches a sample, converts the graph's values and
    /// appends them to its chart, or adds them as a line to a scrolling
    /// table. Nothing happens while the left mouse button is down or the
    /// link is not connected.
    void GraphTimerProc();

    /// Stops the window without releasing or clearing anything: its manager
    /// is going away, so the window must neither tick nor call back.
    void detach();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Creates the chart page that fills the window: "PAGE" and the graph
    /// index, built by GraphPageBuilder when it is first shown.
    void createChartPage();
    /// Creates the list that fills a scrolling table's window.
    void createScrollingList();
    void onWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);
    /// Stops the timer, releases the resources and hands the record back;
    /// runs once. \p tellHost is false when the window goes without closing.
    void finish(bool tellHost);

    QPointer<GraphWindows> m_windows;
    const int m_index;
    GraphResources m_resources;
    QTimer* m_timer = nullptr;
    QMetaObject::Connection m_stateConnection;
    bool m_finished = false;
};

}  // namespace vexa::graphs
