#include "DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace vexa {

namespace {

/// One axis of KeptOnScreen(): the near edge wins over the far one.
int KeptInside(int start, int length, int areaStart, int areaLength, int margin)
{
    const int farthest = areaStart + areaLength - margin - length;
    return std::max(std::min(start, farthest), areaStart + margin);
}

}  // namespace

QPoint CentredOver(const QRect& area, const QSize& size)
{
    return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2};
}

QPoint KeptOnScreen(const QPoint& topLeft, const QSize& size, const QRect& screen, int margin)
{
    return {KeptInside(topLeft.x(), size.width(), screen.left(), screen.width(), margin),
            KeptInside(topLeft.y(), size.height(), screen.top(), screen.height(), margin)};
}

QSize DecorationSize(const QWidget& widget)
{
    const int frame = widget.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &widget);
    const int caption = widget.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &widget);
    return QSize(2 * frame, 2 * frame + caption).expandedTo(widget.frameGeometry().size() - widget.size());
}

void CentreDialog(QWidget& dialog, const QWidget* owner)
{
    const QWidget* reference = owner != nullptr ? owner : &dialog;
    const QScreen* screen = reference->screen() != nullptr ? reference->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect workArea = screen->availableGeometry();
    const QSize outer = dialog.size() + DecorationSize(dialog);
    const QRect over = owner != nullptr ? owner->window()->frameGeometry() : workArea;
    dialog.move(KeptOnScreen(CentredOver(over, outer), outer, workArea, kDialogScreenMargin));
}

}  // namespace vexa
