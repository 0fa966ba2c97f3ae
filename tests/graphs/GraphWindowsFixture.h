#pragma once

#include "document/DisplayDocument.h"
#include "document/DocumentHost.h"
#include "document/GraphTable.h"
#include "document/RecentFiles.h"
#include "graphs/GraphHost.h"
#include "graphs/GraphWindows.h"
#include "link/client/DataLink.h"
#include "link/client/LinkHost.h"
#include "support/TestSupport.h"

#include <QByteArrayList>
#include <QMainWindow>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class QMdiArea;

namespace vexa::graphs::test {

/// What the graph windows told the frame, in order.
class RecordingGraphHost : public GraphHost {
public:
    void graphWindowMoved() override { ++moves; }
    void graphWindowActivated(bool pageCommandsApply) override { activations.push_back(pageCommandsApply); }
    void graphWindowClosed() override { ++closes; }

    int moves = 0;
    std::vector<bool> activations;
    int closes = 0;
};

/// A link's window that shows nothing.
class QuietLinkHost : public link::LinkHost {
public:
    QWidget* linkWindow() override { return nullptr; }
    void showConnection(const QString&) override {}
    void showSampleTime(const QString&) override {}
    void enableReconnect(bool) override {}
};

/// The measurement names the fixture's layout holds, in order: P1 is at
/// position 0, P2 at 1, T1 at 2.
extern const QByteArrayList kListedNames;

/// A shown frame with a window area, an open display document (the graphs
/// of GraphDisplayFile()), a data link working offline whose layout holds
/// kListedNames, and the graph windows on them.
class GraphWindowsFixture : public ::testing::Test {
protected:
    GraphWindowsFixture();
    ~GraphWindowsFixture() override;

    /// The graph windows of the display file below; graph numbers are 1-based
    /// in the file and 0-based in the calls.
    static std::string GraphDisplayFile();
    static std::string GraphMeasurementFile();

    QMdiArea& area() const { return *m_area; }
    /// Creates graph \p index at \p placement and fails the test when it is
    /// refused.
    GraphWindow& open(int index, const Placement& placement = {});
    /// Waits (on the event loop, with a generous bound) until the chart of
    /// \p window has been built by its first paint.
    static bool waitForChart(const GraphWindow& window);
    /// Puts kListedNames back into the layout, as opening a graph does after
    /// the last window closed.
    void listNames();
    /// Runs the deletions the event loop has been asked for.
    static void runDeferredDeletes();

    vexa::test::ScriptedMessages m_messages;
    vexa::test::ScratchDir m_dir;
    GraphTable m_graphs;
    DocumentHost m_documentHost;
    RecentFiles m_recent;
    DisplayDocument m_document;
    QuietLinkHost m_linkHost;
    link::DataLink m_link;
    RecordingGraphHost m_host;
    std::unique_ptr<QMainWindow> m_frame;
    QMdiArea* m_area = nullptr;
    std::unique_ptr<GraphWindows> m_windows;
};

}  // namespace vexa::graphs::test
