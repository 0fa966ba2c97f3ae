#pragma once

#include <QString>

#include <string>

class QWidget;

namespace vexa {
class DisplayDocument;
class GraphTable;
namespace graphs {
class GraphWindows;
}
namespace link {
class DataLink;
}
}  // namespace vexa

namespace vexa::app {

class FrameMenu;
class FrameStatusBar;

/// The graphs and views popups of the Display menu, and opening a graph or
/// a view: its measurement names join the name list, which is sent to the
/// server when it grew, and then its graph windows are created.
class GraphsAndViews {
public:
    /// Items a popup lists before "More..." takes the rest.
    static constexpr int kMaxPopupItems = 21;
    static constexpr const char* kMoreText = "More...";
    static constexpr const char* kNoGraphsText = "(No Graphs Defined)";
    static constexpr const char* kNoViewsText = "(No Views Defined)";
    /// No view has been opened since the start, the last "Close All" or the
    /// last time a document closed.
    static constexpr int kNoView = -1;

    GraphsAndViews(QWidget& owner, FrameMenu& menu, FrameStatusBar& status, DisplayDocument& document,
                   link::DataLink& link, GraphTable& graphs, graphs::GraphWindows& windows);

    /// Fills both popups from the working display copy and sets the commands
    /// that depend on whether a graph window is open.
    void rebuildPopups();
    /// Enables the three definition editors only while a document is open and
    /// no graph window is.
    void applyEditorStates();

    /// Opens graph \p number (1-based) at its own placement; a graph that is
    /// open already keeps its window, which comes to the front.
    void openGraph(int number);
    /// Opens view \p number (1-based): closes the windows of the view that
    /// was current, then opens every graph the view names at the view's
    /// placements.
    void openView(int number);
    /// Adds the measurement names of graph \p number to the name list and
    /// sends the layout when the list grew. False when the list is full (the
    /// user has been told) and the graph must not open.
    bool addGraphNames(int number);

    /// The 0-based index of the view opened last, or kNoView.
    int currentView() const { return m_currentView; }
    void setCurrentView(int view) { m_currentView = view; }

    /// The number (1-based) of the first view whose title equals \p title
    /// without regard to case, or 0.
    int findView(const QString& title) const;

private:
    const std::string& displayFile() const;
    /// Closes every open graph window whose caption one of the entries of
    /// view \p number names.
    void closeViewWindows(int number);

    QWidget& m_owner;
    FrameMenu& m_menu;
    FrameStatusBar& m_status;
    DisplayDocument& m_document;
    link::DataLink& m_link;
    GraphTable& m_graphs;
    graphs::GraphWindows& m_windows;
    int m_currentView = kNoView;
};

}  // namespace vexa::app
