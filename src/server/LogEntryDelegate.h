#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

namespace vexa::server {

/// Draws the log's entries with their tabs expanded to fixed tab stops, so
/// that the columns of the listings line up in the log's fixed-pitch font.
///
/// Every entry is reported as wide as the widest one logged so far: the log
/// lays its entries out with one size for all (which keeps a long log cheap),
/// and that size must reach the longest line for the horizontal scroll bar
/// to cover it.
class LogEntryDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    /// Columns from one tab stop to the next.
    static constexpr int kTabColumns = 8;

    explicit LogEntryDelegate(QObject* parent = nullptr);

    /// \p text with every tab replaced by the blanks up to the next tab stop.
    static QString ExpandTabs(const QString& text);

    /// Widens the reported size to \p text, shown in \p metrics, if it is the
    /// widest entry yet.
    void noteEntry(const QString& text, const QFontMetrics& metrics);
    /// Forgets the widest entry (the log was emptied).
    void resetWidth() { m_widest = 0; }
    int widestEntry() const { return m_widest; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    int m_widest = 0;
};

}  // namespace vexa::server
