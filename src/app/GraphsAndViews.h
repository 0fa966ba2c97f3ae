#pragma once

#include <QString>

#include <string>

class QWidget;

namespace vexa {
class DisplayDocument;
class GraphTable;
namespace link {
class DataLink;
}
}  // namespace vexa

namespace vexa::app {

class FrameMenu;
class FrameStatusBar;

/// The graphs and views popups of the Display menu, and opening a graph or
/// a view: its measurement names join the name list, which is sent to the
/// server when it grew.
class GraphsAndViews {
public:
    /// Items a popup lists before "More..." takes the rest.
    static constexpr int kMaxPopupItems = 21;
    static constexpr const char* kMoreText = "More...";
    static constexpr const char* kNoGraphsText = "(No Graphs Defined)";
    static constexpr const char* kNoViewsText = "(No Views Defined)";
    /// No view has been opened since the start or the last "Close All".
    static constexpr int kNoView = -1;

    GraphsAndViews(QWidget& owner, FrameMenu& menu, FrameStatusBar& status, DisplayDocument& document,
                   link::DataLink& link, GraphTable& graphs);

    /// Fills both popups from the working display copy and sets the commands
    /// that depend on whether a graph window is open.
    void rebuildPopups();
    /// Enables the three definition editors only while a document is open and
    /// no graph window is.
    void applyEditorStates();

    /// Opens graph \p number (1-based).
    void openGraph(int number);
    /// Opens view \p number (1-based).
    void openView(int number);
    /// Closes every graph window.
    void closeAllGraphWindows();

    /// The 0-based index of the view opened last, or kNoView.
    int currentView() const { return m_currentView; }
    void setCurrentView(int view) { m_currentView = view; }

    /// The number (1-based) of the first view whose title equals \p title
    /// without regard to case, or 0.
    int findView(const QString& title) const;

private:
    const std::string& displayFile() const;

    QWidget& m_owner;
    FrameMenu& m_menu;
    FrameStatusBar& m_status;
    DisplayDocument& m_document;
    link::DataLink& m_link;
    GraphTable& m_graphs;
    int m_currentView = kNoView;
};

}  // namespace vexa::app
