#pragma once

#include <QFrame>
#include <QUrl>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QTextBrowser;

namespace vexa::app {

/// A small borderless window that shows one short help page over the dialog
/// that asked for it, and goes away at the next click or at Escape. Built by
/// ShowHelpPopup(); it deletes itself when it closes.
class HelpPopup : public QFrame {
    Q_OBJECT

public:
    /// The pop-up's width, and the height beyond which its page scrolls.
    static constexpr int kWidth = 380;
    static constexpr int kMaxHeight = 420;

    /// A pop-up showing \p page, placed over \p owner's window (over the
    /// screen without an owner). Not yet shown.
    HelpPopup(QWidget* owner, const QUrl& page);

    QTextBrowser* browser() const { return m_browser; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fitToPage();
    void placeOver(const QWidget* owner);

    QTextBrowser* m_browser = nullptr;
};

}  // namespace vexa::app
