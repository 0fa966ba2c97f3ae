#include "GraphSubWindows.h"

#include "document/GraphTable.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace vexa::app {

QMdiSubWindow* SubWindowOf(QWidget* window)
{
    for (QWidget* widget = window; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(widget))
            return child;
    }
    return nullptr;
}

QMdiSubWindow* GraphSubWindow(const GraphTable& graphs, int index)
{
    return SubWindowOf(graphs.record(index).window);
}

void CloseGraphWindow(const GraphTable& graphs, int index)
{
    if (QMdiSubWindow* child = GraphSubWindow(graphs, index))
        child->close();
}

}  // namespace vexa::app
