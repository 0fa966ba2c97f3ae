#include "WindowArrangement.h"

#include "document/Definitions.h"
#include "app/FrameCommand.h"
#include "app/FrameMenu.h"
#include "app/GraphsAndViews.h"
#include "document/DisplayDocument.h"
#include "document/DisplayFormat.h"
#include "document/GraphTable.h"
#include "document/Placement.h"
#include "document/ProfileStore.h"
#include "document/ProfileWriteBatch.h"
#include "graphs/GraphWindow.h"
#include "graphs/GraphWindows.h"
#include "link/client/NameList.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <utility>

namespace vexa::app {

WindowArrangement::WindowArrangement(QMdiArea& area, FrameMenu& menu, DisplayDocument& document, GraphTable& graphs,
                                     graphs::GraphWindows& windows, GraphsAndViews& graphsAndViews,
                                     std::function<void()> markModified)
    : m_area(area),
      m_menu(menu),
      m_document(document),
      m_graphs(graphs),
      m_windows(windows),
      m_graphsAndViews(graphsAndViews),
      m_markModified(std::move(markModified))
{
}

void WindowArrangement::cascade()
{
    m_area.cascadeSubWindows();
}

void WindowArrangement::tile()
{
    m_area.tileSubWindows();
}

void WindowArrangement::arrangeIcons()
{
    // The window area leaves minimised children where they were shrunk;
    // this gathers them in rows from the bottom left, as icons are lined up.
    const QSize area = m_area.viewport()->size();
    int x = 0;
    int bottom = area.height();
    for (QMdiSubWindow* child : m_area.subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized() || !child->isVisible())
            continue;
        const QSize size = child->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            bottom -= size.height();
        }
        child->move(x, bottom - size.height());
        x += size.width();
    }
}

void WindowArrangement::closeAll()
{
    m_area.setUpdatesEnabled(false);
    for (int index = 0; index < kMaxGraphs; ++index)
        m_windows.closeGraphWindow(index);
    m_area.setUpdatesEnabled(true);
    m_area.viewport()->update();
    m_graphsAndViews.setCurrentView(GraphsAndViews::kNoView);
}

void WindowArrangement::saveWindowSizes()
{
    if (!m_document.isOpen())
        return;
    const std::string& file = m_document.workingDisplayCopy();
    bool written = false;
    {
        ProfileWriteBatch batch(file);
        const auto write = [&](const std::string& section, const std::string& key, int index) {
            const QMdiSubWindow* child = m_windows.graphWindow(index);
            if (child == nullptr)
                return;
            profile::WriteString(section, key, FormatPlacement(graphs::PlacementOf(*child)), file);
            written = true;
        };
        if (const int view = m_graphsAndViews.currentView(); view != GraphsAndViews::kNoView) {
            const std::string section = ViewSectionName(view + 1);
            for (int entry = 1; entry <= kMaxGraphsPerView; ++entry) {
                const int graph = link::FindGraphByTitle(ViewEntry(view + 1, entry, file), file);
                if (graph != 0)
                    write(section, NumberedKey(kPlacementKey, entry), graph - 1);
            }
        } else {
            for (int index = 0; index < kMaxGraphs; ++index)
                write(GraphSectionName(index + 1), kPlacementKey, index);
        }
    }
    if (!written)
        return;
    m_menu.setEnabled(CommandId(FrameCommand::SaveWindowSizes), false);
    m_markModified();
}

void WindowArrangement::reInitializeWindows()
{
    for (int index = 0; index < kMaxGraphs; ++index) {
        const QMdiSubWindow* child = m_windows.graphWindow(index);
        if (child == nullptr)
            continue;
        const Placement placement = graphs::PlacementOf(*child);
        m_windows.closeGraphWindow(index);
        // Closing the only open window empties the name list; the graph
        // brings its names back before its new window binds them.
        if (m_graphsAndViews.addGraphNames(index + 1))
            m_windows.CreateGraphWindow(index, placement);
    }
    m_graphsAndViews.rebuildPopups();
    m_area.viewport()->update();
    m_menu.setEnabled(CommandId(FrameCommand::ReInitializeWindows), false);
}

}  // namespace vexa::app
