#pragma once

#include <functional>

class QMdiArea;

namespace vexa {
class DisplayDocument;
class GraphTable;
namespace graphs {
class GraphWindows;
}
}  // namespace vexa

namespace vexa::app {

class FrameMenu;
class GraphsAndViews;

/// The Window menu's commands on the graph windows: cascade, tile, arrange
/// the minimised ones, close them all, save their placements into the
/// display file and rebuild them where they stand.
class WindowArrangement {
public:
    /// \p markModified is called when saved placements changed the working
    /// copy.
    WindowArrangement(QMdiArea& area, FrameMenu& menu, DisplayDocument& document, GraphTable& graphs,
                      graphs::GraphWindows& windows, GraphsAndViews& graphsAndViews,
                      std::function<void()> markModified);

    void cascade();
    void tile();
    /// Lines the minimised graph windows up along the bottom of the window
    /// area, left to right in the area's order, a new row above the last one
    /// when a row is full. Open windows stay where they are.
    void arrangeIcons();
    /// Closes every graph window, with the area's drawing held back until
    /// all are gone; no view is current afterwards.
    void closeAll();
    /// Writes the placement of each open graph window: with a view current,
    /// into the view's `R`k of each entry `W`k that names an open graph;
    /// otherwise into `R` of each open graph's own section. When anything
    /// was written the command is grayed and the document is modified.
    void saveWindowSizes();
    /// Closes each open graph window in graph-number order and creates it
    /// again at the placement it had, so that it is rebuilt from its
    /// definition; then grays the command.
    void reInitializeWindows();

private:
    QMdiArea& m_area;
    FrameMenu& m_menu;
    DisplayDocument& m_document;
    GraphTable& m_graphs;
    graphs::GraphWindows& m_windows;
    GraphsAndViews& m_graphsAndViews;
    std::function<void()> m_markModified;
};

}  // namespace vexa::app
