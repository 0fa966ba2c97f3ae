#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace vexa {

/// The top-left corner that centres a window of \p size over \p area.
QPoint CentredOver(const QRect& area, const QSize& size);

/// \p topLeft moved, where needed, so that a window of \p size stands inside
/// \p screen with at least \p margin pixels to spare on every side. A window
/// too large for that keeps its left or top edge at the margin.
QPoint KeptOnScreen(const QPoint& topLeft, const QSize& size, const QRect& screen, int margin);

/// The window frame and caption the window manager adds to \p widget, as far
/// as they are known: the style's estimate, or the real frame where that is
/// larger and already known.
QSize DecorationSize(const QWidget& widget);

/// Pixels a centred dialog keeps from the edges of the work area.
inline constexpr int kDialogScreenMargin = 10;

/// Centres \p dialog over \p owner's window (over the work area without an
/// owner) and keeps it kDialogScreenMargin inside the work area. The dialog
/// keeps its size.
void CentreDialog(QWidget& dialog, const QWidget* owner);

}  // namespace vexa
