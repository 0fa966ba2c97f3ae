#pragma once

#include <QPointF>
#include <QRectF>

namespace vexa::toolkit {

/// The rubber band of a drag zoom: where the drag started and where the
/// mouse is now. A drag smaller than a few pixels either way is taken for a
/// click and zooms nothing.
class DragZoom {
public:
    /// The smallest drag, in pixels both ways, that zooms.
    static constexpr double kMinDragPixels = 4.0;

    explicit DragZoom(Qt::MouseButton button);

    Qt::MouseButton button() const;
    void start(const QPointF& position);
    void move(const QPointF& position);
    /// Ends the drag: true, with the dragged rectangle in \p dragged, when
    /// it is large enough to zoom to.
    bool finish(const QPointF& position, QRectF& dragged);
    void cancel();
    bool isDragging() const;
    /// The rectangle dragged so far.
    QRectF band() const;

private:
    Qt::MouseButton m_button;
    bool m_dragging = false;
    QPointF m_start;
    QPointF m_current;
};

}  // namespace vexa::toolkit
