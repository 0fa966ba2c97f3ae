#include "server/LogList.h"

#include "server/LogEntryDelegate.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace vexa::server {

LogList::LogList(QWidget* parent)
    : QListWidget(parent),
      m_delegate(new LogEntryDelegate(this))
{
    setObjectName(QString::fromLatin1(kObjectName));
    setItemDelegate(m_delegate);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_scroll.setSingleShot(true);
    m_scroll.setInterval(0);
    connect(&m_scroll, &QTimer::timeout, this, &LogList::ScrollToLastEntry);
}

void LogList::LogLine(const QString& text)
{
    const QStringList pieces = text.split(QLatin1Char('\n'));
    for (const QString& piece : pieces)
        AppendEntry(piece);
    // Scrolling lays the whole list out; one scroll covers all lines logged
    // before the event loop runs again.
    if (!m_scroll.isActive())
        m_scroll.start();
}

void LogList::ScrollToLastEntry()
{
    if (count() > 0)
        scrollToItem(item(count() - 1), QAbstractItemView::PositionAtTop);
}

void LogList::AppendEntry(const QString& piece)
{
    if (count() >= kMaxEntries)
        clearLog();
    m_delegate->noteEntry(piece, QFontMetrics(font()));
    addItem(piece);
    if (m_copy.isOpen()) {
        m_copy.write(piece.toUtf8() + '\n');
        m_copy.flush();
    }
}

bool LogList::copyTo(const QString& path)
{
    m_copy.close();
    m_copy.setFileName(path);
    return m_copy.open(QIODevice::WriteOnly | QIODevice::Append);
}

void LogList::clearLog()
{
    clear();
    m_delegate->resetWidth();
}

QStringList LogList::entries() const
{
    QStringList result;
    result.reserve(count());
    for (int row = 0; row < count(); ++row)
        result.append(item(row)->text());
    return result;
}

int LogList::topVisibleEntry() const
{
    const QListWidgetItem* top = itemAt(viewport()->rect().topLeft());
    return top != nullptr ? row(top) : -1;
}

}  // namespace vexa::server
