#include "OutputPages.h"

#include "document/DisplayFormat.h"
#include "graphs/builders/ChartStyle.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/core/GraphResources.h"

#include <algorithm>

namespace vexa::app::printing {

bool OutputPage::isGone() const
{
    if (graphWindow.isNull() || graphWindow->isHidden())
        return true;
    return page ? !toolkit::PageExists(page) : list.isNull();
}

std::vector<OutputPage> OutputPagesOf(graphs::GraphResources& resources, bool withHistory)
{
    std::vector<OutputPage> pages;
    const QString title = graphs::GraphCaption(resources.definition);
    if (resources.definition.type == kScrollingTabular) {
        if (!resources.scrollingList.isNull())
            pages.push_back({{}, resources.scrollingList, title, resources.graphWindow});
        return pages;
    }
    if (!toolkit::PageExists(resources.chartPage))
        return pages;
    pages.push_back({resources.chartPage, {}, title, resources.graphWindow});
    if (const graphs::TimeHistoryState* state = graphs::TimeHistoryStateOf(resources);
        withHistory && state != nullptr && toolkit::PageExists(state->historyWindow))
        pages.push_back({state->historyWindow, {}, state->historyWindow->windowTitle(), resources.graphWindow});
    return pages;
}

bool DropGonePages(std::vector<OutputPage>& pages)
{
    std::erase_if(pages, [](const OutputPage& page) { return page.isGone(); });
    return !pages.empty();
}

}  // namespace vexa::app::printing
