#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/LineAttributes.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QString>

class QPainter;

/// Helpers the chart elements share for texts, colours and lines.
namespace vexa::toolkit {

/// The pen of line style \p style, \p width pixels (at least 1) and
/// \p colour.
QPen LinePen(LineStyle style, int width, const QColor& colour);
/// The pen of \p line.
QPen LinePen(const LineAttributes& line);

/// True when \p painter paints pixels (an image or the screen), where
/// traces are drawn as pixel runs rather than stroked lines.
bool IsRasterTarget(QPainter& painter);

/// Black or white, whichever reads better on \p background.
QColor ContrastingColour(const QColor& background);
/// Perceived brightness, 0 (black) ... 255 (white).
double Luminance(const QColor& colour);

/// Where a text of \p size goes when anchored at \p anchor with
/// \p justification: its bottom at the anchor's y, moved inside \p bounds
/// when it would stick out.
QRectF AnchoredTextRect(const QSizeF& size, const QPointF& anchor, Justification justification,
                        const QRectF& bounds);

/// \p font made smaller, down to a legible minimum, until \p text fits
/// \p room.
QFont FittedFont(const QFont& font, const QString& text, const QSizeF& room);

/// Draws \p text in \p rect with \p flags, elided to the rect's width.
void DrawFittedText(QPainter& painter, const QRectF& rect, int flags, const QString& text);

/// The width of \p text in \p font. Charts repaint the same labels many
/// times a second, so widths are remembered rather than measured again.
double TextAdvance(const QFont& font, const QString& text);

/// Draws \p text in the painter's font, aligned in \p rect by the
/// horizontal and vertical alignment of \p flags. On images and the screen
/// the laid-out text is remembered, so that a label painted again is not
/// shaped again.
void DrawChartLabel(QPainter& painter, const QRectF& rect, int flags, const QString& text);

/// Slot \p index of \p count equal slots stacked from the top of \p rect:
/// readouts and legends share it, so that names line up with values.
QRectF ColumnSlot(const QRectF& rect, int index, int count);

/// A rectangle in fractions of \p size, in pixels.
QRectF PixelRect(const ChartRect& rect, const QSizeF& size);

}  // namespace vexa::toolkit
