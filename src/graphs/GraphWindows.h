#pragma once

#include "document/Placement.h"

#include <QObject>
#include <QSize>

#include <string>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace vexa {
class DisplayDocument;
struct GraphDefinition;
class GraphTable;
namespace link {
class DataLink;
}
}  // namespace vexa

namespace vexa::graphs {

class GraphHost;
class GraphWindow;

/// The graph windows of the display program: creating one per graph from
/// its definition, the current graph that page and chart builders take,
/// and finding a graph by its window.
///
/// The table, the link, the document and the host must outlive this object,
/// and it must go before the window area does (a member of the frame declared
/// after the objects it refers to): graph windows that outlive it let go of
/// it and call nobody back.
class GraphWindows : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kNoMeasurementsText =
        "Unable to create window. There are no measurements defined for this window.";
    static constexpr const char* kNoMeasurementsCaption = "Error Creating Window";
    static constexpr const char* kXyCountText =
        "Unable to create window. There must be exactly two measurements defined for this window.";
    static constexpr const char* kXyCountCaption = "Error Creating XY Plot";
    static constexpr const char* kTimerFailureText = "Unable to start window timer.";
    static constexpr const char* kTimerFailureCaption = "ERROR Activating Child Window";

    GraphWindows(QMdiArea& mdiArea, GraphTable& graphs, link::DataLink& link, const DisplayDocument& document,
                 GraphHost& host, QObject* parent = nullptr);
    ~GraphWindows() override;

    /// Creates the window of graph \p index (0-based) at \p placement, or
    /// refuses with a message and returns null. The caller has made sure
    /// that the name list holds the graph's measurements. A graph whose
    /// window is open already keeps it: that window is activated and returned.
    QMdiSubWindow* CreateGraphWindow(int index, const Placement& placement);

    /// The index of the graph shown by \p window, or -1.
    int FindGraphByWindow(const QWidget* window) const;
    bool AnyGraphWindowOpen() const;
    /// The graph whose window is being created or was created last; -1
    /// before the first.
    int currentGraph() const;

    /// The graph window of graph \p index, or null while it is closed.
    GraphWindow* graphWindow(int index) const;
    /// Closes the window of graph \p index, if it is open; the graph is
    /// closed when this returns.
    void closeGraphWindow(int index);

    // What the graph windows use of their surroundings.
    QMdiArea& mdiArea() const { return m_mdiArea; }
    GraphTable& graphTable() const { return m_graphs; }
    link::DataLink& dataLink() const { return m_link; }
    const DisplayDocument& document() const { return m_document; }
    GraphHost& host() const { return m_host; }

    /// \p window has stopped and released what it held: clears its graph's
    /// record, empties the name list when no graph window remains open and,
    /// when \p tellHost, lets the frame update its title and menus.
    void graphWindowFinished(const GraphWindow& window, bool tellHost);

private:
    /// Fills the record of graph \p index from its definition, whose
    /// measurements are bound to their places in the name list (and left
    /// out when the list does not hold them); false (after the message) when
    /// the graph has nothing to show.
    bool fillRecord(int index, GraphDefinition& graph);

    QMdiArea& m_mdiArea;
    GraphTable& m_graphs;
    link::DataLink& m_link;
    const DisplayDocument& m_document;
    GraphHost& m_host;
    int m_currentGraph = -1;
};

/// The placement of an open graph window: its outer top-left corner
/// relative to the outer top-left corner of the window area, and its outer
/// size. The inverse of ApplyPlacement, so that a window saved and re-created
/// comes back at the same place and size.
Placement PlacementOf(const QMdiSubWindow& window);
/// Moves and sizes \p window to \p placement; kUseDefaultPlacement values
/// leave the choice to the window area.
void ApplyPlacement(QMdiSubWindow& window, const Placement& placement);

/// The outer size \p placement gives a window in \p area: its own width and
/// height, or for a default one two thirds of the area's viewport (at least
/// 320 x 240).
QSize PlacementSize(const QMdiArea& area, const Placement& placement);

}  // namespace vexa::graphs
