#include "DialogPlacement.h"

#include <algorithm>

namespace vexa::server {

namespace {

/// One axis of KeptOnScreen(): the near edge wins over the far one.
int KeptInside(int start, int length, int areaStart, int areaLength, int margin)
{
    const int farthest = areaStart + areaLength - margin - length;
    return std::max(std::min(start, farthest), areaStart + margin);
}

}  // namespace

QPoint CentredOver(const QRect& area, const QSize& size)
{
    return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2};
}

QPoint KeptOnScreen(const QPoint& topLeft, const QSize& size, const QRect& screen, int margin)
{
    return {KeptInside(topLeft.x(), size.width(), screen.left(), screen.width(), margin),
            KeptInside(topLeft.y(), size.height(), screen.top(), screen.height(), margin)};
}

}  // namespace vexa::server
