#pragma once

#include "document/GraphDefinition.h"
#include "graphs/core/GraphState.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/ScrollingList.h"

#include <QPointer>

#include <memory>

class QWidget;

namespace vexa::graphs {

/// What a graph holds while it is shown: the definition it is drawn from,
/// its chart page and chart window (or its list), its dataset and the state
/// of its type. A graph window owns one (so does the editor's preview);
/// chart builders fill it.
struct GraphResources {
    GraphResources() = default;
    ~GraphResources();
    GraphResources(const GraphResources&) = delete;
    GraphResources& operator=(const GraphResources&) = delete;

    /// Releases everything in order: the type's state (with the history
    /// window and its datasets), the chart window, the dataset; a released
    /// window's list takes no more lines.
    void release();

    /// The graph's index in the graph table; it names its pages.
    int graphIndex = 0;
    GraphDefinition definition;
    /// The window that shows the graph, which owns its pages: the graph
    /// window, or the preview pane.
    QWidget* graphWindow = nullptr;
    QPointer<toolkit::ChartPage> chartPage;
    QPointer<toolkit::ChartWindow> chartWindow;
    std::unique_ptr<toolkit::RealTimeDataset> dataset;
    std::unique_ptr<GraphState> state;
    /// The list that a scrolling table shows in place of a chart page; a
    /// child of the graph window, which it goes with.
    QPointer<toolkit::ScrollingList> scrollingList;
};

}  // namespace vexa::graphs
