#pragma once

#include <QColor>
#include <QList>
#include <QListWidget>
#include <QStringList>

#include <vector>

namespace vexa::toolkit {

class ScrollingLineDelegate;

/// The list window of a scrolling table: a header line, then up to 200
/// data lines with the newest first, in columns at tab stops given in
/// dialog units. Nothing in it can be selected; the list is for reading.
class ScrollingList : public QListWidget {
    Q_OBJECT

public:
    /// The list's identifier, used as its object name.
    static constexpr const char* kObjectName = "205";
    static constexpr int kMaxDataLines = 200;
    /// A dialog unit across is a quarter of a character of the list's font.
    static constexpr int kDialogUnitsPerCharacter = 4;

    explicit ScrollingList(QWidget* parent = nullptr);

    /// The tab stops in dialog units, ascending.
    void setTabStops(const std::vector<int>& dialogUnits);
    const std::vector<int>& tabStops() const { return m_tabStops; }
    /// The tab stops in pixels of the list's font.
    QList<qreal> tabStopPixels() const;
    /// The width of a dialog unit across, in pixels of the list's font.
    qreal dialogUnitPixels() const;

    /// The colours of the lines' text and of the list's background.
    void setColours(const QColor& text, const QColor& background);

    /// Makes \p header line 0 and \p line the first data line; the oldest
    /// data line goes when there would be more than kMaxDataLines.
    void addLine(const QString& header, const QString& line);
    /// Every line, the header first.
    QStringList lines() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void dropCurrentRow(int row);
    void updateTabPixels();

    ScrollingLineDelegate* m_delegate;
    std::vector<int> m_tabStops;
};

}  // namespace vexa::toolkit
