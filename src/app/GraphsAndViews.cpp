#include "GraphsAndViews.h"

#include "app/FrameCommand.h"
#include "app/FrameMenu.h"
#include "app/FrameStatusBar.h"
#include "document/Definitions.h"
#include "document/Definitions.h"
#include "document/DisplayDocument.h"
#include "document/DisplayFormat.h"
#include "document/GraphTable.h"
#include "document/Placement.h"
#include "graphs/GraphWindow.h"
#include "graphs/GraphWindows.h"
#include "link/client/DataLink.h"
#include "link/client/NameList.h"
#include "platform/AnsiText.h"

#include <QMdiSubWindow>

#include <set>
#include <vector>

namespace vexa::app {

namespace {

/// A title as a menu item shows it: an "&" in it is no mnemonic.
QString MenuText(const std::string& title)
{
    return FromAnsi(title).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

GraphsAndViews::GraphsAndViews(QWidget& owner, FrameMenu& menu, FrameStatusBar& status, DisplayDocument& document,
                               link::DataLink& link, GraphTable& graphs, graphs::GraphWindows& windows)
    : m_owner(owner),
      m_menu(menu),
      m_status(status),
      m_document(document),
      m_link(link),
      m_graphs(graphs),
      m_windows(windows)
{
}

const std::string& GraphsAndViews::displayFile() const
{
    return m_document.workingDisplayCopy();
}

void GraphsAndViews::rebuildPopups()
{
    std::vector<MenuEntry> graphs;
    std::vector<MenuEntry> views;
    if (m_document.isOpen()) {
        for (int number = 1; number <= kMaxGraphs; ++number) {
            if (m_graphs.isOpen(number - 1))
                continue;
            const std::string title = GraphTitle(number, displayFile());
            if (title.empty())
                continue;
            graphs.push_back({kFirstGraphCommand - 1 + number, MenuText(title)});
            if (static_cast<int>(graphs.size()) == kMaxPopupItems) {
                graphs.push_back({kMoreGraphsCommand, QString::fromLatin1(kMoreText)});
                break;
            }
        }
        const std::vector<std::string> titles = ReadDefinitionTitles(kViewPrefix, displayFile(), kMaxMenuViews);
        for (std::size_t index = 0; index < titles.size(); ++index) {
            views.push_back({kFirstViewCommand + static_cast<int>(index), MenuText(titles[index])});
            if (static_cast<int>(views.size()) == kMaxPopupItems) {
                views.push_back({kMoreViewsCommand, QString::fromLatin1(kMoreText)});
                break;
            }
        }
    }
    // A popup with nothing to offer says so rather than open empty.
    if (graphs.empty())
        graphs.push_back({0, QString::fromLatin1(kNoGraphsText), false});
    if (views.empty())
        views.push_back({0, QString::fromLatin1(kNoViewsText), false});
    m_menu.setPopupItems(m_menu.graphsMenu(), graphs);
    m_menu.setPopupItems(m_menu.viewsMenu(), views);

    applyEditorStates();
    const bool anyOpen = m_graphs.anyOpen();
    for (FrameCommand pageCommand : {FrameCommand::PrinterSetup, FrameCommand::PrintCurrentPage,
                                     FrameCommand::PrintAllPages, FrameCommand::PrintingOptions,
                                     FrameCommand::CopyPage, FrameCommand::ExportPage, FrameCommand::ExportAllPages})
        m_menu.setEnabled(CommandId(pageCommand), anyOpen);
    if (!anyOpen) {
        m_menu.setEnabled(CommandId(FrameCommand::GraphAttributes), false);
        m_status.setPartText(FrameStatusBar::kTimePart, {});
    }
}

void GraphsAndViews::applyEditorStates()
{
    // The editors replace the working copies, which open graph windows read.
    const bool allowed = m_document.isOpen() && !m_graphs.anyOpen();
    for (FrameCommand editor : {FrameCommand::GraphDefinitions, FrameCommand::ViewDefinitions,
                                FrameCommand::Measurements})
        m_menu.setEnabled(CommandId(editor), allowed);
}

bool GraphsAndViews::addGraphNames(int number)
{
    const link::NamesAdded added = link::AddGraphNames(&m_owner, m_link.layout(), number, displayFile());
    if (added == link::kNamesFull)
        return false;
    if (added == link::kNamesGrew)
        m_link.SendLayout();
    return true;
}

void GraphsAndViews::openGraph(int number)
{
    if (number < 1 || number > kMaxGraphs || !m_document.isOpen())
        return;
    if (!addGraphNames(number))
        return;
    const Placement placement = ReadPlacement(GraphSectionName(number), kPlacementKey, kUseDefaultPlacement,
                                              displayFile());
    m_windows.CreateGraphWindow(number - 1, placement);
    rebuildPopups();
}

void GraphsAndViews::closeViewWindows(int number)
{
    std::set<QString> named;
    for (int entry = 1; entry <= kMaxGraphsPerView; ++entry) {
        if (const std::string title = ViewEntry(number, entry, displayFile()); !title.empty())
            named.insert(FromAnsi(title));
    }
    for (int index = 0; index < kMaxGraphs; ++index) {
        const QMdiSubWindow* child = m_windows.graphWindow(index);
        if (child != nullptr && named.count(child->windowTitle()) != 0)
            m_windows.closeGraphWindow(index);
    }
}

void GraphsAndViews::openView(int number)
{
    if (number < 1 || number > kMaxMenuViews || !m_document.isOpen())
        return;
    if (m_currentView != kNoView)
        closeViewWindows(m_currentView + 1);
    m_currentView = number - 1;
    const link::NamesAdded added = link::AddViewNames(&m_owner, m_link.layout(), number, displayFile());
    if (added == link::kNamesFull) {
        rebuildPopups();
        return;
    }
    if (added == link::kNamesGrew)
        m_link.SendLayout();

    const std::string section = ViewSectionName(number);
    for (int entry = 1; entry <= kMaxGraphsPerView; ++entry) {
        const int graph = link::FindGraphByTitle(ViewEntry(number, entry, displayFile()), displayFile());
        // A view that names a graph twice opens it once.
        if (graph == 0 || m_graphs.isOpen(graph - 1))
            continue;
        // The names were added up to the view's first empty entry; a graph
        // named behind a gap brings its own, so that it finds them when its
        // window binds its measurements.
        if (!addGraphNames(graph))
            continue;
        const Placement placement = ReadPlacement(section, NumberedKey(kPlacementKey, entry),
                                                  kUseDefaultPlacement, displayFile());
        m_windows.CreateGraphWindow(graph - 1, placement);
    }
    rebuildPopups();
}

int GraphsAndViews::findView(const QString& title) const
{
    if (!m_document.isOpen())
        return 0;
    const std::vector<std::string> titles = ReadDefinitionTitles(kViewPrefix, displayFile(), kMaxMenuViews);
    for (std::size_t index = 0; index < titles.size(); ++index) {
        if (FromAnsi(titles[index]).compare(title, Qt::CaseInsensitive) == 0)
            return static_cast<int>(index) + 1;
    }
    return 0;
}

}  // namespace vexa::app
