#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/Palette.h"

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QImage;
class QPainter;
class QWidget;

/// The drawing layer every graph window draws with: chart pages that fill a
/// window, chart windows inside them whose builders create the chart's
/// elements once, and real-time datasets whose rows the elements show.
///
/// Handles are pointers. Pages and chart windows are widgets owned by their
/// owner window; callers keep them in QPointer, so that a page the user
/// closed reads as gone. Elements (axes, texts, plots, readouts, ...) belong
/// to the chart window that created them. Datasets belong to whoever created
/// them and must outlive the chart windows that show them.
namespace vexa::toolkit {

class ChartPage;
class ChartWindow;
class ChartContext;

/// Runs once, with the page, before the page is first shown.
using PageBuilder = std::function<void(ChartPage& page)>;
/// Runs once, with the chart window and its drawing context, before the
/// chart window is first painted. Everything it creates stays on the chart.
using ChartBuilder = std::function<void(ChartWindow& chart, ChartContext& context)>;

/// Page style: a child page fills its owner window; a top-level page is a
/// window of its own (the history window), closed with its owner.
enum class PageStyle { Child, TopLevel };

/// How a page's chart windows follow its size when its window is resized.
enum class WindowCharacteristic {
    Fixed,         ///< a chart keeps the size it was built at, clipped or with a margin
    Proportional,  ///< a chart stretches with the window
    Isotropic,     ///< a chart keeps its first aspect ratio, centred
};

/// Creates a page whose charts follow its size as \p characteristic says.
/// Null on failure.
ChartPage* CreateChartPage(const QString& name, QWidget* owner, const QString& title, PageBuilder builder,
                           WindowCharacteristic characteristic, PageStyle style, const QRect& geometry = {});
/// Creates a chart window on \p page covering \p rect of it, on background
/// colour \p background.
ChartWindow* CreateChartWindow(ChartPage& page, ChartBuilder builder, const ChartRect& rect, PaletteIndex background);
/// The page's widget (to resize it with its window).
QWidget* GetPageWindow(ChartPage* page);
/// True while the page exists.
bool PageExists(const QPointer<ChartPage>& page);
/// True once the chart window's builder has run.
bool ChartReady(const QPointer<ChartWindow>& chart);
void DestroyChartPage(QPointer<ChartPage>& page);
void DestroyChartWindow(QPointer<ChartWindow>& chart);
/// Lets go of a chart window whose page goes with its owner window.
void ReleaseChartWindow(QPointer<ChartWindow>& chart);
/// Makes the program's toolkit state current; once per timer tick.
void UseToolkitState();
/// Releases what the toolkit holds; at program exit.
void CloseToolkit();

/// Paints the whole page (building what has not been built yet) with
/// \p painter into a target of the page's size: images, the clipboard and
/// printers use the same painting as the screen.
void RenderPage(ChartPage& page, QPainter& painter);
/// The page painted into an image of \p size (the page is resized to it).
QImage RenderPageImage(ChartPage& page, const QSize& size);

/// Entry \p index of \p values, counting round again past the end (a
/// negative index takes the first); \p values must not be empty.
template <typename T>
const T& CyclicEntry(const std::vector<T>& values, int index)
{
    return values[static_cast<std::size_t>(index < 0 ? 0 : index) % values.size()];
}

}  // namespace vexa::toolkit
