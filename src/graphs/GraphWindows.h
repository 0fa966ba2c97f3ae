#pragma once

#include "document/Placement.h"

#include <QObject>

#include <string>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace vexa {
class DisplayDocument;
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
class GraphWindows : public QObject {
    Q_OBJECT
public:
    GraphWindows(QMdiArea& mdiArea, GraphTable& graphs, link::DataLink& link, const DisplayDocument& document,
                 GraphHost& host, QObject* parent = nullptr);
    ~GraphWindows() override;

    /// Creates the window of graph \p index (0-based) at \p placement, or
    /// refuses with a message and returns null. The caller has made sure
    /// that the name list holds the graph's measurements.
    QMdiSubWindow* CreateGraphWindow(int index, const Placement& placement);

    /// The index of the graph shown by \p window, or -1.
    int FindGraphByWindow(const QWidget* window) const;
    bool AnyGraphWindowOpen() const;
    /// The graph whose window is being created or was created last.
    int currentGraph() const;

    /// The graph window of graph \p index, or null while it is closed.
    GraphWindow* graphWindow(int index) const;

    // (the rest is the implementation's)
};

/// The placement of an open graph window: its outer top-left corner
/// relative to the outer top-left corner of the window area, and its outer
/// size. The inverse of ApplyPlacement, so that a window saved and re-created
/// comes back at the same place and size.
Placement PlacementOf(const QMdiSubWindow& window);
/// Moves and sizes \p window to \p placement; kUseDefaultPlacement values
/// leave the choice to the window area.
void ApplyPlacement(QMdiSubWindow& window, const Placement& placement);

}  // namespace vexa::graphs
