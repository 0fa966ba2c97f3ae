#include "server/LogEntryDelegate.h"

#include <QFontMetrics>

#include <algorithm>

namespace vexa::server {

LogEntryDelegate::LogEntryDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QString LogEntryDelegate::ExpandTabs(const QString& text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString expanded;
    expanded.reserve(text.size() + kTabColumns);
    for (const QChar character : text) {
        if (character == QLatin1Char('\t')) {
            const qsizetype blanks = kTabColumns - expanded.size() % kTabColumns;
            expanded.append(QString(blanks, QLatin1Char(' ')));
        } else {
            expanded.append(character);
        }
    }
    return expanded;
}

void LogEntryDelegate::noteEntry(const QString& text, const QFontMetrics& metrics)
{
    m_widest = std::max(m_widest, metrics.horizontalAdvance(ExpandTabs(text)));
}

QSize LogEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize own = QStyledItemDelegate::sizeHint(option, index);
    // The item's own hint already holds the style's margins around its text.
    const int margins = own.width() - option.fontMetrics.horizontalAdvance(ExpandTabs(index.data().toString()));
    return {std::max(own.width(), m_widest + std::max(margins, 0)), own.height()};
}

void LogEntryDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = ExpandTabs(option->text);
}

}  // namespace vexa::server
