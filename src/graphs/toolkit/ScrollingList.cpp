#include "graphs/toolkit/ScrollingList.h"

#include "graphs/toolkit/ScrollingLineDelegate.h"

#include <QEvent>
#include <QFontMetricsF>

#include <algorithm>

namespace vexa::toolkit {

namespace {

constexpr int kHeaderLine = 0;
constexpr int kNewestDataLine = 1;
constexpr QChar kDigit = QLatin1Char('0');

}  // namespace

ScrollingList::ScrollingList(QWidget* parent) : QListWidget(parent), m_delegate(new ScrollingLineDelegate(this))
{
    setObjectName(QString::fromLatin1(kObjectName));
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one text line high; the header, as wide as the columns,
    // gives the width.
    setUniformItemSizes(true);
    // The view makes a line current when it gains the focus or is clicked;
    // a current line shows like a selected one in some styles, so none stays.
    connect(this, &QListWidget::currentRowChanged, this, &ScrollingList::dropCurrentRow);
}

void ScrollingList::setTabStops(const std::vector<int>& dialogUnits)
{
    m_tabStops = dialogUnits;
    updateTabPixels();
}

qreal ScrollingList::dialogUnitPixels() const
{
    // The lines are mostly digits, which in a proportional face are wider
    // than its average character: measured by the average alone, the time
    // of day would run past the first stop and push every value of its line
    // one column right of its name.
    const QFontMetricsF metrics(font());
    return std::max(metrics.averageCharWidth(), metrics.horizontalAdvance(kDigit)) / kDialogUnitsPerCharacter;
}

QList<qreal> ScrollingList::tabStopPixels() const
{
    const qreal perUnit = dialogUnitPixels();
    QList<qreal> pixels;
    pixels.reserve(static_cast<qsizetype>(m_tabStops.size()));
    for (const int stop : m_tabStops)
        pixels.append(stop * perUnit);
    return pixels;
}

void ScrollingList::setColours(const QColor& text, const QColor& background)
{
    QPalette colours = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::WindowText, text);
        colours.setColor(group, QPalette::Base, background);
        colours.setColor(group, QPalette::AlternateBase, background);
    }
    setPalette(colours);
}

void ScrollingList::addLine(const QString& header, const QString& line)
{
    if (count() > kHeaderLine)
        item(kHeaderLine)->setText(header);
    else
        insertItem(kHeaderLine, header);
    insertItem(kNewestDataLine, line);
    // The model deletes the items it removes.
    const int excess = count() - (kMaxDataLines + kNewestDataLine);
    if (excess > 0)
        model()->removeRows(kMaxDataLines + kNewestDataLine, excess);
}

QStringList ScrollingList::lines() const
{
    QStringList texts;
    texts.reserve(count());
    for (int row = 0; row < count(); ++row)
        texts.append(item(row)->text());
    return texts;
}

void ScrollingList::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateTabPixels();
}

void ScrollingList::dropCurrentRow(int row)
{
    if (row >= 0)
        setCurrentRow(-1);
}

void ScrollingList::updateTabPixels()
{
    m_delegate->setTabStops(tabStopPixels());
    // The lines' widths depend on the stops.
    doItemsLayout();
    viewport()->update();
}

}  // namespace vexa::toolkit
