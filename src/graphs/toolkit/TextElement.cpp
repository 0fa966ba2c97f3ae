#include "graphs/toolkit/TextElement.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"

#include <QFontMetricsF>
#include <QPainter>

namespace vexa::toolkit {

namespace {

constexpr double kEdgeMargin = 2.0;

}  // namespace

TextElement::TextElement(ChartWindow& chart, const QString& text, const ChartPoint& anchor,
                         Justification justification, const QFont& font, const QColor& colour)
    : ChartElement(chart)
    , m_text(text)
    , m_anchor(anchor)
    , m_justification(justification)
    , m_font(font)
    , m_colour(colour)
{
}

const QString& TextElement::text() const
{
    return m_text;
}

const QFont& TextElement::font() const
{
    return m_font;
}

const QColor& TextElement::colour() const
{
    return m_colour;
}

void TextElement::setColour(const QColor& colour)
{
    m_colour = colour;
}

QFont TextElement::fittedFont() const
{
    const QSizeF room(chart().width() - 2 * kEdgeMargin, chart().height());
    return FittedFont(m_font, m_text, room);
}

QRectF TextElement::pixelRect() const
{
    const QFontMetricsF metrics(fittedFont());
    const QSizeF size(metrics.horizontalAdvance(m_text), metrics.height());
    const QSizeF chartSize(chart().size());
    const QPointF anchor(m_anchor.x * chartSize.width(), m_anchor.y * chartSize.height());
    return AnchoredTextRect(size, anchor, m_justification, QRectF(QPointF(0, 0), chartSize));
}

void TextElement::paint(QPainter& painter)
{
    painter.setFont(fittedFont());
    painter.setPen(m_colour);
    const QRectF rect = pixelRect();
    DrawFittedText(painter, rect, Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

void TextElement::setFont(const QFont& font)
{
    m_font = font;
}

}  // namespace vexa::toolkit
