#include "FrameWindow.h"

#include "app/CommandLine.h"
#include "app/FrameCommand.h"
#include "app/FrameMenu.h"
#include "app/FrameStatusBar.h"
#include "app/MoreWindowsDialog.h"
#include "app/VersionText.h"
#include "app/WindowListMenu.h"
#include "banner/Banner.h"
#include "app/help/HelpWindow.h"
#include "app/printing/PrintCommands.h"
#include "document/FileCommandState.h"
#include "document/ProfileStore.h"
#include "editors/DefinitionListDialog.h"
#include "editors/EditorDialog.h"
#include "editors/MeasurementListDialog.h"
#include "graphs/GraphWindow.h"
#include "graphs/builders/PageCapture.h"
#include "graphs/toolkit/Toolkit.h"
#include "link/client/DataSourceDialog.h"
#include "link/client/NameList.h"
#include "platform/AnsiText.h"
#include "platform/InstalledFonts.h"
#include "platform/ProgramEnd.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QUrl>

#include <algorithm>
#include <utility>

// Resources of a static library must be registered by name, from outside
// any namespace; without this the program's icon would be missing.
static void RegisterFrameResources()
{
    Q_INIT_RESOURCE(vexaview);
}

namespace vexa::app {

namespace {

constexpr const char* kIconResource = ":/VexaviewIcon";
/// The display program's own settings share the data source's section.
constexpr const char* kSettingsSection = link::kLinkSection;

/// Graph and view numbers from their commands.
int GraphOfCommand(int id)
{
    return id - kFirstGraphCommand + 1;
}

int ViewOfCommand(int id)
{
    return id - kFirstViewCommand + 1;
}

}  // namespace

FrameWindow::FrameWindow(std::string settingsFile, QIcon icon)
    : m_settingsFile(std::move(settingsFile)),
      m_icon(std::move(icon)),
      m_mdi(new QMdiArea(this)),
      m_menu(new FrameMenu(menuBar())),
      m_status(new FrameStatusBar(this)),
      m_recent(m_settingsFile),
      m_document(*this, m_recent, [](const std::string& face) { return IsUsableFontFace(face); }),
      m_link(*this, m_settingsFile, this),
      m_autoReconnect(m_link, *this, [this] { return m_graphs.anyOpen(); }, this),
      m_graphWindows(*m_mdi, m_graphs, m_link, m_document, *this, this),
      m_graphsAndViews(*this, *m_menu, *m_status, m_document, m_link, m_graphs, m_graphWindows),
      m_arrangement(*m_mdi, *m_menu, m_document, m_graphs, m_graphWindows, m_graphsAndViews,
                    [this] { markModified(); })
{
    setObjectName(QString::fromLatin1(kSettingsSection));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(m_icon);
    setStatusBar(m_status);
    m_mdi->setObjectName(QStringLiteral("NewClient"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCentralWidget(m_mdi);
    new WindowListMenu(*m_menu->windowMenu(), *m_mdi);
    connect(m_menu, &FrameMenu::commandChosen, this, [this](int id) { SendCommand(id); });
    m_printing = new printing::PrintCommands(*this, *m_mdi, m_graphWindows, m_settingsFile, [this] {
        return m_document.isOpen() ? QString::fromStdString(m_document.path()) : QString();
    });
}

FrameWindow::~FrameWindow()
{
    if (!m_shutDown)
        shutDown();
}

FrameWindow::Probe FrameWindow::probe() const
{
    return {m_document, m_link, m_graphs, m_graphWindows, m_graphsAndViews, m_serverStart};
}

QIcon FrameWindow::LoadIcon()
{
    RegisterFrameResources();
    return QIcon(QString::fromLatin1(kIconResource));
}

void FrameWindow::start(const QString& commandLine)
{
    start(QStringList(commandLine));
}

void FrameWindow::start(const QStringList& arguments)
{
    showBanner(kStartBannerMs);
    m_graphs.clear();
    m_link.LoadLinkSettings();

    const bool startServer = profile::ReadInt(kSettingsSection, kStartServerKey, 1, m_settingsFile) != 0;
    m_menu->setChecked(CommandId(FrameCommand::StartServer), startServer);
    m_menu->setChecked(CommandId(FrameCommand::DontStartServer), !startServer);
    m_serverStart = link::StartServerIfNeeded(this, startServer, m_link.settings());
    if (IsProgramEnding())
        return;
    chooseAutoReconnect(profile::ReadInt(kSettingsSection, kReconnectAutomaticallyKey, 0, m_settingsFile) != 0);

    rebuildPopups();
    m_recent.cleanUp();
    buildRecentFilesMenu();

    show();
    refreshFileCommands();
    runCommandLine(arguments);
}

void FrameWindow::showBanner(int timeoutMs)
{
    BannerRequest request;
    request.owner = this;
    request.icon = m_icon;
    request.title = QString::fromLatin1(kTitle);
    request.firstText = VersionText();
    request.secondText = NoticeLine();
    request.timeoutMs = timeoutMs;
    ShowBanner(request);
}

void FrameWindow::runCommandLine(const QStringList& arguments)
{
    const CommandLineStart wanted = ParseArguments(arguments);
    if (!wanted.hasFile || wanted.file.isEmpty())
        return;
    m_document.load(this, LoadMode::Open, ToLocalPath(wanted.file));
    if (!m_document.isOpen() || !wanted.hasView || IsProgramEnding())
        return;
    if (const int view = m_graphsAndViews.findView(wanted.view); view > 0)
        SendCommand(kFirstViewCommand - 1 + view);
}

int FrameWindow::SendCommand(int id)
{
    if (id >= kFirstGraphCommand && id <= kLastGraphCommand) {
        m_graphsAndViews.openGraph(GraphOfCommand(id));
        return 0;
    }
    if (id >= kFirstViewCommand && id <= kLastViewCommand) {
        m_graphsAndViews.openView(ViewOfCommand(id));
        return 0;
    }
    if (id == kMoreGraphsCommand || id == kMoreViewsCommand) {
        chooseMore(id);
        return 0;
    }
    if (id >= kFirstRecentCommand)
        return openRecentFile(id);

    int result = 0;
    switch (static_cast<FrameCommand>(id)) {
    case FrameCommand::New:
        m_document.newCommand(this);
        break;
    case FrameCommand::Open:
        m_document.openCommand(this);
        break;
    case FrameCommand::Save:
        m_document.save(this);
        break;
    case FrameCommand::SaveAs:
        m_document.saveAs(this);
        break;
    case FrameCommand::Close:
        result = m_document.close(this);
        break;
    case FrameCommand::Exit:
        close();
        return 0;
    case FrameCommand::ConfigureDataSource:
        link::ConfigureDataSource(this, m_link);
        return 0;
    case FrameCommand::StartServer:
        chooseServerStart(true);
        return 0;
    case FrameCommand::DontStartServer:
        chooseServerStart(false);
        return 0;
    case FrameCommand::Reconnect:
        reconnect();
        return 0;
    case FrameCommand::ReconnectAutomatically:
        chooseAutoReconnect(!m_autoReconnect.isEnabled());
        profile::WriteString(kSettingsSection, kReconnectAutomaticallyKey, m_autoReconnect.isEnabled() ? "1" : "0",
                             m_settingsFile);
        return 0;
    case FrameCommand::GraphDefinitions:
        runEditor(EditorEffects::RebuildPopups, [this] {
            return editors::EditGraphDefinitions(this, m_document.workingDisplayCopy(),
                                                 m_document.workingMeasurementCopy());
        });
        return 0;
    case FrameCommand::ViewDefinitions:
        runEditor(EditorEffects::RebuildPopups,
                  [this] { return editors::EditViewDefinitions(this, m_document.workingDisplayCopy()); });
        return 0;
    case FrameCommand::Measurements:
        runEditor(EditorEffects::FileCommandsOnly,
                  [this] { return editors::EditMeasurements(this, m_document.workingMeasurementCopy()); });
        return 0;
    case FrameCommand::Cascade:
        m_arrangement.cascade();
        return 0;
    case FrameCommand::Tile:
        m_arrangement.tile();
        return 0;
    case FrameCommand::ArrangeIcons:
        m_arrangement.arrangeIcons();
        return 0;
    case FrameCommand::CloseAll:
        m_arrangement.closeAll();
        return 0;
    case FrameCommand::SaveWindowSizes:
        m_arrangement.saveWindowSizes();
        return 0;
    case FrameCommand::ReInitializeWindows:
        m_arrangement.reInitializeWindows();
        return 0;
    case FrameCommand::CopyPage:
        copyCurrentPage();
        return 0;
    case FrameCommand::PrinterSetup:
        m_printing->printerSetup();
        return 0;
    case FrameCommand::PrintCurrentPage:
        m_printing->printCurrentPage();
        return 0;
    case FrameCommand::PrintAllPages:
        m_printing->printAllPages();
        return 0;
    case FrameCommand::PrintingOptions:
        m_printing->printingOptions();
        return 0;
    case FrameCommand::GraphAttributes:
        m_printing->graphAttributes();
        return 0;
    case FrameCommand::ExportPage:
        m_printing->exportPage();
        return 0;
    case FrameCommand::ExportAllPages:
        m_printing->exportAllPages();
        return 0;
    case FrameCommand::HelpIndex:
        ShowHelpContents(this);
        return 0;
    case FrameCommand::About:
        showBanner(0);
        return 0;
    case FrameCommand::WebSite:
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(FrameMenu::kWebSiteAddress)));
        return 0;
    default:
        return 0;
    }
    // A file command may have closed a document, which changes the recent files.
    buildRecentFilesMenu();
    return result;
}

int FrameWindow::openRecentFile(int id)
{
    const std::optional<std::string> path = m_recent.commandPath(id);
    if (!path)
        return 0;
    m_document.openRecent(this, *path);
    buildRecentFilesMenu();
    return 0;
}

void FrameWindow::chooseMore(int command)
{
    if (!m_document.isOpen())
        return;
    const int index = ChooseMoreWindows(this, command, m_document.workingDisplayCopy(), *m_mdi);
    if (index == MoreWindowsDialog::kNone)
        return;
    SendCommand((command == kMoreGraphsCommand ? kFirstGraphCommand : kFirstViewCommand) + index);
}

void FrameWindow::copyCurrentPage()
{
    // The active window's graph; graph 1 when the active window shows none.
    const int found = m_graphWindows.FindGraphByWindow(m_mdi->activeSubWindow());
    if (graphs::GraphWindow* window = m_graphWindows.graphWindow(std::max(found, 0)))
        graphs::CopyPageToClipboard(window->resources());
}

void FrameWindow::buildRecentFilesMenu()
{
    // The old items go first, so that their identifiers are handed out afresh.
    m_menu->setRecentFiles({});
    std::vector<MenuEntry> entries;
    for (const RecentFiles::MenuItem& item : m_recent.buildMenu(m_menu->usedIds()))
        entries.push_back({item.commandId, item.text});
    m_menu->setRecentFiles(entries);
}

void FrameWindow::chooseServerStart(bool start)
{
    m_menu->setChecked(CommandId(FrameCommand::StartServer), start);
    m_menu->setChecked(CommandId(FrameCommand::DontStartServer), !start);
    profile::WriteString(kSettingsSection, kStartServerKey, start ? "1" : "0", m_settingsFile);
}

void FrameWindow::reconnect()
{
    if (m_link.Connect() && m_graphs.anyOpen())
        m_link.SendLayout();
}

void FrameWindow::chooseAutoReconnect(bool on)
{
    m_menu->setChecked(CommandId(FrameCommand::ReconnectAutomatically), on);
    m_autoReconnect.setEnabled(on);
}

void FrameWindow::runEditor(EditorEffects effects, const std::function<int()>& edit)
{
    // The editors replace the working copies, which need an open document
    // and must not change under open graph windows.
    if (!m_document.isOpen() || m_graphs.anyOpen() || m_editorRunning)
        return;
    m_editorRunning = true;
    const int result = edit();
    m_editorRunning = false;
    if (result == 1) {
        if (effects == EditorEffects::RebuildPopups)
            rebuildPopups();
        markModified();
    }
    // A close request that came while the editor was open ended it; the
    // frame closes now that the editor's outcome is in the document.
    if (m_closeAfterEditor) {
        m_closeAfterEditor = false;
        close();
    }
}

void FrameWindow::markModified()
{
    m_document.setModified(true);
    refreshFileCommands();
}

void FrameWindow::rebuildPopups()
{
    m_graphsAndViews.rebuildPopups();
}

void FrameWindow::refreshFileCommands()
{
    const FileCommandState state = FileCommandStateFor(m_document.isOpen(), m_document.isModified(),
                                                       m_document.path());
    m_menu->setEnabled(CommandId(FrameCommand::New), state.newAndOpenEnabled);
    m_menu->setEnabled(CommandId(FrameCommand::Open), state.newAndOpenEnabled);
    m_menu->setEnabled(CommandId(FrameCommand::Save), state.saveEnabled);
    m_menu->setEnabled(CommandId(FrameCommand::SaveAs), state.documentCommandsEnabled);
    m_menu->setEnabled(CommandId(FrameCommand::Close), state.documentCommandsEnabled);
    m_graphsAndViews.applyEditorStates();
    m_menu->setEnabled(CommandId(FrameCommand::ConfigureDataSource), state.configureDataSourceEnabled);
    m_status->setPartText(FrameStatusBar::kDocumentPart, state.statusText);
}

void FrameWindow::resetNameList(const std::string& measurementPath)
{
    link::ResetNameList(m_link.layout(), measurementPath);
}

void FrameWindow::closeAllGraphWindows()
{
    // Also when the document closes: a view of this document is no view of
    // the next one, whose Save Window Sizes must not write into it.
    m_arrangement.closeAll();
}

void FrameWindow::showConnection(const QString& text)
{
    m_status->setPartText(FrameStatusBar::kConnectionPart, text);
}

void FrameWindow::showSampleTime(const QString& text)
{
    m_status->setPartText(FrameStatusBar::kTimePart, text);
}

void FrameWindow::enableReconnect(bool enabled)
{
    m_menu->setEnabled(CommandId(FrameCommand::Reconnect), enabled);
}

void FrameWindow::graphWindowMoved()
{
    m_menu->setEnabled(CommandId(FrameCommand::SaveWindowSizes), true);
    m_menu->setEnabled(CommandId(FrameCommand::ReInitializeWindows), true);
}

void FrameWindow::graphWindowActivated(bool pageCommandsApply)
{
    for (FrameCommand pageCommand : {FrameCommand::GraphAttributes, FrameCommand::PrintCurrentPage,
                                     FrameCommand::CopyPage, FrameCommand::ExportPage})
        m_menu->setEnabled(CommandId(pageCommand), pageCommandsApply);
}

void FrameWindow::graphWindowClosed()
{
    m_graphsAndViews.rebuildPopups();
}

void FrameWindow::closeEvent(QCloseEvent* event)
{
    if (m_editorRunning) {
        // The open editors are closed as their close boxes would be; the
        // frame closes once the editor's run has ended.
        event->ignore();
        m_closeAfterEditor = editors::CloseOpenEditors();
        return;
    }
    if (!m_shutDown && m_document.isModified() && SendCommand(CommandId(FrameCommand::Close)) == kCommandCancelled) {
        event->ignore();
        return;
    }
    if (!m_shutDown)
        shutDown();
    event->accept();
}

void FrameWindow::shutDown()
{
    m_shutDown = true;
    // No more tries once the frame goes, also none after a failure box that
    // was open while it closed.
    m_autoReconnect.setEnabled(false);
    closeAllGraphWindows();
    m_link.Disconnect();
    toolkit::CloseToolkit();
    // Ended by the session, a modified document keeps its changes for the
    // next open; nothing is written to the document's own files.
    if (IsProgramEnding())
        m_document.keepForRecovery();
    else
        m_document.discardWorkingCopies();
    CloseBanner();
    QuitHelp();
}

}  // namespace vexa::app
