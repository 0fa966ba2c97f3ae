// The placement arithmetic of graph windows: from an open window to the four
// numbers of a placement key and back.

#include "graphs/GraphWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vexa::graphs {

namespace {

/// A window whose size is left to the area gets this share of its viewport,
/// but never less than the smallest default size.
constexpr int kDefaultSizeNumerator = 2;
constexpr int kDefaultSizeDenominator = 3;
constexpr QSize kSmallestDefaultSize{320, 240};

/// Where the area's viewport, in which its windows live, sits inside the
/// area's outer rectangle (its frame).
QPoint ViewportOffset(const QMdiArea& area)
{
    return area.viewport()->mapTo(&area, QPoint(0, 0));
}

}  // namespace

QSize PlacementSize(const QMdiArea& area, const Placement& placement)
{
    const QSize viewport = area.viewport()->size();
    const QSize byDefault = QSize(viewport.width() * kDefaultSizeNumerator / kDefaultSizeDenominator,
                                  viewport.height() * kDefaultSizeNumerator / kDefaultSizeDenominator)
                                .expandedTo(kSmallestDefaultSize);
    return {placement.width == kUseDefaultPlacement ? byDefault.width() : placement.width,
            placement.height == kUseDefaultPlacement ? byDefault.height() : placement.height};
}

Placement PlacementOf(const QMdiSubWindow& window)
{
    const QMdiArea* area = window.mdiArea();
    const QPoint offset = area != nullptr ? ViewportOffset(*area) : QPoint();
    // The subwindow draws its own frame and caption around its content; the
    // margins it keeps for them are the frame width and the caption height
    // its style reports.
    const QMargins decoration = window.contentsMargins();
    const QSize content = window.contentsRect().size();
    return {window.x() + offset.x(), window.y() + offset.y(),
            content.width() + decoration.left() + decoration.right(),
            content.height() + decoration.top() + decoration.bottom()};
}

void ApplyPlacement(QMdiSubWindow& window, const Placement& placement)
{
    const QMdiArea* area = window.mdiArea();
    if (area == nullptr)
        return;
    window.resize(PlacementSize(*area, placement));
    const QPoint offset = ViewportOffset(*area);
    // A default coordinate keeps where the area put the window.
    const int x = placement.x == kUseDefaultPlacement ? window.x() : placement.x - offset.x();
    const int y = placement.y == kUseDefaultPlacement ? window.y() : placement.y - offset.y();
    window.move(x, y);
}

}  // namespace vexa::graphs
