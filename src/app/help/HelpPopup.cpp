#include "HelpPopup.h"

#include "HelpBrowser.h"
#include "platform/DialogPlacement.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vexa::app {

namespace {

/// The line around the pop-up, and the room between it and the page.
constexpr int kBorderWidth = 1;
constexpr int kPadding = 2;

}  // namespace

HelpPopup::HelpPopup(QWidget* owner, const QUrl& page) : QFrame(owner, Qt::Popup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kBorderWidth);

    // The tool-tip colours mark it as a note about the dialog beneath, not a
    // window of its own.
    QPalette colours = palette();
    for (const QPalette::ColorRole background : {QPalette::Window, QPalette::Base})
        colours.setColor(background, colours.color(QPalette::ToolTipBase));
    for (const QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text})
        colours.setColor(text, colours.color(QPalette::ToolTipText));
    setPalette(colours);

    m_browser = new HelpBrowser(this);
    m_browser->setFrameStyle(QFrame::NoFrame);
    m_browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click anywhere closes the pop-up, so its page does not follow links.
    m_browser->setOpenLinks(false);
    m_browser->setSource(page);
    m_browser->installEventFilter(this);
    m_browser->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->addWidget(m_browser);

    fitToPage();
    placeOver(owner);
    setFocusProxy(m_browser);
}

void HelpPopup::fitToPage()
{
    // Measured on a copy: the browser lays its own document out to the width
    // it has now, not to the width it is about to get. A page taller than
    // kMaxHeight scrolls.
    const int edge = kBorderWidth + kPadding;
    const std::unique_ptr<QTextDocument> measured(m_browser->document()->clone());
    measured->setTextWidth(kWidth - 2 * edge);
    const int height = static_cast<int>(std::ceil(measured->size().height())) + 2 * edge;
    setFixedSize(kWidth, std::min(height, kMaxHeight));
}

void HelpPopup::placeOver(const QWidget* owner)
{
    const QScreen* screen = owner != nullptr && owner->screen() != nullptr ? owner->screen()
                                                                            : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect workArea = screen->availableGeometry();
    const QRect over = owner != nullptr ? owner->window()->frameGeometry() : workArea;
    move(KeptOnScreen(CentredOver(over, size()), size(), workArea, kDialogScreenMargin));
}

bool HelpPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_browser->viewport() && event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    if (watched == m_browser && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void HelpPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

void HelpPopup::mousePressEvent(QMouseEvent* event)
{
    // Presses outside the pop-up also arrive here while it is up; either way
    // the pop-up has been read.
    close();
    event->accept();
}

}  // namespace vexa::app
