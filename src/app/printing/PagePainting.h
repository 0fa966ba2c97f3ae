#pragma once

#include <QRectF>
#include <QSize>

class QPainter;

namespace vexa::toolkit {
class ChartPage;
}

namespace vexa::app::printing {

/// The smallest size a page is laid out at for paper or a file: a page
/// shrunk to a sliver on screen still prints whole.
inline constexpr QSize kLeastLayoutSize{320, 240};

/// The size \p page is laid out at for output: its size on screen, at
/// least kLeastLayoutSize.
QSize OutputLayoutSize(const toolkit::ChartPage& page);

/// Paints \p page (built first when it was not) into \p target of
/// \p painter, scaled to fit and centred across, as vectors: element by
/// element, so that texts stay texts and lines stay lines. The window's
/// buttons are left out. The page gets its screen size back afterwards.
void PaintPage(toolkit::ChartPage& page, QPainter& painter, const QRectF& target);

}  // namespace vexa::app::printing
