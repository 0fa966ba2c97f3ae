#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/FrameStatusBar.h"
#include "app/WindowPolish.h"
#include "document/DisplayFormat.h"
#include "document/DocumentPaths.h"
#include "document/GraphTable.h"
#include "document/RecentFiles.h"
#include "graphs/GraphWindow.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/ScrollingList.h"
#include "link/protocol/WireFormat.h"
#include "platform/PresenceMarker.h"
#include "platform/SettingsLocation.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>

namespace vexa::test {

namespace {

/// The scrolling table's lines come below its header.
constexpr int kHeaderLines = 1;

/// How long a stopped server may take to let its marker go.
constexpr int kStopWaitMs = 5000;
constexpr int kStopPollMs = 20;
/// The first item of \p items or of the menus they open, depth first, that
/// \p wanted accepts; null when there is none.
QAction* FindItem(const QList<QAction*>& items, const std::function<bool(const QAction&)>& wanted)
{
    for (QAction* item : items) {
        if (wanted(*item))
            return item;
        if (item->menu() != nullptr) {
            if (QAction* inner = FindItem(item->menu()->actions(), wanted))
                return inner;
        }
    }
    return nullptr;
}

}  // namespace

std::string PlantDisplayFile()
{
    return "[W1]\r\nT=Pressures\r\nGT=Time History\r\nUP=500\r\nM1=P1\r\nM2=P2\r\n"
           "[W2]\r\nT=Temperatures\r\nGT=Time History\r\nM1=T1\r\nM2=T2\r\nM3=T3\r\n"
           "[W3]\r\nT=Flow\r\nGT=Time History\r\nM1=F1\r\n"
           "[W4]\r\nT=Spare\r\nGT=Time History\r\nM1=P1\r\n"
           "[V1]\r\nT=Main\r\nW1=Pressures\r\nW2=Flow\r\n"
           "[V2]\r\nT=Heat\r\nW1=Temperatures\r\n";
}

std::string PlantMeasurementFile()
{
    return "[P1]\r\nMIN=0\r\nMAX=10\r\n[P2]\r\nMIN=0\r\nMAX=10\r\n[T1]\r\n[T2]\r\n[T3]\r\n[F1]\r\n";
}

std::string WritePlant(const ScratchDir& dir, const std::string& name)
{
    const std::string display = dir.path(name);
    WriteFileBytes(display, PlantDisplayFile());
    WriteFileBytes(MeasurementPathFor(display), PlantMeasurementFile());
    return display;
}

std::string NumberedDisplayFile(int graphs, int views)
{
    std::string file;
    for (int n = 1; n <= graphs; ++n) {
        const std::string number = std::to_string(n);
        file += "[W" + number + "]\r\nT=Graph " + number + "\r\nM1=N" + number + "\r\n";
    }
    for (int n = 1; n <= views; ++n) {
        const std::string number = std::to_string(n);
        file += "[V" + number + "]\r\nT=View " + number + "\r\nW1=Graph 1\r\n";
    }
    return file;
}

std::string WriteDocument(const ScratchDir& dir, const std::string& name, const std::string& display,
                          const std::string& measurements)
{
    const std::string path = dir.path(name);
    WriteFileBytes(path, display);
    WriteFileBytes(MeasurementPathFor(path), measurements);
    return path;
}

QMdiSubWindow* GraphWindowOf(const app::FrameWindow& frame, int index)
{
    return frame.probe().graphWindows.graphWindow(index);
}

const graphs::GraphResources* ResourcesOf(const app::FrameWindow& frame, int index)
{
    const graphs::GraphWindow* window = frame.probe().graphWindows.graphWindow(index);
    return window != nullptr ? &window->resources() : nullptr;
}

bool HasDrawnRows(const app::FrameWindow& frame, int index, int rows)
{
    const GraphRecord& record = frame.probe().graphTable.record(index);
    const graphs::GraphResources* resources = ResourcesOf(frame, index);
    if (resources == nullptr)
        return false;
    if (record.type == kScrollingTabular)
        return resources->scrollingList != nullptr && resources->scrollingList->count() >= kHeaderLines + rows;
    return resources->dataset != nullptr && resources->dataset->appendedRows() >= rows &&
           resources->chartWindow != nullptr && resources->chartWindow->paintCount() > 0;
}

QMenu* MenuOf(const QMainWindow& frame, const QString& title)
{
    const QAction* opener = FindItem(frame.menuBar()->actions(), [&title](const QAction& item) {
        return item.menu() != nullptr && item.text() == title;
    });
    return opener != nullptr ? opener->menu() : nullptr;
}

QAction* CommandItem(const QMainWindow& frame, int id)
{
    // The popups carry the identifiers of their first items too; an item of
    // a command opens no menu.
    return FindItem(frame.menuBar()->actions(), [id](const QAction& item) {
        return item.menu() == nullptr && !item.isSeparator() && item.data().toInt() == id;
    });
}

bool IsItemEnabled(const QMainWindow& frame, int id)
{
    const QAction* item = CommandItem(frame, id);
    return item != nullptr && item->isEnabled();
}

bool IsItemChecked(const QMainWindow& frame, int id)
{
    const QAction* item = CommandItem(frame, id);
    return item != nullptr && item->isChecked();
}

app::FrameStatusBar& StatusBarOf(const QMainWindow& frame)
{
    return *qobject_cast<app::FrameStatusBar*>(frame.statusBar());
}

QMdiArea& MdiAreaOf(const QMainWindow& frame)
{
    return *qobject_cast<QMdiArea*>(frame.centralWidget());
}

bool OpenDisplayFile(app::FrameWindow& frame, const std::string& path)
{
    ScriptedFileDialogs dialogs;
    dialogs.script(QString::fromStdString(path));
    frame.SendCommand(app::CommandId(app::FrameCommand::Open));
    return dialogs.unusedAnswers() == 0 && frame.probe().document.isOpen() && frame.probe().document.path() == path;
}

std::vector<std::string> StoredRecentFiles()
{
    return RecentFiles(SettingsFilePath()).entries();
}

void WriteSettings(const std::string& contents)
{
    WriteFileBytes(SettingsFilePath(), contents);
}

std::string OfflineSettings()
{
    return "[VEXA Display]\r\nDataSource=251\r\nStartServer=0\r\n";
}

std::string ServerSettings(int port)
{
    return "[VEXA Display]\r\nDataSource=250\r\nHost=127.0.0.1\r\nPort=" + std::to_string(port)
           + "\r\nStartServer=0\r\n";
}

std::unique_ptr<app::FrameWindow> StartFrame(const QString& commandLine)
{
    const QIcon icon = app::FrameWindow::LoadIcon();
    app::InstallWindowPolish(icon);
    auto frame = std::make_unique<app::FrameWindow>(SettingsFilePath(), icon);
    frame->start(commandLine);
    return frame;
}

QStringList ItemTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* item : menu.actions())
        texts << (item->isSeparator() ? QString() : item->text());
    return texts;
}

ServerOnPath::ServerOnPath() : m_saved(qgetenv("PATH"))
{
    const QByteArray directory = QFileInfo(QStringLiteral(VEXALINK_PATH)).absolutePath().toLocal8Bit();
    qputenv("PATH", directory + ":" + m_saved);
}

ServerOnPath::~ServerOnPath()
{
    qputenv("PATH", m_saved);
}

void StopRunningServer()
{
    const QString title = link::kServerWindowTitle;
    if (!PresenceMarker::IsHeld(title))
        return;
    // The holder writes its process number into the marker.
    QFile marker(PresenceMarker::MarkerPath(title));
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    const pid_t holder = marker.readAll().trimmed().toInt();
    ASSERT_GT(holder, 0);
    ::kill(holder, SIGTERM);
    for (int waited = 0; waited < kStopWaitMs && PresenceMarker::IsHeld(title); waited += kStopPollMs)
        ::poll(nullptr, 0, kStopPollMs);
    EXPECT_FALSE(PresenceMarker::IsHeld(title));
}

}  // namespace vexa::test
