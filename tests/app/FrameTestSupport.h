#pragma once

#include "app/FrameWindow.h"
#include "support/ModalDriver.h"
#include "support/TestSupport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWidget;

namespace vexa::app {
class FrameStatusBar;
}

namespace vexa::graphs {
struct GraphResources;
}

namespace vexa::test {

/// A display file with four graphs and two views, and its measurement file:
/// "Pressures" (P1, P2) and "Temperatures" (T1, T2, T3), "Flow" (F1) and
/// "Spare" (P1); views "Main" (Pressures, Flow) and "Heat" (Temperatures).
std::string PlantDisplayFile();
std::string PlantMeasurementFile();

/// Writes the plant files as \p name (".dsp" included) and its ".mvx" into
/// \p dir; the display file's path.
std::string WritePlant(const ScratchDir& dir, const std::string& name);

/// A display file of \p graphs time history graphs "Graph 1", "Graph 2", …
/// (graph n shows measurement "N<n>") and \p views views "View 1", "View 2",
/// … that each name "Graph 1".
std::string NumberedDisplayFile(int graphs, int views);

/// Writes \p display as \p name (".dsp" included) into \p dir, with
/// \p measurements as its ".mvx"; the display file's path.
std::string WriteDocument(const ScratchDir& dir, const std::string& name, const std::string& display,
                          const std::string& measurements = {});

/// The open graph window of graph \p index (0-based), or null.
QMdiSubWindow* GraphWindowOf(const app::FrameWindow& frame, int index);

/// What the window of graph \p index (0-based) shows; null while the graph
/// is closed.
const graphs::GraphResources* ResourcesOf(const app::FrameWindow& frame, int index);
/// Whether graph \p index has taken \p rows samples and shown them: a chart
/// repainted after them, a scrolling table listed them.
bool HasDrawnRows(const app::FrameWindow& frame, int index, int rows);

/// The frame as the user sees it. The menu of the menu bar, or the popup in
/// one of its menus, whose item reads \p title ("&File", "&Graphs"); null
/// when there is none.
QMenu* MenuOf(const QMainWindow& frame, const QString& title);
/// The item of command \p id (the identifier the item carries) in any menu
/// of the menu bar; null when there is none.
QAction* CommandItem(const QMainWindow& frame, int id);
/// Whether the item of command \p id is there and enabled, or checked.
bool IsItemEnabled(const QMainWindow& frame, int id);
bool IsItemChecked(const QMainWindow& frame, int id);
app::FrameStatusBar& StatusBarOf(const QMainWindow& frame);
QMdiArea& MdiAreaOf(const QMainWindow& frame);

/// Opens the display file \p path with File > Open, chosen in the file
/// dialog as the user would; true when it is open then.
bool OpenDisplayFile(app::FrameWindow& frame, const std::string& path);

/// The recent files as the settings file keeps them for the next start.
std::vector<std::string> StoredRecentFiles();

/// Replaces the settings file with \p contents.
void WriteSettings(const std::string& contents);
/// Settings that keep the frame offline and start no server.
std::string OfflineSettings();
/// Settings that connect to the server on loopback port \p port and start
/// none.
std::string ServerSettings(int port);

/// A frame on the test's settings file, started with \p commandLine.
std::unique_ptr<app::FrameWindow> StartFrame(const QString& commandLine = {});

/// The texts of a menu's items, "" for a separator.
QStringList ItemTexts(const QMenu& menu);

/// Puts the directory of the built vexalink first on PATH while it lives.
class ServerOnPath {
public:
    ServerOnPath();
    ~ServerOnPath();
    ServerOnPath(const ServerOnPath&) = delete;
    ServerOnPath& operator=(const ServerOnPath&) = delete;

private:
    QByteArray m_saved;
};

/// Ends the server that holds the presence marker, if one does, and waits
/// until the marker is free.
void StopRunningServer();

}  // namespace vexa::test
