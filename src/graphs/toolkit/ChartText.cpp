#include "graphs/toolkit/ChartText.h"

#include "graphs/toolkit/ChartGeometry.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>

#include <algorithm>

namespace vexa::toolkit {

namespace {

/// Room kept between a text and the edge of its window.
constexpr double kEdgeMargin = 2.0;
constexpr double kSmallestFontPoints = 6.0;
constexpr double kFontShrinkStep = 0.5;
/// Luminance (0 ... 255) above which dark text reads better.
constexpr double kLightBackground = 140.0;
constexpr double kRedWeight = 0.299;
constexpr double kGreenWeight = 0.587;
constexpr double kBlueWeight = 0.114;

/// Texts remembered per cache before it starts afresh: far more than the
/// labels of every open chart, few enough to stay small when values keep
/// changing.
constexpr qsizetype kTextCacheLimit = 4096;
constexpr QChar kKeySeparator(0x1f);

QString TextKey(const QFont& font, const QString& text)
{
    return font.key() + kKeySeparator + text;
}

/// A bounded memo: emptied when full, since the labels that matter come
/// back on the next paint.
template <typename Value>
class TextMemo {
public:
    template <typename Make>
    const Value& find(const QFont& font, const QString& text, Make make)
    {
        const QString key = TextKey(font, text);
        auto found = m_entries.constFind(key);
        if (found != m_entries.constEnd())
            return *found;
        if (m_entries.size() >= kTextCacheLimit)
            m_entries.clear();
        return *m_entries.insert(key, make());
    }

private:
    QHash<QString, Value> m_entries;
};

TextMemo<double>& Advances()
{
    static TextMemo<double> memo;
    return memo;
}

TextMemo<QStaticText>& Layouts()
{
    static TextMemo<QStaticText> memo;
    return memo;
}

}  // namespace

QPen LinePen(LineStyle style, int width, const QColor& colour)
{
    QPen pen(colour);
    pen.setWidth(std::max(width, kThinLine));
    switch (style) {
    case LineStyle::Dashed:
        pen.setStyle(Qt::DashLine);
        break;
    case LineStyle::Dotted:
        pen.setStyle(Qt::DotLine);
        break;
    case LineStyle::Solid:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    return pen;
}

QPen LinePen(const LineAttributes& line)
{
    return LinePen(line.style, line.width, PaletteColour(line.colour));
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

QRectF AnchoredTextRect(const QSizeF& size, const QPointF& anchor, Justification justification,
                        const QRectF& bounds)
{
    const double left = justification == Justification::Left ? anchor.x() : anchor.x() - size.width() / 2.0;
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
        if (TextAdvance(fitted, text) <= room.width() && metrics.height() <= room.height()) {
            break;
        }
        points = std::max(points - kFontShrinkStep, kSmallestFontPoints);
        fitted.setPointSizeF(points);
    }
    return fitted;
}

void DrawFittedText(QPainter& painter, const QRectF& rect, int flags, const QString& text)
{
    if (TextAdvance(painter.font(), text) <= rect.width()) {
        DrawChartLabel(painter, rect, flags, text);
        return;
    }
    const QFontMetricsF metrics(painter.font());
    DrawChartLabel(painter, rect, flags, metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

double TextAdvance(const QFont& font, const QString& text)
{
    return Advances().find(font, text, [&] { return QFontMetricsF(font).horizontalAdvance(text); });
}

void DrawChartLabel(QPainter& painter, const QRectF& rect, int flags, const QString& text)
{
    // Printers lay out for their own resolution; only raster targets share
    // the remembered layouts.
    if (!IsRasterTarget(painter) || !painter.transform().isIdentity()) {
        painter.drawText(rect, flags, text);
        return;
    }
    const QFont& font = painter.font();
    const QStaticText& layout = Layouts().find(font, text, [&] {
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText);
        prepared.prepare(QTransform(), font);
        return prepared;
    });
    const QSizeF size(TextAdvance(font, text), QFontMetricsF(font).height());
    double left = rect.left();
    if (flags & Qt::AlignHCenter)
        left = rect.center().x() - size.width() / 2.0;
    else if (flags & Qt::AlignRight)
        left = rect.right() - size.width();
    double top = rect.top();
    if (flags & Qt::AlignVCenter)
        top = rect.center().y() - size.height() / 2.0;
    else if (flags & Qt::AlignBottom)
        top = rect.bottom() - size.height();
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawStaticText(QPointF(left, top), layout);
    painter.restore();
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
