#include "server/ServerWindow.h"

#include "banner/Banner.h"
#include "server/LogList.h"
#include "server/ServerAbout.h"
#include "server/ServerMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include <ctime>
#include <utility>

// Resources of a static library must be registered by name, from outside
// any namespace.
static void RegisterServerResources()
{
    Q_INIT_RESOURCE(vexalink);
}

namespace vexa::server {

namespace {

constexpr int kLeft = 190;
constexpr int kWidthShortfall = 200;
constexpr int kHeightShortfall = 20;
constexpr int kHalf = 2;

}  // namespace

QIcon ServerWindow::LoadIcon()
{
    RegisterServerResources();
    const QPixmap pixmap(QString::fromLatin1(kIconResource));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QRect ServerWindow::StartGeometry(const QRect& screen)
{
    const int halfHeight = screen.height() / kHalf;
    return {screen.left() + kLeft, screen.top() + halfHeight, screen.width() - kWidthShortfall,
            halfHeight - kHeightShortfall};
}

ServerWindow::ServerWindow(std::string settingsFile, QIcon icon, QWidget* parent)
    : QMainWindow(parent),
      m_settings(std::move(settingsFile)),
      m_dataPath(m_settings.dataPath()),
      m_icon(std::move(icon)),
      m_log(new LogList(this)),
      m_menu(new ServerMenu(menuBar())),
      m_inputs(*m_log),
      m_engine(*m_log, m_dataPath),
      m_transport(m_engine, *m_log, this),
      m_options(m_settings, m_engine, *m_menu, *m_log, this),
      m_inputCommands(m_inputs, InputSettings(m_settings.file()), *m_log, this),
      m_recording(m_settings.file(), m_engine, m_inputs, *m_menu, *m_log),
      m_replayCommands(m_inputs, m_engine, *m_log, this),
      m_faultCommands(FaultSettings(m_settings.file()), *m_log, this),
      m_presence(QString::fromLatin1(kTitle)),
      m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(m_icon);
    setCentralWidget(m_log);
    m_engine.setLiveValues(&m_inputs);
    m_engine.setFaults(&m_faultCommands.injector());
    connect(m_menu, &ServerMenu::commandChosen, this, &ServerWindow::SendCommand);
}

ServerWindow::~ServerWindow() = default;

void ServerWindow::start(ShowMode mode)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        const QRect placed = StartGeometry(screen->geometry());
        move(placed.topLeft());
        resize(placed.size());
    }
    if (mode == ShowMode::Minimized)
        showMinimized();
    else
        show();

    m_engine.SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    m_menu->checkDataPath(m_dataPath);
    int port = ServerSettings::kDefaultPort;
    if (m_dataPath == kDataPathTcpIp) {
        port = m_settings.port();
        m_menu->showPort(port);
    }
    // The inputs first: a client that finds the server finds them listening.
    m_inputCommands.Start(m_inputOverrides);
    m_recording.Start();
    m_replayCommands.Start(m_replayOptions);
    m_faultCommands.Start(m_faultOverrides);
    // A transport that fails to start has logged why; the window stays usable.
    m_transport.start(m_dataPath, port);
    // Only now is the server ready for the display program, which waits for
    // this marker after starting it.
    m_presence.hold();
}

void ServerWindow::SendCommand(int id)
{
    switch (static_cast<ServerCommand>(id)) {
    case ServerCommand::Exit:
        close();
        break;
    case ServerCommand::ShowConnections:
        m_log->LogLine(QStringLiteral("%1 connection established.").arg(m_transport.connectionState()));
        break;
    case ServerCommand::MeasurementInformation:
        m_engine.MeasurementInformation();
        break;
    case ServerCommand::DecomControl:
        m_engine.ListDecomControl();
        break;
    case ServerCommand::About:
        ShowServerAbout(this, m_icon);
        break;
    case ServerCommand::WebLink:
        m_openUrl(QUrl(QString::fromLatin1(ServerMenu::kWebAddress)));
        break;
    case ServerCommand::ClearScreen:
        m_log->clearLog();
        break;
    case ServerCommand::SelectDde:
    case ServerCommand::SelectTcpIp:
        m_options.SelectDataPath(id);
        break;
    case ServerCommand::ChangePort:
        m_options.ChangePort();
        break;
    case ServerCommand::VerboseOn:
    case ServerCommand::VerboseOff:
        m_options.SetVerbose(id == CommandId(ServerCommand::VerboseOn));
        break;
    case ServerCommand::TimeOfDayOn:
    case ServerCommand::TimeOfDayOff:
        m_options.SetTimeOfDay(id == CommandId(ServerCommand::TimeOfDayOn));
        break;
    case ServerCommand::SaveNamesAsMeasurementFile:
        m_inputCommands.SaveNamesAsMeasurementFile();
        break;
    case ServerCommand::Sources:
        m_inputCommands.ShowSources();
        break;
    case ServerCommand::LiveValues:
        m_inputCommands.ShowLiveValues();
        break;
    case ServerCommand::DataSources:
        m_inputCommands.ChangeDataSources();
        break;
    case ServerCommand::Record:
        m_recording.Toggle();
        break;
    case ServerCommand::Replay:
        m_replayCommands.ShowReplay();
        break;
    case ServerCommand::SimulateFaults:
        m_faultCommands.ChangeFaults();
        break;
    }
}

QAction* ServerWindow::action(ServerCommand command) const
{
    return m_menu->action(command);
}

void ServerWindow::closeEvent(QCloseEvent* event)
{
    m_transport.shutdown();
    QMainWindow::closeEvent(event);
}

void ServerWindow::FinishShutdown()
{
    m_recording.Stop();
    m_inputs.LogTotals();
    m_engine.StopTimers();
    m_transport.shutdown();
    CloseBanner();
    // The last line, so that a script watching the log knows the end was
    // orderly.
    m_log->LogLine(QString::fromLatin1(kStoppedLine));
}

}  // namespace vexa::server
