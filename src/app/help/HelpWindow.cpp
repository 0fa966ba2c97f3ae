#include "HelpWindow.h"

#include "HelpBrowser.h"
#include "HelpPopup.h"
#include "HelpTopics.h"
#include "platform/DialogPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vexa::app {

namespace {

/// The size of a new help window: room for the tables of the dialog pages.
constexpr int kDefaultWidth = 720;
constexpr int kDefaultHeight = 600;

/// Links to pages of our own; anything else belongs to the desktop.
constexpr const char* kPageScheme = "qrc";

QPointer<HelpWindow>& TheWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

QPointer<HelpPopup>& ThePopup()
{
    static QPointer<HelpPopup> popup;
    return popup;
}

HelpWindow& WindowFor(QWidget* owner)
{
    QPointer<HelpWindow>& window = TheWindow();
    if (window.isNull() || window->isClosed()) {
        // Owned by itself: it deletes itself when closed.
        window = new HelpWindow;
        CentreDialog(*window, owner);
    }
    return *window;
}

void ShowInWindow(QWidget* owner, const QUrl& page)
{
    HelpWindow& window = WindowFor(owner);
    window.attachToModal(QApplication::activeModalWidget());
    window.showPage(page);
    window.bringToFront();
}

}  // namespace

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Help open on its own must not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QString::fromLatin1(kCaption));

    m_back = new QPushButton(QStringLiteral("&Back"), this);
    m_back->setObjectName(QString::fromLatin1(kBackName));
    m_back->setEnabled(false);
    m_forward = new QPushButton(QStringLiteral("&Forward"), this);
    m_forward->setObjectName(QString::fromLatin1(kForwardName));
    m_forward->setEnabled(false);
    m_contents = new QPushButton(QStringLiteral("&Contents"), this);
    m_contents->setObjectName(QString::fromLatin1(kContentsName));

    m_browser = new HelpBrowser(this);
    // Links are followed here, so that only our own pages open inside.
    m_browser->setOpenLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this, [this] { showPage(HelpContentsUrl()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    resize(kDefaultWidth, kDefaultHeight);
}

void HelpWindow::showPage(const QUrl& page)
{
    m_browser->setSource(page);
}

QUrl HelpWindow::page() const
{
    return m_browser->source();
}

void HelpWindow::bringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HelpWindow::attachToModal(QWidget* dialog)
{
    if (dialog == this)
        dialog = nullptr;
    if (dialog == m_modalOwner)
        return;
    if (!m_modalOwner.isNull())
        m_modalOwner->removeEventFilter(this);

    // A new parent hides the window and may move it; the reader keeps it
    // where it was.
    const QRect placed = geometry();
    const bool shown = isVisible();
    m_modalOwner = dialog;
    setParent(dialog, windowFlags());
    setGeometry(placed);
    if (dialog != nullptr)
        dialog->installEventFilter(this);
    if (shown)
        show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Leave the dialog before it goes, and with it its children. A dialog
    // that was itself opened over another modal one hands the window on.
    if (watched == m_modalOwner && event->type() == QEvent::Hide && !event->spontaneous()) {
        QWidget* next = QApplication::activeModalWidget();
        attachToModal(next != watched ? next : nullptr);
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_closed = true;
}

void HelpWindow::followLink(const QUrl& link)
{
    const QUrl target = m_browser->source().resolved(link);
    if (target.scheme() == QLatin1String(kPageScheme))
        showPage(target);
    else
        QDesktopServices::openUrl(target);
}

void ShowHelpContents(QWidget* owner)
{
    ShowInWindow(owner, HelpContentsUrl());
}

void ShowHelpTopic(QWidget* owner, int topic)
{
    ShowInWindow(owner, HelpTopicUrl(topic));
}

void ShowHelpPopup(QWidget* owner, int topic)
{
    QPointer<HelpPopup>& popup = ThePopup();
    if (!popup.isNull())
        popup->close();
    // Owned by the owner where there is one, and by itself: it deletes
    // itself when closed.
    popup = new HelpPopup(owner, HelpTopicUrl(topic));
    popup->show();
    popup->setFocus();
}

void QuitHelp()
{
    if (QPointer<HelpPopup>& popup = ThePopup(); !popup.isNull()) {
        popup->close();
        popup = nullptr;
    }
    if (QPointer<HelpWindow>& window = TheWindow(); !window.isNull()) {
        window->close();
        window = nullptr;
    }
}

HelpWindow* CurrentHelpWindow()
{
    HelpWindow* window = TheWindow();
    return window != nullptr && !window->isClosed() ? window : nullptr;
}

HelpPopup* CurrentHelpPopup()
{
    HelpPopup* popup = ThePopup();
    return popup != nullptr && popup->isVisible() ? popup : nullptr;
}

}  // namespace vexa::app
