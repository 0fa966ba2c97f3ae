#pragma once

#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/ScrollingList.h"

#include <QPointer>

#include <memory>
#include <string>

class QWidget;

namespace vexa {
class GraphTable;
}

namespace vexa::graphs {

struct TimeHistoryState;

/// What an open graph window holds besides its widgets: its section, its
/// chart page and chart window (or its list), its dataset and the state of
/// its type. The graph window owns it; chart builders fill it.
struct GraphResources {
    GraphResources();
    ~GraphResources();
    GraphResources(const GraphResources&) = delete;
    GraphResources& operator=(const GraphResources&) = delete;

    /// Releases everything in order: the history window and its datasets,
    /// the state, the chart window, the dataset; a released window's list
    /// takes no more lines.
    void release();

    int graphIndex = 0;
    std::string section;      ///< "W"(graphIndex + 1)
    std::string displayFile;  ///< the working display copy
    const GraphTable* graphs = nullptr;
    /// The graph window (its caption is the title; it owns the history window).
    QWidget* graphWindow = nullptr;
    QPointer<toolkit::ChartPage> chartPage;
    QPointer<toolkit::ChartWindow> chartWindow;
    std::unique_ptr<toolkit::RealTimeDataset> dataset;
    std::unique_ptr<TimeHistoryState> historyState;  ///< time history graphs only
    /// The list that a scrolling table shows in place of a chart page; a
    /// child of the graph window, which it goes with.
    QPointer<toolkit::ScrollingList> scrollingList;
};

}  // namespace vexa::graphs
