#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vexa::server {

/// The top-left corner that centres a window of \p size over \p area.
QPoint CentredOver(const QRect& area, const QSize& size);

/// \p topLeft moved, where needed, so that a window of \p size stands inside
/// \p screen with at least \p margin pixels to spare on every side. A window
/// too large for that keeps its left or top edge at the margin.
QPoint KeptOnScreen(const QPoint& topLeft, const QSize& size, const QRect& screen, int margin);

}  // namespace vexa::server
