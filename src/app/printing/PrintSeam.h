#pragma once

#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class QWidget;

/// Where printing meets the platform: the print and printer setup dialogs,
/// and the print job on the chosen printer. The program installs nothing
/// and gets the real dialogs and QPrinter jobs; tests install a handler
/// that prints into PDF files and can make any step of a job fail.
namespace vexa::app::printing {

/// What ending a page can give: 0 when the page went out, otherwise one of
/// the spooler's failures.
enum class EndPageResult : int {
    Ok = 0,
    GeneralError = -1,
    AppAbort = -2,
    UserAbort = -3,
    OutOfDisk = -4,
    OutOfMemory = -5,
};

/// One print job on one printer: a document of pages drawn with one painter.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    /// Starts the document named \p name; false when it could not start.
    virtual bool startDoc(const QString& name) = 0;
    /// Starts the next page; false when it could not start.
    virtual bool startPage() = 0;
    virtual EndPageResult endPage() = 0;
    /// Ends the document and sends it; false when that failed.
    virtual bool endDoc() = 0;
    /// The painter on the printer, active between startDoc() and endDoc().
    virtual QPainter& painter() = 0;
};

/// What the print dialog ended with.
enum class PrintChoice { Print, Cancel, NoPrinter };

class PrintHandler {
public:
    virtual ~PrintHandler() = default;
    /// The print dialog over \p owner for \p printer, offering no page
    /// range, no selection and no printing to a file.
    virtual PrintChoice choosePrinter(QWidget* owner, QPrinter& printer) = 0;
    /// The printer setup dialog over \p owner (Print when it was accepted).
    virtual PrintChoice setUpPrinter(QWidget* owner, QPrinter& printer) = 0;
    /// A job on \p printer, which the print dialog has just set up.
    virtual std::unique_ptr<PrintJob> openJob(QPrinter& printer) = 0;
};

/// Installs \p handler; nullptr reinstates the real dialogs and jobs.
/// Returns the handler installed before (nullptr for the real one).
PrintHandler* SetPrintHandler(PrintHandler* handler);
/// The installed handler.
PrintHandler& CurrentPrintHandler();

/// The real job: a QPainter on \p printer. Pages after the first are started
/// with a new page of the printer.
std::unique_ptr<PrintJob> OpenPrinterJob(QPrinter& printer);

}  // namespace vexa::app::printing
