#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/ChartGeometry.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace vexa::toolkit {

/// A text at a point of the chart window (in fractions of it): its bottom
/// at the point's height, centred on it or starting at it, and kept inside
/// the window (in a smaller size when the window is too narrow for it).
class TextElement : public ChartElement {
public:
    TextElement(ChartWindow& chart, const QString& text, const ChartPoint& anchor, Justification justification,
                const QFont& font, const QColor& colour);

    const QString& text() const;
    const QFont& font() const;
    void setFont(const QFont& font);
    const QColor& colour() const;
    void setColour(const QColor& colour);
    /// Where the text is drawn, in pixels of the chart window.
    QRectF pixelRect() const;

    void paint(QPainter& painter) override;
    bool isSteady() const override { return true; }

private:
    /// The font made smaller where the window is too narrow for the text.
    QFont fittedFont() const;

    QString m_text;
    ChartPoint m_anchor;
    Justification m_justification;
    QFont m_font;
    QColor m_colour;
};

}  // namespace vexa::toolkit
