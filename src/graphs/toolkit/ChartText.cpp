#include "graphs/toolkit/ChartText.h"

#include "graphs/toolkit/ChartGeometry.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <cmath>

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

/// A text in a font: compared and hashed field by field, which costs far
/// less than spelling the font out as a string on every lookup.
struct TextKey {
    QFont font;
    QString text;

    bool operator==(const TextKey& other) const { return text == other.text && font == other.font; }
};

size_t qHash(const TextKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.font, key.text);
}

/// A bounded memo in two generations: when the newer is full it becomes
/// the older and the older goes. A label asked for on every paint moves
/// back into the newer and stays, however many readout values, each asked
/// for once, pass through.
template <typename Value>
class TextMemo {
public:
    template <typename Make>
    const Value& find(const QFont& font, const QString& text, Make make)
    {
        const TextKey key{font, text};
        auto found = m_newer.constFind(key);
        if (found != m_newer.constEnd())
            return *found;
        if (m_newer.size() >= kTextCacheLimit) {
            m_older = std::move(m_newer);
            m_newer.clear();
        }
        auto kept = m_older.constFind(key);
        return *m_newer.insert(key, kept != m_older.constEnd() ? *kept : make());
    }

private:
    QHash<TextKey, Value> m_newer;
    QHash<TextKey, Value> m_older;
};

TextMemo<double>& Advances()
{
    static TextMemo<double> memo;
    return memo;
}

/// Widths are laid out in 64ths of a pixel: room this close to the
/// ellipsis's width is left to the layout itself to judge.
constexpr double kLayoutUnitSlack = 2.0 / 64.0;

/// The narrower of the two ellipses an elided text can end in: the
/// character, or three dots when the font has no such character.
double EllipsisAdvance(const QFont& font)
{
    return std::min(TextAdvance(font, QStringLiteral("\u2026")), TextAdvance(font, QStringLiteral("...")));
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
    const double largest = font.pointSizeF();
    if (largest <= 0.0) {
        return font;  // a pixel-sized font: leave it
    }
    // The sizes tried are the font's own and then steps down from it to
    // the smallest: the answer is the first that fits, or the smallest.
    // Text grows about in proportion to its size, which gives a first
    // guess close to the answer, and a readout asks for a new text on
    // every row.
    QFont fitted = font;
    const int lastStep = static_cast<int>(std::ceil((largest - kSmallestFontPoints) / kFontShrinkStep));
    const auto sizeAt = [&](int step) { return std::max(largest - step * kFontShrinkStep, kSmallestFontPoints); };
    const auto fits = [&](int step) {
        fitted.setPointSizeF(sizeAt(step));
        return TextAdvance(fitted, text) <= room.width() && QFontMetricsF(fitted).height() <= room.height();
    };
    if (lastStep <= 0 || fits(0)) {
        return font;
    }
    fitted.setPointSizeF(largest);
    const double share = std::min(room.width() / std::max(TextAdvance(fitted, text), 1.0),
                                  room.height() / std::max(QFontMetricsF(fitted).height(), 1.0));
    int step = std::clamp(static_cast<int>(std::ceil(largest * (1.0 - std::max(share, 0.0)) / kFontShrinkStep)), 1,
                          lastStep);
    if (fits(step)) {
        while (step > 1 && fits(step - 1)) {
            --step;
        }
    } else {
        while (step < lastStep && !fits(step)) {
            ++step;
        }
    }
    fitted.setPointSizeF(sizeAt(step));
    return fitted;
}

void DrawFittedText(QPainter& painter, const QRectF& rect, int flags, const QString& text)
{
    if (TextAdvance(painter.font(), text) <= rect.width()) {
        DrawChartLabel(painter, rect, flags, text);
        return;
    }
    // Eliding a text of two characters or more into less room than the
    // ellipsis takes leaves nothing; a narrow readout would lay out every
    // new value only to learn that.
    if (text.size() >= 2 && rect.width() + kLayoutUnitSlack < EllipsisAdvance(painter.font())) {
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
