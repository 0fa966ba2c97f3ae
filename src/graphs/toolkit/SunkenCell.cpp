#include "graphs/toolkit/SunkenCell.h"

#include "graphs/toolkit/Palette.h"

#include <QPainter>

namespace vexa::toolkit {

namespace {

constexpr PaletteIndex kShadowColour = palette::kGray;
constexpr PaletteIndex kLightColour = palette::kWhite;
/// How much darker and lighter than its background a sunk cell's edges are
/// (QColor::darker and lighter factors).
constexpr int kShadowDarkness = 150;
constexpr int kLightLightness = 130;

}  // namespace

SunkenEdges ReadoutCellEdges()
{
    return {PaletteColour(kShadowColour), PaletteColour(kLightColour)};
}

SunkenEdges EdgesSunkInto(const QColor& background)
{
    return {background.darker(kShadowDarkness), background.lighter(kLightLightness)};
}

void DrawSunkenEdges(QPainter& painter, const QRectF& rect, const SunkenEdges& edges)
{
    painter.setPen(edges.shadow);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(edges.light);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void DrawSunkenCell(QPainter& painter, const QRectF& rect, const QColor& fill, const SunkenEdges& edges)
{
    painter.fillRect(rect, fill);
    DrawSunkenEdges(painter, rect, edges);
}

}  // namespace vexa::toolkit
