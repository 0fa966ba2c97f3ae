#include "PrintCommands.h"

#include "app/printing/GraphAttributesDialog.h"
#include "app/printing/ListPrinting.h"
#include "app/printing/PageExport.h"
#include "app/printing/PagePainting.h"
#include "app/printing/PrintMessages.h"
#include "app/printing/PrintSeam.h"
#include "app/printing/PrintSession.h"
#include "app/printing/PrintingOptions.h"
#include "document/GraphTable.h"
#include "graphs/GraphWindow.h"
#include "graphs/GraphWindows.h"
#include "graphs/builders/PageCapture.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ScrollingList.h"
#include "platform/FileDialogs.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMdiArea>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace vexa::app::printing {

namespace {

/// The header line's size, in points.
constexpr int kHeaderPointSize = 9;
constexpr const char* kExportPageTitle = "Export Page";
constexpr const char* kExportAllTitle = "Export All Pages";
constexpr const char* kDefaultExportName = "page.pdf";

/// Prints one chart page on a page of \p session under \p header.
bool PrintChartPage(PrintSession& session, toolkit::ChartPage& page, const QString& header)
{
    if (!session.beginPage())
        return false;
    QPainter& painter = session.painter();
    const QPaintDevice& device = *painter.device();
    QRectF room(0, 0, device.width(), device.height());
    if (!header.isEmpty()) {
        QFont font;
        font.setPointSize(kHeaderPointSize);
        const QFont printerFont(font, &device);
        const QFontMetricsF metrics(printerFont, &device);
        painter.setFont(printerFont);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, metrics.ascent()), header);
        const qreal used = metrics.height() + metrics.leading() + metrics.height() / 2.0;
        room.setTop(used);
    }
    PaintPage(page, painter, room);
    session.endPage();
    return true;
}

}  // namespace

PrintCommands::PrintCommands(QWidget& owner, QMdiArea& mdi, graphs::GraphWindows& windows, std::string settingsFile,
                             std::function<QString()> displayFile)
    : QObject(&owner),
      m_owner(owner),
      m_mdi(mdi),
      m_windows(windows),
      m_settingsFile(std::move(settingsFile)),
      m_displayFile(std::move(displayFile)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

PrintCommands::~PrintCommands() = default;

graphs::GraphWindow* PrintCommands::activeGraph() const
{
    const int found = m_windows.FindGraphByWindow(m_mdi.activeSubWindow());
    return m_windows.graphWindow(std::max(found, 0));
}

std::vector<OutputPage> PrintCommands::allPages(bool withHistory) const
{
    std::vector<OutputPage> pages;
    for (int index = 0; index < kMaxGraphs; ++index) {
        if (graphs::GraphWindow* window = m_windows.graphWindow(index)) {
            std::vector<OutputPage> own = OutputPagesOf(window->resources(), withHistory);
            pages.insert(pages.end(), own.begin(), own.end());
        }
    }
    return pages;
}

void PrintCommands::printerSetup()
{
    ApplyPrintingOptions(LoadPrintingOptions(m_settingsFile), *m_printer);
    if (CurrentPrintHandler().setUpPrinter(&m_owner, *m_printer) == PrintChoice::NoPrinter)
        ReportFailure(&m_owner, QString::fromLatin1(kNoPrinterText));
}

void PrintCommands::printCurrentPage()
{
    if (graphs::GraphWindow* window = activeGraph())
        print(OutputPagesOf(window->resources(), true));
}

void PrintCommands::printAllPages()
{
    print(allPages(true));
}

void PrintCommands::print(std::vector<OutputPage> pages)
{
    if (pages.empty())
        return;
    const PrintingOptions options = LoadPrintingOptions(m_settingsFile);
    ApplyPrintingOptions(options, *m_printer);
    switch (CurrentPrintHandler().choosePrinter(&m_owner, *m_printer)) {
    case PrintChoice::Cancel:
        return;
    case PrintChoice::NoPrinter:
        ReportFailure(&m_owner, QString::fromLatin1(kNoPrinterText));
        return;
    case PrintChoice::Print:
        break;
    }
    // A window may have closed while the dialog was open.
    if (!DropGonePages(pages)) {
        ReportFailure(&m_owner, QString::fromLatin1(kWindowGoneText));
        return;
    }
    // The pages are drawn at the screen's resolution, so that their fonts
    // keep their size beside the lines; the output stays vectors.
    const QWidget& first = pages.front().page ? static_cast<QWidget&>(*pages.front().page)
                                              : static_cast<QWidget&>(*pages.front().list);
    m_printer->setResolution(first.logicalDpiY());

    std::unique_ptr<PrintJob> job = CurrentPrintHandler().openJob(*m_printer);
    PrintSession session(*job, &m_owner);
    if (!session.begin())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    for (const OutputPage& page : pages) {
        bool going = true;
        if (page.list)
            going = PrintListPages(session, page.title, page.list->lines(), page.list->font());
        else if (page.page)
            going = PrintChartPage(session, *page.page, HeaderLine(options, page.title, m_displayFile(), now));
        if (!going) {
            session.abandon();
            return;
        }
    }
    session.end();
}

void PrintCommands::printingOptions()
{
    PrintingOptions options = LoadPrintingOptions(m_settingsFile);
    if (EditPrintingOptions(&m_owner, options))
        SavePrintingOptions(options, m_settingsFile);
}

void PrintCommands::graphAttributes()
{
    graphs::GraphWindow* window = activeGraph();
    if (window == nullptr)
        return;
    if (toolkit::ChartPage* page = graphs::PageForCommands(window->resources()))
        EditGraphAttributes(&m_owner, *page);
}

void PrintCommands::exportPage()
{
    graphs::GraphWindow* window = activeGraph();
    if (window == nullptr)
        return;
    // The page the other page commands act on: the history when it is open.
    std::vector<OutputPage> pages = OutputPagesOf(window->resources(), true);
    if (pages.size() > 1)
        pages.erase(pages.begin());
    exportPages(std::move(pages), QString::fromLatin1(kExportPageTitle));
}

void PrintCommands::exportAllPages()
{
    exportPages(allPages(false), QString::fromLatin1(kExportAllTitle));
}

void PrintCommands::exportPages(std::vector<OutputPage> pages, const QString& title)
{
    if (pages.empty())
        return;
    FileDialogRequest request;
    request.owner = &m_owner;
    request.title = title;
    request.mode = FileDialogMode::Create;
    request.initialPath = m_lastExport.isEmpty() ? QString::fromLatin1(kDefaultExportName) : m_lastExport;
    request.filters = {QStringLiteral("PDF (*.pdf)"), QStringLiteral("SVG picture (*.svg)"),
                       QStringLiteral("PNG picture (*.png)")};
    const std::optional<QString> path = RunFileDialog(request);
    if (!path)
        return;
    m_lastExport = *path;
    if (!DropGonePages(pages)) {
        ReportFailure(&m_owner, QString::fromLatin1(kWindowGoneExportText));
        return;
    }
    QString error;
    if (!WritePages(*path, pages, error))
        ReportFailure(&m_owner, QString::fromLatin1(kExportFailedText).arg(*path, error));
}

}  // namespace vexa::app::printing
