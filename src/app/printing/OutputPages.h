#pragma once

#include <QPointer>
#include <QString>

#include <vector>

class QWidget;

namespace vexa::toolkit {
class ChartPage;
class ScrollingList;
}  // namespace vexa::toolkit

namespace vexa::graphs {
struct GraphResources;
}

namespace vexa::app::printing {

/// One page a graph puts on paper or into a file: a chart page, or the
/// list of a scrolling table. Either may go while a dialog is open.
struct OutputPage {
    QPointer<toolkit::ChartPage> page;
    QPointer<toolkit::ScrollingList> list;
    QString title;
    /// The window that shows the graph: once it has closed, its pages and
    /// list are on their way out even while they still exist.
    QPointer<QWidget> graphWindow;

    bool isGone() const;
};

/// What printing a graph puts out: a scrolling table's list; otherwise its
/// chart page and, when \p withHistory and its history window is open, the
/// history page after it. Nothing for a graph without either.
std::vector<OutputPage> OutputPagesOf(graphs::GraphResources& resources, bool withHistory);

/// Drops the pages that went meanwhile; true when any is left.
bool DropGonePages(std::vector<OutputPage>& pages);

}  // namespace vexa::app::printing
