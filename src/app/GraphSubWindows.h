#pragma once

class QMdiSubWindow;
class QWidget;

namespace vexa {
class GraphTable;
}

/// Finding and closing the MDI children that show graphs, whichever widget
/// of the child the graph table keeps as the graph's window.
namespace vexa::app {

/// The MDI child that \p window is or lies inside; null when it is in none.
QMdiSubWindow* SubWindowOf(QWidget* window);

/// The MDI child of graph \p index (0-based), or null while it is closed.
QMdiSubWindow* GraphSubWindow(const GraphTable& graphs, int index);

/// Closes the window of graph \p index, if it is open. When this returns the
/// graph is closed: its record is clear and the window is gone.
void CloseGraphWindow(const GraphTable& graphs, int index);

}  // namespace vexa::app
