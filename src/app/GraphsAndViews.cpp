#include "GraphsAndViews.h"

#include "app/FrameCommand.h"
#include "app/FrameMenu.h"
#include "app/FrameStatusBar.h"
#include "document/DisplayDocument.h"
#include "document/DisplayFormat.h"
#include "document/GraphTable.h"
#include "document/ProfileStore.h"
#include "link/client/DataLink.h"
#include "link/client/NameList.h"
#include "platform/AnsiText.h"

#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace vexa::app {

namespace {

constexpr const char* kTitleKey = "T";

/// A title as a menu item shows it: an "&" in it is no mnemonic.
QString MenuText(const std::string& title)
{
    return FromAnsi(title).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

std::string Title(char prefix, int number, const std::string& file)
{
    return profile::ReadString(SectionName(prefix, number), kTitleKey, "", file, kTitleCapacity);
}

}  // namespace

GraphsAndViews::GraphsAndViews(QWidget& owner, FrameMenu& menu, FrameStatusBar& status, DisplayDocument& document,
                               link::DataLink& link, GraphTable& graphs)
    : m_owner(owner), m_menu(menu), m_status(status), m_document(document), m_link(link), m_graphs(graphs)
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
            const std::string title = Title(kGraphPrefix, number, displayFile());
            if (title.empty())
                continue;
            if (static_cast<int>(graphs.size()) == kMaxPopupItems) {
                graphs.push_back({kMoreGraphsCommand, QString::fromLatin1(kMoreText)});
                break;
            }
            graphs.push_back({kFirstGraphCommand - 1 + number, MenuText(title)});
        }
        for (int number = 1; number <= kLastViewCommand - kFirstViewCommand + 1; ++number) {
            const std::string title = Title(kViewPrefix, number, displayFile());
            if (title.empty())
                break;
            views.push_back({kFirstViewCommand - 1 + number, MenuText(title)});
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

    const bool anyOpen = m_graphs.anyOpen();
    const bool editorsAllowed = m_document.isOpen() && !anyOpen;
    for (FrameCommand editor : {FrameCommand::GraphDefinitions, FrameCommand::ViewDefinitions,
                                FrameCommand::Measurements})
        m_menu.setEnabled(CommandId(editor), editorsAllowed);
    for (FrameCommand pageCommand : {FrameCommand::PrinterSetup, FrameCommand::PrintCurrentPage,
                                     FrameCommand::PrintAllPages, FrameCommand::PrintingOptions,
                                     FrameCommand::CopyPage})
        m_menu.setEnabled(CommandId(pageCommand), anyOpen);
    if (!anyOpen) {
        m_menu.setEnabled(CommandId(FrameCommand::GraphAttributes), false);
        m_status.setPartText(FrameStatusBar::kTimePart, {});
    }
}

void GraphsAndViews::openGraph(int number)
{
    if (number < 1 || number > kMaxGraphs || !m_document.isOpen())
        return;
    const link::NamesAdded added = link::AddGraphNames(&m_owner, m_link.layout(), number, displayFile());
    if (added == link::kNamesFull)
        return;
    if (added == link::kNamesGrew)
        m_link.SendLayout();
    rebuildPopups();
}

void GraphsAndViews::openView(int number)
{
    if (number < 1 || !m_document.isOpen())
        return;
    m_currentView = number - 1;
    const link::NamesAdded added = link::AddViewNames(&m_owner, m_link.layout(), number, displayFile());
    if (added == link::kNamesFull)
        return;
    if (added == link::kNamesGrew)
        m_link.SendLayout();
    rebuildPopups();
}

void GraphsAndViews::closeAllGraphWindows()
{
    for (int index = 0; index < kMaxGraphs; ++index) {
        if (QWidget* window = m_graphs.record(index).window)
            window->close();
    }
}

int GraphsAndViews::findView(const QString& title) const
{
    if (!m_document.isOpen())
        return 0;
    for (int number = 1; number <= kLastViewCommand - kFirstViewCommand + 1; ++number) {
        const std::string viewTitle = Title(kViewPrefix, number, displayFile());
        if (viewTitle.empty())
            return 0;
        if (FromAnsi(viewTitle).compare(title, Qt::CaseInsensitive) == 0)
            return number;
    }
    return 0;
}

}  // namespace vexa::app
