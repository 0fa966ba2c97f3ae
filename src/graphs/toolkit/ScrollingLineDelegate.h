#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QStaticText>
#include <QStyledItemDelegate>

#include <vector>

namespace vexa::toolkit {

/// Draws the lines of a scrolling table with their tabs at the list's tab
/// stops, so that the time and every measurement stand in columns (the
/// list's own drawing knows no tab stops), and never as selected or focused:
/// the table's lines are for reading only.
class ScrollingLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ScrollingLineDelegate(QObject* parent = nullptr);

    /// The tab stops in pixels from the start of a line's text, ascending.
    void setTabStops(const QList<qreal>& pixels);
    const QList<qreal>& tabStops() const { return m_tabStops; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    /// A line laid out once: its pieces between tabs, each with where it
    /// starts from the line's left.
    struct LaidOutLine {
        std::vector<QStaticText> pieces;
        std::vector<qreal> offsets;
    };

    /// Room left and right of a line's text.
    int textMargin(const QStyleOptionViewItem& option) const;
    /// \p text laid out in \p font at the tab stops, from the cache when it
    /// was laid out before in that font.
    const LaidOutLine& laidOut(const QString& text, const QFont& font) const;

    QList<qreal> m_tabStops;
    /// Every paint of the list draws the same few dozen lines again, so
    /// their layouts are kept; the cache starts afresh when it has grown
    /// well past the lines a list holds, or the font or stops change.
    mutable QHash<QString, LaidOutLine> m_layouts;
    mutable QFont m_layoutFont;
    mutable qreal m_lineHeight = 0.0;
};

}  // namespace vexa::toolkit
