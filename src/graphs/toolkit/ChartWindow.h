#pragma once

#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/PlotFrame.h"
#include "graphs/toolkit/Toolkit.h"

#include <QFont>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QMenu;
class QPushButton;

namespace vexa::toolkit {

class AlarmIndicator;
class Axis;
class ChartElement;
class ChartPage;
class DragZoom;
class ScrollingPlot;

/// A drawing area of a page with its own scale and elements. Its chart
/// builder runs once, before the first paint; the elements it creates paint
/// on every paint after.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartPage& page() const;
    /// The window that owns the chart's page: how a button handler finds its
    /// graph.
    QWidget* pageOwner() const;
    /// Runs the chart builder unless it has run.
    void build();
    bool isReady() const;
    // (the rest is the implementation's)

    ChartWindow(ChartPage& page, ChartBuilder builder, const ChartRect& rect, PaletteIndex background);
    ~ChartWindow() override;

    /// Where the chart sits on its page, in fractions of the page.
    const ChartRect& pageRect() const;
    /// The drawing state handed to the builder; later operations without a
    /// context argument (push buttons) take the font from it.
    ChartContext& context();
    PlotFrame& plotFrame();
    const PlotFrame& plotFrame() const;
    QColor backgroundColour() const;
    PaletteIndex background() const;
    /// A new background restyles the chart.
    void setBackground(PaletteIndex background);

    /// Takes ownership of \p element; it paints after the ones before it.
    template <typename Element, typename... Args>
    Element* addElement(Args&&... args)
    {
        auto element = std::make_unique<Element>(*this, std::forward<Args>(args)...);
        Element* raw = element.get();
        adoptElement(std::move(element));
        return raw;
    }
    void registerAxis(Axis* axis);
    void registerScrollingPlot(ScrollingPlot* plot);
    void registerAlarmIndicator(AlarmIndicator* indicator);
    /// The chart's elements that are \p Element (or derive from it), in the
    /// order they were created: how tests and renderers find an indicator.
    template <typename Element>
    std::vector<Element*> elementsOf() const
    {
        std::vector<Element*> found;
        for (const auto& element : m_elements) {
            if (auto* typed = dynamic_cast<Element*>(element.get()))
                found.push_back(typed);
        }
        return found;
    }
    /// The chart's first scrolling plot, or null.
    ScrollingPlot* scrollingPlot() const;
    const std::vector<AlarmIndicator*>& alarmIndicators() const;

    /// A button at \p rect of the chart, kept there when the chart resizes.
    void addButton(QPushButton* button, const ChartRect& rect);
    /// Dragging with \p button rescales the plot to the dragged rectangle.
    void enableDragZoom(Qt::MouseButton button);
    /// Rescales both axes to the plot pixels of \p pixels (ignored when it
    /// lies outside the plot).
    void zoomTo(const QRectF& pixels);
    /// Adds an item to the menu that a right click on the chart opens (a
    /// click, not a drag: a right-button drag zoom keeps working).
    void addContextAction(const QString& text, std::function<void()> handler);
    /// That menu; null while it has no item.
    QMenu* contextMenu() const;

    /// Paints the chart (background, every element, a drag in progress),
    /// each element drawn directly: what printers, vector files and
    /// rendered images get.
    void paintChart(QPainter& painter);
    /// A row came: schedules a repaint of what rows change, which leaves
    /// out the chart's buttons (no row changes them).
    void updateRows();
    /// Paints so far: lets tests see that appending a row does not paint.
    int paintCount() const;
    /// Something steady changed (a scale, a text, a colour, a new element):
    /// the backdrop is drawn anew at the next paint on screen, which is
    /// scheduled.
    void restyle();
    /// How often the backdrop of steady elements has been drawn: once per
    /// size and style, not once per row.
    int backdropPaints() const;

    /// The chart is going (destroyed or released): it paints nothing bound
    /// to data any more and reads as not ready.
    void markClosing();
    bool isClosing() const;
    /// Keeps the chart's current size however the page changes (the Fixed
    /// characteristic), or follows the page again with an empty size.
    void setKeptSize(const QSize& size);
    const QSize& keptSize() const;
    /// The aspect ratio the chart keeps under the Isotropic characteristic:
    /// 0 until first laid out.
    double keptAspect() const;
    void setKeptAspect(double aspect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    /// Which elements a paint draws.
    enum class Layer { All, Backdrop, Front };

    void showContextMenu(const QPoint& position);
    bool rightButtonZooms() const;
    void adoptElement(std::unique_ptr<ChartElement> element);
    /// Marks the elements drawn in the backdrop: the steady ones before the
    /// first that is not, and the steady ones that stand apart. Drawing them
    /// first changes nothing in the picture.
    void sortIntoLayers();
    void paintElements(QPainter& painter, Layer layer);
    void paintDragBand(QPainter& painter);
    /// On screen: the steady elements come from the backdrop, drawn again
    /// only when the size or style changed; only \p dirty is copied out.
    void paintOnScreen(QPainter& painter, const QRegion& dirty);
    void refreshBackdrop();
    void layoutButtons();
    void requestBuild();

    ChartPage* m_page = nullptr;
    ChartBuilder m_builder;
    ChartRect m_pageRect;
    PaletteIndex m_background = palette::kBlack;
    bool m_ready = false;
    bool m_building = false;
    bool m_closing = false;
    int m_paintCount = 0;
    ChartContext m_context;
    PlotFrame m_frame;
    std::vector<std::unique_ptr<ChartElement>> m_elements;
    std::vector<Axis*> m_axes;
    std::vector<ScrollingPlot*> m_scrollingPlots;
    std::vector<AlarmIndicator*> m_alarmIndicators;
    struct PlacedButton {
        QPushButton* button;
        ChartRect rect;
        QFont font;  ///< as created; smaller while the button is too small for it
    };
    std::vector<PlacedButton> m_buttons;
    /// The window less its buttons: what updateRows() repaints.
    QRegion m_rowsRegion;
    std::unique_ptr<DragZoom> m_dragZoom;
    std::vector<bool> m_inBackdrop;  ///< one per element
    QPixmap m_backdrop;
    QPixmap m_composed;  ///< the backdrop with the changing elements over it
    bool m_backdropStale = true;
    int m_backdropPaints = 0;
    QMenu* m_contextMenu = nullptr;
    QSize m_keptSize;
    double m_keptAspect = 0.0;
};

}  // namespace vexa::toolkit
