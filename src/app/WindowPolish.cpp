#include "WindowPolish.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

namespace vexa::app {

namespace {

/// Title bar items beside the caption: the icon and the close, maximise and
/// minimise buttons, each about as wide as the bar is high.
constexpr int kTitleBarItems = 4;
/// Blank space the window manager keeps around the caption and the items.
constexpr int kTitleBarPadding = 8;
constexpr int kTitleBarEdges = 32;

}  // namespace

int CaptionWidthGuard::CaptionWidth(const QWidget& window)
{
    // Window managers draw captions in a bold face of about the program's size.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int item = metrics.height() + kTitleBarPadding;
    return metrics.horizontalAdvance(window.windowTitle()) + kTitleBarItems * item + kTitleBarEdges;
}

void CaptionWidthGuard::Widen(QDialog& dialog)
{
    const int wanted = CaptionWidth(dialog);
    const int extra = wanted - dialog.width();
    if (extra <= 0)
        return;
    // A dialog of fixed size (a message box) stays fixed, only wider.
    if (dialog.minimumWidth() == dialog.maximumWidth())
        dialog.setFixedWidth(wanted);
    else
        dialog.setMinimumWidth(wanted);
    dialog.resize(wanted, dialog.height());
    // A placed dialog widens about its middle, so that a centred one stays
    // centred.
    if (dialog.testAttribute(Qt::WA_Moved))
        dialog.move(dialog.pos() - QPoint(extra / 2, 0));
}

bool CaptionWidthGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && dialog->isWindow()) {
            Widen(*dialog);
            // A message box fixes its own size as it is shown, after this
            // filter has seen the event; it is widened again right after.
            if (qobject_cast<QMessageBox*>(dialog) != nullptr)
                QTimer::singleShot(0, dialog, [dialog] { Widen(*dialog); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void InstallWindowPolish(const QIcon& icon)
{
    QApplication::setWindowIcon(icon);
    auto* application = QApplication::instance();
    if (application->findChild<CaptionWidthGuard*>() == nullptr)
        application->installEventFilter(new CaptionWidthGuard(application));
}

}  // namespace vexa::app
