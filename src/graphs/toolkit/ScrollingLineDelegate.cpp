#include "graphs/toolkit/ScrollingLineDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vexa::toolkit {

namespace {

/// Far more lines than a list holds (a header and 200 data lines).
constexpr qsizetype kMostKeptLayouts = 1024;
/// Past the last stop a tab moves on by this many average characters.
constexpr int kCharactersPerDefaultTab = 8;

}  // namespace

ScrollingLineDelegate::ScrollingLineDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void ScrollingLineDelegate::setTabStops(const QList<qreal>& pixels)
{
    m_tabStops = pixels;
    m_layouts.clear();
}

const ScrollingLineDelegate::LaidOutLine& ScrollingLineDelegate::laidOut(const QString& text, const QFont& font) const
{
    if (m_lineHeight <= 0.0 || font != m_layoutFont || m_layouts.size() > kMostKeptLayouts) {
        m_layouts.clear();
        m_layoutFont = font;
        m_lineHeight = QFontMetricsF(font).height();
    }
    auto found = m_layouts.constFind(text);
    if (found != m_layouts.constEnd())
        return *found;

    // Each tab moves the text on to the first stop past where it has got to,
    // as the list's own tab expansion would.
    const QFontMetricsF metrics(font);
    const qreal defaultTab = kCharactersPerDefaultTab * metrics.averageCharWidth();
    LaidOutLine line;
    qreal x = 0.0;
    const QStringList pieces = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            const auto stop = std::find_if(m_tabStops.begin(), m_tabStops.end(), [x](qreal s) { return s > x; });
            x = stop != m_tabStops.end() ? *stop : (std::floor(x / defaultTab) + 1) * defaultTab;
        }
        QStaticText piece(pieces[i]);
        piece.setTextFormat(Qt::PlainText);
        piece.prepare(QTransform(), font);
        line.pieces.push_back(piece);
        line.offsets.push_back(x);
        x += metrics.horizontalAdvance(pieces[i]);
    }
    return *m_layouts.insert(text, std::move(line));
}

int ScrollingLineDelegate::textMargin(const QStyleOptionViewItem& option) const
{
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    // As the style itself sets an item's text off its edges.
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

void ScrollingLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    // A line has no selection, focus or hover to show, so nothing is drawn
    // under its text but the list's own background.
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    const LaidOutLine& line = laidOut(text, option.font);
    const int margin = textMargin(option);
    const QPointF origin(option.rect.left() + margin,
                         option.rect.top() + (option.rect.height() - m_lineHeight) / 2.0);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    for (std::size_t i = 0; i < line.pieces.size(); ++i)
        painter->drawStaticText(origin + QPointF(line.offsets[i], 0.0), line.pieces[i]);
}

QSize ScrollingLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QSize own = QStyledItemDelegate::sizeHint(option, index);
    // The font metrics measure with a 0-terminated array of whole pixels.
    std::vector<int> stops;
    stops.reserve(static_cast<std::size_t>(m_tabStops.size()) + 1);
    for (const qreal stop : m_tabStops)
        stops.push_back(static_cast<int>(std::lround(stop)));
    stops.push_back(0);
    const QSize text = item.fontMetrics.size(Qt::TextSingleLine | Qt::TextExpandTabs, item.text, 0, stops.data());
    return {text.width() + 2 * textMargin(item), own.height()};
}

}  // namespace vexa::toolkit
