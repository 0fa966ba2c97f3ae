#include "PdfTools.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace vexa::test {

namespace {

constexpr int kToolWaitMs = 30000;

using app::printing::EndPageResult;
using app::printing::PrintChoice;
using app::printing::PrintJob;

/// A real job that fails at one step.
class FailingJob : public PrintJob {
public:
    FailingJob(std::unique_ptr<PrintJob> job, FailingStep step, EndPageResult endPage)
        : m_job(std::move(job)), m_step(step), m_endPage(endPage)
    {
    }
    bool startDoc(const QString& name) override { return m_step != FailingStep::StartDoc && m_job->startDoc(name); }
    bool startPage() override
    {
        if (m_step == FailingStep::SecondStartPage && ++m_pages == 2)
            return false;
        return m_job->startPage();
    }
    EndPageResult endPage() override
    {
        const EndPageResult real = m_job->endPage();
        return m_step == FailingStep::EndPage ? m_endPage : real;
    }
    bool endDoc() override { return m_job->endDoc() && m_step != FailingStep::EndDoc; }
    QPainter& painter() override { return m_job->painter(); }

private:
    std::unique_ptr<PrintJob> m_job;
    FailingStep m_step;
    EndPageResult m_endPage;
    int m_pages = 0;
};

}  // namespace

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kToolWaitMs) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPageCount(const QString& path)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch match = pages.match(RunTool(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfText(const QString& path, int page)
{
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return RunTool(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
}

int PdfImageCount(const QString& path)
{
    // Two heading lines, then one line per image.
    const QStringList lines =
        RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split('\n', Qt::SkipEmptyParts);
    return lines.size() < 2 ? -1 : static_cast<int>(lines.size()) - 2;
}

std::vector<PdfWord> PdfWords(const QString& path, std::vector<double>* pageHeights)
{
    static const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const QString html = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    std::vector<PdfWord> words;
    int pageNumber = 0;
    for (const QString& line : html.split('\n')) {
        if (const QRegularExpressionMatch match = page.match(line); match.hasMatch()) {
            ++pageNumber;
            if (pageHeights != nullptr)
                pageHeights->push_back(match.captured(2).toDouble());
        } else if (const QRegularExpressionMatch found = word.match(line); found.hasMatch()) {
            words.push_back({pageNumber, found.captured(1).toDouble(), found.captured(2).toDouble(),
                             found.captured(3).toDouble(), found.captured(4).toDouble(), found.captured(5)});
        }
    }
    return words;
}

PdfPrinting::PdfPrinting(QString path) : m_path(std::move(path)), m_previous(app::printing::SetPrintHandler(this)) {}

PdfPrinting::~PdfPrinting()
{
    app::printing::SetPrintHandler(m_previous);
}

void PdfPrinting::fail(FailingStep step, EndPageResult endPage)
{
    m_step = step;
    m_endPage = endPage;
}

PrintChoice PdfPrinting::choosePrinter(QWidget* /*owner*/, QPrinter& printer)
{
    ++dialogs;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    if (duringDialog)
        duringDialog();
    return choice;
}

PrintChoice PdfPrinting::setUpPrinter(QWidget* /*owner*/, QPrinter& /*printer*/)
{
    ++dialogs;
    return choice;
}

std::unique_ptr<PrintJob> PdfPrinting::openJob(QPrinter& printer)
{
    return std::make_unique<FailingJob>(app::printing::OpenPrinterJob(printer), m_step, m_endPage);
}

}  // namespace vexa::test
