#include "PdfTools.h"

#include "app/printing/ListPrinting.h"
#include "app/printing/PrintMessages.h"
#include "app/printing/PrintSession.h"
#include "support/TestSupport.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace vexa::test {
namespace {

using namespace app::printing;

constexpr int kScreenDpi = 96;
const QString kCaption = QStringLiteral("Process Log");

TEST(ListTabStops, EachColumnIsItsCharactersPlusOneButAtLeastNine)
{
    const struct {
        const char* line;
        std::vector<int> stops;
    } cases[] = {
        {"abc\tdefghijklmno\tz", {9, 22}},
        {"", {}},
        {"no tabs at all", {}},
        {"\t\t", {9, 18}},
        {"twelve chars\tx", {13}},
    };
    for (const auto& example : cases)
        EXPECT_EQ(ListTabStops(QString::fromLatin1(example.line)), example.stops) << example.line;
}

class ListPrinting : public ::testing::Test {
protected:
    ListPrinting()
    {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_pdf);
        m_printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
        m_printer.setResolution(kScreenDpi);
    }

    /// Prints \p lines as one document through \p handler's job.
    void print(PdfPrinting& handler, const QStringList& lines)
    {
        std::unique_ptr<PrintJob> job = handler.openJob(m_printer);
        PrintSession session(*job, nullptr);
        if (!session.begin())
            return;
        if (PrintListPages(session, kCaption, lines, QFont()))
            session.end();
        else
            session.abandon();
    }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
    QString m_pdf = QString::fromStdString(m_dir.path("list.pdf"));
    QPrinter m_printer{QPrinter::HighResolution};
};

TEST_F(ListPrinting, TwoHundredLinesFillPagesUnderTheCaptionWithNumberedFooters)
{
    // Columns of 3 and 12 characters, narrow enough to end before their stops.
    QStringList lines{QStringLiteral("abc\tiiiiiiiiiiii\tend")};
    lines << QStringLiteral("long\t") + QString(2000, QLatin1Char('x'));
    for (int row = 2; row < 200; ++row)
        lines << QStringLiteral("r%1\tvalue\tmore").arg(row, 3, 10, QLatin1Char('0'));
    PdfPrinting handler(m_pdf);
    print(handler, lines);
    EXPECT_TRUE(m_messages.calls().empty());

    std::vector<double> heights;
    const std::vector<PdfWord> words = PdfWords(m_pdf, &heights);
    const int pages = static_cast<int>(heights.size());
    ASSERT_GT(pages, 2);

    // The first line's columns sit at 0, 9 and 22 average characters.
    const auto at = [&](const QString& text) {
        const auto found =
            std::find_if(words.begin(), words.end(), [&](const PdfWord& word) { return word.text == text; });
        return found != words.end() ? *found : PdfWord{};
    };
    const double first = at(QStringLiteral("abc")).left;
    const double second = at(QStringLiteral("iiiiiiiiiiii")).left - first;
    const double third = at(QStringLiteral("end")).left - first;
    EXPECT_NEAR(third / second, 22.0 / 9.0, 0.02);

    const double lineHeight = at(QStringLiteral("r003")).top - at(QStringLiteral("r002")).top;
    ASSERT_GT(lineHeight, 0.0);
    int printedRows = 0;
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        std::vector<PdfWord> own;
        std::copy_if(words.begin(), words.end(), std::back_inserter(own),
                     [page](const PdfWord& word) { return word.page == page; });
        std::sort(own.begin(), own.end(), [](const PdfWord& one, const PdfWord& other) {
            return std::pair(one.top, one.left) < std::pair(other.top, other.left);
        });
        ASSERT_GE(own.size(), 4u);
        // The caption on top, then the lines, then "Page n".
        EXPECT_EQ(own[0].text, "Process");
        EXPECT_LT(own[0].top, lineHeight);
        const PdfWord& footerWord = own[own.size() - 2];
        EXPECT_EQ(footerWord.text, "Page");
        EXPECT_EQ(own.back().text, QString::number(page));
        double lastLine = 0.0;
        for (const PdfWord& word : own) {
            if (word.text.startsWith(QLatin1Char('r')) || word.text == "abc" || word.text == "long") {
                lastLine = std::max(lastLine, word.top);
                ++printedRows;
            }
        }
        if (page < pages)
            EXPECT_NEAR(footerWord.top, lastLine + lineHeight, lineHeight * 0.25);
        else
            EXPECT_NEAR(footerWord.top, heights.back() - lineHeight, lineHeight * 0.25);
    }
    EXPECT_EQ(printedRows, 200);
}

TEST_F(ListPrinting, EachFailingStepGivesItsMessage)
{
    const QString internal = QString::fromLatin1(kInternalErrorCaption);
    const QString endPage = QString::fromLatin1(kEndPageCaption);
    const struct {
        FailingStep step;
        EndPageResult result;
        const char* text;
        QString caption;
        bool beeps;
    } cases[] = {
        {FailingStep::StartDoc, EndPageResult::Ok, kStartDocText, internal, true},
        {FailingStep::SecondStartPage, EndPageResult::Ok, kStartPageText, internal, true},
        {FailingStep::EndDoc, EndPageResult::Ok, kEndDocText, internal, false},
        {FailingStep::EndPage, EndPageResult::OutOfMemory, kOutOfMemoryText, endPage, true},
        {FailingStep::EndPage, EndPageResult::OutOfDisk, kOutOfDiskText, endPage, true},
        {FailingStep::EndPage, EndPageResult::UserAbort, kUserAbortText, endPage, true},
        {FailingStep::EndPage, EndPageResult::AppAbort, kAppAbortText, endPage, true},
        {FailingStep::EndPage, EndPageResult::GeneralError, kGeneralErrorText, endPage, true},
    };
    QStringList lines;
    for (int row = 0; row < 120; ++row)  // two pages
        lines << QStringLiteral("line %1").arg(row);
    for (const auto& example : cases) {
        SCOPED_TRACE(example.text);
        m_messages.clear();
        PdfPrinting handler(m_pdf);
        handler.fail(example.step, example.result);
        print(handler, lines);
        const std::vector<MessageRequest> boxes = m_messages.boxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0].text, example.text);
        EXPECT_EQ(boxes[0].caption, example.caption);
        EXPECT_EQ(boxes[0].icon, MessageIcon::Stop);
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(m_messages.beepCount() > 0, example.beeps);
        // A failed end of page is told for every page; printing goes on.
        EXPECT_EQ(boxes.size(), example.step == FailingStep::EndPage ? 2u : 1u);
    }
}

}  // namespace
}  // namespace vexa::test
