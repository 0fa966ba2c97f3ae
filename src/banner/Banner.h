#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QTimer>

class QPaintEvent;
class QPushButton;
class QWidget;

namespace vexa {

/// What one banner shows, and for how long.
struct BannerRequest {
    QWidget* owner = nullptr;   ///< the window the banner belongs to, or none
    QIcon icon;                 ///< drawn beside the title; a null icon takes no room
    QString bitmap;             ///< resource path of a picture under the title; empty for none
    QString title;
    QString firstText;          ///< the banner appends its contact lines to it
    QString secondText;
    int timeoutMs = 0;          ///< > 0: modeless, closes itself; 0: modal
};

/// Shows the banner: modeless with a time-out, modal (exec) without. At most
/// one banner is up at a time: a request while one is up is ignored and
/// returns false. Otherwise returns whether a banner is now up; for the modal
/// form, which returns only once the banner has closed, whether one was shown.
bool ShowBanner(const BannerRequest& request);

/// Destroys a modeless banner or ends a modal one; nothing when none is up.
/// The banner's OK button, its time-out and the owner's close request all end
/// the banner through here.
void CloseBanner();

/// True while a banner is up.
bool IsBannerUp();

/// The maker's contact lines, which the banner appends to its first text.
QString BannerContactLines();

/// The banner window: title, optional icon and picture, two texts and an OK
/// button, in an engraved frame. Built and shown by ShowBanner(); use that
/// rather than this class, which exists for the window's own behaviour.
class Banner : public QDialog {
    Q_OBJECT

public:
    /// The object name of the OK button.
    static constexpr const char* kOkButtonName = "100";

    /// Where each part goes, in client-area pixels.
    struct Layout {
        QSize content;      ///< the room the title row, picture and texts need together
        QSize window;       ///< the whole window, frame and caption included
        QSize client;       ///< the client area
        QRect icon;         ///< empty without an icon
        QRect title;
        QRect bitmap;       ///< empty without a picture
        QRect firstText;
        QRect secondText;
        QRect frame;        ///< the grey outline; the white one lies one pixel down and right
        QRect okButton;
        QRect creditGap;    ///< the gap in the frame's bottom edge; empty with a time-out
    };

    explicit Banner(const BannerRequest& request);

    const Layout& bannerLayout() const { return m_layout; }
    /// The first text as shown: the caller's text, a line end, the contact lines.
    const QString& firstText() const { return m_firstText; }
    const QFont& titleFont() const { return m_titleFont; }
    bool isTimed() const { return m_timeoutMs > 0; }

    /// Ends the banner (stops its time-out first) and forgets it as the banner
    /// that is up.
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void computeLayout();
    void placeOnScreen();

    QIcon m_icon;
    QPixmap m_bitmap;
    QString m_title;
    QString m_firstText;
    QString m_secondText;
    int m_timeoutMs = 0;
    QFont m_titleFont;
    Layout m_layout;
    QTimer m_timer;
    QPushButton* m_okButton = nullptr;
};

}  // namespace vexa
