#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QCloseEvent;
class QEvent;
class QPushButton;
class QTextBrowser;

namespace vexa::app {

class HelpPopup;

/// The program's help window: one page at a time in a browser, with Back,
/// Forward and Contents. There is one per program, made by the Show… functions
/// below on first use and reused after; it deletes itself when closed.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "VEXA Display Help";
    /// Object names of the three buttons.
    static constexpr const char* kBackName = "back";
    static constexpr const char* kForwardName = "forward";
    static constexpr const char* kContentsName = "contents";

    HelpWindow();

    /// Shows \p page and adds it to the Back history.
    void showPage(const QUrl& page);
    /// Shows the window, restored if minimised, in front of the others.
    void bringToFront();

    /// A modal dialog blocks every window that is not its own, and help asked
    /// for from inside one must still scroll and follow links. So while a
    /// modal dialog is up the window belongs to it, and it returns to the
    /// program when that dialog goes. \p dialog is the modal dialog now up,
    /// or nullptr.
    void attachToModal(QWidget* dialog);

    QTextBrowser* browser() const { return m_browser; }
    /// The page shown now.
    QUrl page() const;

    /// True once the window has been closed; it is then on its way out and
    /// a new help request makes a new window.
    bool isClosed() const { return m_closed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void followLink(const QUrl& link);

    QTextBrowser* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_contents = nullptr;
    QPointer<QWidget> m_modalOwner;
    bool m_closed = false;
};

/// Help > Index: the help window on its contents page.
void ShowHelpContents(QWidget* owner);

/// The help window on \p topic's page (the contents for an unknown number),
/// brought to the front.
void ShowHelpTopic(QWidget* owner, int topic);

/// \p topic's page in a small pop-up over \p owner, closed by a click or by
/// Escape. A pop-up already up is closed first.
void ShowHelpPopup(QWidget* owner, int topic);

/// At the end of the program: closes the help window and any pop-up.
void QuitHelp();

/// The help window, or nullptr when none is open.
HelpWindow* CurrentHelpWindow();

/// The pop-up that is up, or nullptr.
HelpPopup* CurrentHelpPopup();

}  // namespace vexa::app
