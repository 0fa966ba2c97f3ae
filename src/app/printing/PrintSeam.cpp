#include "PrintSeam.h"

#include <QAbstractPrintDialog>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vexa::app::printing {

namespace {

class PrinterJob : public PrintJob {
public:
    explicit PrinterJob(QPrinter& printer) : m_printer(printer) {}

    bool startDoc(const QString& name) override
    {
        m_printer.setDocName(name);
        return m_painter.begin(&m_printer);
    }

    bool startPage() override
    {
        // Beginning the painter started the first page already.
        return m_pages++ == 0 || m_printer.newPage();
    }

    EndPageResult endPage() override
    {
        switch (m_printer.printerState()) {
        case QPrinter::Aborted:
            return EndPageResult::UserAbort;
        case QPrinter::Error:
            return EndPageResult::GeneralError;
        default:
            return EndPageResult::Ok;
        }
    }

    bool endDoc() override { return m_painter.end() && m_printer.printerState() != QPrinter::Error; }

    QPainter& painter() override { return m_painter; }

private:
    QPrinter& m_printer;
    QPainter m_painter;
    int m_pages = 0;
};

class RealPrintHandler : public PrintHandler {
public:
    PrintChoice choosePrinter(QWidget* owner, QPrinter& printer) override
    {
        if (QPrinterInfo::availablePrinters().isEmpty())
            return PrintChoice::NoPrinter;
        printer.setOutputFormat(QPrinter::NativeFormat);
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialog.exec() == QDialog::Accepted ? PrintChoice::Print : PrintChoice::Cancel;
    }

    PrintChoice setUpPrinter(QWidget* owner, QPrinter& printer) override
    {
        if (QPrinterInfo::availablePrinters().isEmpty())
            return PrintChoice::NoPrinter;
        QPageSetupDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted ? PrintChoice::Print : PrintChoice::Cancel;
    }

    std::unique_ptr<PrintJob> openJob(QPrinter& printer) override { return OpenPrinterJob(printer); }
};

RealPrintHandler g_realHandler;
PrintHandler* g_handler = nullptr;

}  // namespace

PrintHandler* SetPrintHandler(PrintHandler* handler)
{
    PrintHandler* previous = g_handler;
    g_handler = handler;
    return previous;
}

PrintHandler& CurrentPrintHandler()
{
    return g_handler != nullptr ? *g_handler : g_realHandler;
}

std::unique_ptr<PrintJob> OpenPrinterJob(QPrinter& printer)
{
    return std::make_unique<PrinterJob>(printer);
}

}  // namespace vexa::app::printing
