#include "WindowPolish.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace vexa::app {

namespace {

/// Title bar items beside the caption: the icon and the close, maximise and
/// minimise buttons, each about as wide as the bar is high.
constexpr int kTitleBarItems = 4;
/// Blank space the window manager keeps around the caption and the items.
constexpr int kTitleBarPadding = 8;
constexpr int kTitleBarEdges = 32;
/// Marks a message box that has its room for the caption.
constexpr const char* kWidenedProperty = "vexaCaptionRoom";

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

void CaptionWidthGuard::WidenMessageBox(QMessageBox& box)
{
    // A message box sets its own fixed size from its layout as it is shown
    // (after this filter has seen the event), and again whenever its layout
    // changes; so the room goes into the layout, as a blank row as wide as
    // the caption needs.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr || box.property(kWidenedProperty).toBool())
        return;
    box.setProperty(kWidenedProperty, true);
    const QMargins margins = grid->contentsMargins();
    const int room = CaptionWidth(box) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

bool CaptionWidthGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && dialog->isWindow()) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                WidenMessageBox(*box);
            else
                Widen(*dialog);
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
