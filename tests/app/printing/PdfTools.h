#pragma once

#include "app/printing/PrintSeam.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

/// Reading printed PDF files back with poppler's tools, and a print handler
/// that prints into a PDF file and can make one step of the job fail.
namespace vexa::test {

/// Standard output of \p program run with \p arguments; empty on failure.
QString RunTool(const QString& program, const QStringList& arguments);

int PdfPageCount(const QString& path);
/// The text of page \p page (from 1), or of every page when 0, laid out.
QString PdfText(const QString& path, int page = 0);
/// How many raster images the file holds.
int PdfImageCount(const QString& path);

/// A word of a PDF page and where it is, in points from the top left.
struct PdfWord {
    int page = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    QString text;
};
/// Every word of the file, with the pages' heights.
std::vector<PdfWord> PdfWords(const QString& path, std::vector<double>* pageHeights = nullptr);

/// The step of a print job that fails.
enum class FailingStep { None, StartDoc, SecondStartPage, EndPage, EndDoc };

/// Installs itself while it lives: every print dialog chooses a PDF file
/// \p path with no margins and gives \p choice; jobs are real ones on that
/// printer, failing at the step set.
class PdfPrinting : public app::printing::PrintHandler {
public:
    explicit PdfPrinting(QString path);
    ~PdfPrinting() override;
    PdfPrinting(const PdfPrinting&) = delete;
    PdfPrinting& operator=(const PdfPrinting&) = delete;

    void fail(FailingStep step, app::printing::EndPageResult endPage = app::printing::EndPageResult::GeneralError);
    app::printing::PrintChoice choice = app::printing::PrintChoice::Print;
    /// Runs while the print dialog is "open".
    std::function<void()> duringDialog;
    int dialogs = 0;

    app::printing::PrintChoice choosePrinter(QWidget* owner, QPrinter& printer) override;
    app::printing::PrintChoice setUpPrinter(QWidget* owner, QPrinter& printer) override;
    std::unique_ptr<app::printing::PrintJob> openJob(QPrinter& printer) override;

private:
    QString m_path;
    FailingStep m_step = FailingStep::None;
    app::printing::EndPageResult m_endPage = app::printing::EndPageResult::Ok;
    app::printing::PrintHandler* m_previous;
};

}  // namespace vexa::test
