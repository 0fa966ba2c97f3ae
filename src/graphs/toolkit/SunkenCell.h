#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

/// The sunken cell that readouts, dials and bars show values in.
namespace vexa::toolkit {

/// The edges of a sunken cell: a shadow along its top and left, light along
/// its bottom and right.
struct SunkenEdges {
    QColor shadow;
    QColor light;
};

/// The edges of a readout's cell, which read on any background: Gray and
/// White.
SunkenEdges ReadoutCellEdges();
/// The edges of a cell sunk into \p background: the background darkened and
/// lightened.
SunkenEdges EdgesSunkInto(const QColor& background);

/// Draws the edges of \p rect as \p edges say.
void DrawSunkenEdges(QPainter& painter, const QRectF& rect, const SunkenEdges& edges);
/// Fills \p rect with \p fill and draws its edges as \p edges say.
void DrawSunkenCell(QPainter& painter, const QRectF& rect, const QColor& fill, const SunkenEdges& edges);

}  // namespace vexa::toolkit
