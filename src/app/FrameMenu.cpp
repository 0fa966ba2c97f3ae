#include "FrameMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vexa::app {

namespace {

/// The popups that take the place of the Display menu's two items.
constexpr const char* kGraphsText = "&Graphs";
constexpr const char* kViewsText = "&Views";

}  // namespace

FrameMenu::FrameMenu(QMenuBar* bar) : QObject(bar)
{
    m_file = bar->addMenu(QStringLiteral("&File"));
    addItem(m_file, FrameCommand::New, QStringLiteral("&New..."));
    addItem(m_file, FrameCommand::Open, QStringLiteral("&Open..."));
    addItem(m_file, FrameCommand::Save, QStringLiteral("&Save"));
    addItem(m_file, FrameCommand::SaveAs, QStringLiteral("Save &As..."));
    addItem(m_file, FrameCommand::Close, QStringLiteral("&Close"));
    m_file->addSeparator();
    addItem(m_file, FrameCommand::ExportPage, QStringLiteral("&Export Page..."));
    addItem(m_file, FrameCommand::ExportAllPages, QStringLiteral("Export All Pa&ges..."));
    addItem(m_file, FrameCommand::PrinterSetup, QStringLiteral("P&rinter Setup..."));
    addItem(m_file, FrameCommand::PrintCurrentPage, QStringLiteral("Print Current &Page"));
    addItem(m_file, FrameCommand::PrintAllPages, QStringLiteral("Print A&ll Pages"));
    m_recentStart = addItem(m_file, FrameCommand::PrintingOptions, QStringLiteral("Printing Op&tions..."));
    m_file->addSeparator();
    m_exit = addItem(m_file, FrameCommand::Exit, QStringLiteral("E&xit"));

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    addItem(options, FrameCommand::ConfigureDataSource, QStringLiteral("&Configure VEXA-Display Data Source"));
    options->addSeparator();
    addItem(options, FrameCommand::StartServer, QStringLiteral("&Start VEXA-Display Server On Activation"))
        ->setCheckable(true);
    addItem(options, FrameCommand::DontStartServer, QStringLiteral("&Don't Start VEXA-Display Server On Activation"))
        ->setCheckable(true);
    options->addSeparator();
    addItem(options, FrameCommand::Reconnect, QStringLiteral("Re-Connect To Data Server"))->setEnabled(false);
    addItem(options, FrameCommand::ReconnectAutomatically, QStringLiteral("Reconnect Automatically"))
        ->setCheckable(true);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    addItem(edit, FrameCommand::GraphDefinitions, QStringLiteral("&Graph Definitions"));
    addItem(edit, FrameCommand::ViewDefinitions, QStringLiteral("&View Definitions"));
    addItem(edit, FrameCommand::Measurements, QStringLiteral("&Measurements"));
    edit->addSeparator();
    addItem(edit, FrameCommand::GraphAttributes, QStringLiteral("Graph &Attributes"));
    addItem(edit, FrameCommand::CopyPage, QStringLiteral("&Copy Current Page To Clipboard"));

    QMenu* display = bar->addMenu(QStringLiteral("&Display"));
    m_graphs = display->addMenu(QString::fromLatin1(kGraphsText));
    m_graphs->menuAction()->setData(kFirstGraphCommand);
    m_graphs->menuAction()->setObjectName(QString::number(kFirstGraphCommand));
    m_views = display->addMenu(QString::fromLatin1(kViewsText));
    m_views->menuAction()->setData(kFirstViewCommand);
    m_views->menuAction()->setObjectName(QString::number(kFirstViewCommand));

    m_window = bar->addMenu(QStringLiteral("&Window"));
    addItem(m_window, FrameCommand::Cascade, QStringLiteral("&Cascade"));
    addItem(m_window, FrameCommand::Tile, QStringLiteral("&Tile"));
    addItem(m_window, FrameCommand::ArrangeIcons, QStringLiteral("&Arrange Icons"));
    addItem(m_window, FrameCommand::CloseAll, QStringLiteral("C&lose All"));
    addItem(m_window, FrameCommand::SaveWindowSizes, QStringLiteral("&Save Window Sizes"))->setEnabled(false);
    addItem(m_window, FrameCommand::ReInitializeWindows, QStringLiteral("&ReInitialize Windows"))->setEnabled(false);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    addItem(help, FrameCommand::HelpIndex, QStringLiteral("&Index"));
    addItem(help, FrameCommand::About, QStringLiteral("&About VEXA Display"));
    help->addSeparator();
    addItem(help, FrameCommand::WebSite, QString::fromLatin1(kWebSiteText));
}

QAction* FrameMenu::addItem(QMenu* menu, int id, const QString& text)
{
    QAction* item = menu->addAction(text);
    item->setData(id);
    item->setObjectName(QString::number(id));
    m_actions[id] = item;
    connect(item, &QAction::triggered, this, [this, id] { emit commandChosen(id); });
    return item;
}

QAction* FrameMenu::addItem(QMenu* menu, FrameCommand command, const QString& text)
{
    return addItem(menu, CommandId(command), text);
}

void FrameMenu::forget(QAction* action)
{
    const auto found = m_actions.find(action->data().toInt());
    if (found != m_actions.end() && found->second == action)
        m_actions.erase(found);
}

QAction* FrameMenu::action(int id) const
{
    const auto found = m_actions.find(id);
    return found != m_actions.end() ? found->second : nullptr;
}

void FrameMenu::setEnabled(int id, bool enabled)
{
    if (QAction* item = action(id))
        item->setEnabled(enabled);
}

bool FrameMenu::isEnabled(int id) const
{
    const QAction* item = action(id);
    return item != nullptr && item->isEnabled();
}

void FrameMenu::setChecked(int id, bool checked)
{
    if (QAction* item = action(id))
        item->setChecked(checked);
}

bool FrameMenu::isChecked(int id) const
{
    const QAction* item = action(id);
    return item != nullptr && item->isChecked();
}

void FrameMenu::setRecentFiles(const std::vector<MenuEntry>& entries)
{
    for (QAction* item : m_recentItems) {
        forget(item);
        m_file->removeAction(item);
        item->deleteLater();
    }
    m_recentItems.clear();
    if (entries.empty())
        return;

    // The File menu already has a separator before "E&xit"; the entries go
    // in front of it, behind a separator of their own.
    QAction* exitSeparator = nullptr;
    const QList<QAction*> items = m_file->actions();
    const qsizetype exitAt = items.indexOf(m_exit);
    if (exitAt > 0 && items.at(exitAt - 1)->isSeparator())
        exitSeparator = items.at(exitAt - 1);
    QAction* before = exitSeparator != nullptr ? exitSeparator : m_exit;

    QAction* leading = m_file->insertSeparator(before);
    m_recentItems.push_back(leading);
    for (const MenuEntry& entry : entries) {
        auto* item = new QAction(entry.text, m_file);
        m_file->insertAction(before, item);
        item->setData(entry.commandId);
        item->setObjectName(QString::number(entry.commandId));
        const int id = entry.commandId;
        connect(item, &QAction::triggered, this, [this, id] { emit commandChosen(id); });
        m_actions[id] = item;
        m_recentItems.push_back(item);
    }
}

void FrameMenu::setPopupItems(QMenu* popup, const std::vector<MenuEntry>& entries)
{
    for (QAction* item : popup->actions()) {
        forget(item);
        popup->removeAction(item);
        item->deleteLater();
    }
    for (const MenuEntry& entry : entries) {
        QAction* item = addItem(popup, entry.commandId, entry.text);
        item->setEnabled(entry.enabled);
    }
}

std::set<int> FrameMenu::usedIds() const
{
    std::set<int> ids;
    for (const auto& [id, item] : m_actions)
        ids.insert(id);
    ids.insert(kFirstGraphCommand);
    ids.insert(kFirstViewCommand);
    return ids;
}

}  // namespace vexa::app
