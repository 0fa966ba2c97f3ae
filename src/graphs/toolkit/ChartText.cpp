#include "graphs/toolkit/ChartText.h"

#include "graphs/toolkit/ChartGeometry.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

namespace vexa::toolkit {

namespace {

constexpr int kSolidLine = 0;
constexpr int kDashedLine = 1;
constexpr int kDottedLine = 2;
/// Room kept between a text and the edge of its window.
constexpr double kEdgeMargin = 2.0;
constexpr double kSmallestFontPoints = 6.0;
constexpr double kFontShrinkStep = 0.5;
/// Luminance (0 ... 255) above which dark text reads better.
constexpr double kLightBackground = 140.0;
constexpr double kRedWeight = 0.299;
constexpr double kGreenWeight = 0.587;
constexpr double kBlueWeight = 0.114;

}  // namespace

QPen LinePen(int style, int width, const QColor& colour)
{
    QPen pen(colour);
    pen.setWidth(std::max(width, 1));
    switch (style) {
    case kDashedLine:
        pen.setStyle(Qt::DashLine);
        break;
    case kDottedLine:
        pen.setStyle(Qt::DotLine);
        break;
    case kSolidLine:
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    return pen;
}

bool IsRasterTarget(QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine != nullptr && engine->type() == QPaintEngine::Raster;
}

double Luminance(const QColor& colour)
{
    return kRedWeight * colour.red() + kGreenWeight * colour.green() + kBlueWeight * colour.blue();
}

QColor ContrastingColour(const QColor& background)
{
    return Luminance(background) > kLightBackground ? QColor(Qt::black) : QColor(Qt::white);
}

QRectF AnchoredTextRect(const QSizeF& size, const QPointF& anchor, int justification, const QRectF& bounds)
{
    const double left = justification == kJustifyLeft ? anchor.x() : anchor.x() - size.width() / 2.0;
    QRectF rect(left, anchor.y() - size.height(), size.width(), size.height());
    const QRectF inside = bounds.adjusted(kEdgeMargin, kEdgeMargin, -kEdgeMargin, -kEdgeMargin);
    // Keep the text inside: a title anchored near the top edge of a small
    // window moves down rather than losing its upper half.
    if (rect.right() > inside.right()) {
        rect.moveRight(inside.right());
    }
    if (rect.left() < inside.left()) {
        rect.moveLeft(inside.left());
    }
    if (rect.bottom() > inside.bottom()) {
        rect.moveBottom(inside.bottom());
    }
    if (rect.top() < inside.top()) {
        rect.moveTop(inside.top());
    }
    return rect;
}

QFont FittedFont(const QFont& font, const QString& text, const QSizeF& room)
{
    QFont fitted = font;
    double points = fitted.pointSizeF();
    if (points <= 0.0) {
        return fitted;  // a pixel-sized font: leave it
    }
    while (points > kSmallestFontPoints) {
        const QFontMetricsF metrics(fitted);
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height()) {
            break;
        }
        points = std::max(points - kFontShrinkStep, kSmallestFontPoints);
        fitted.setPointSizeF(points);
    }
    return fitted;
}

void DrawFittedText(QPainter& painter, const QRectF& rect, int flags, const QString& text)
{
    const QFontMetricsF metrics(painter.font());
    painter.drawText(rect, flags, metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

QRectF ColumnSlot(const QRectF& rect, int index, int count)
{
    if (count <= 0) {
        return rect;
    }
    const double height = rect.height() / count;
    return QRectF(rect.left(), rect.top() + index * height, rect.width(), height);
}

QRectF PixelRect(const ChartRect& rect, const QSizeF& size)
{
    return QRectF(QPointF(rect.left * size.width(), rect.top * size.height()),
                  QPointF(rect.right * size.width(), rect.bottom * size.height()))
        .normalized();
}

}  // namespace vexa::toolkit
