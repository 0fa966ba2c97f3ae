#include "PdfTools.h"

#include "../FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/printing/GraphAttributesDialog.h"
#include "app/printing/PrintMessages.h"
#include "app/printing/PrintingOptions.h"
#include "banner/Banner.h"
#include "graphs/GraphWindow.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Toolkit.h"
#include "platform/SettingsLocation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;
using namespace app::printing;

constexpr int kChartWaitMs = 10000;

/// A time history, a meter and a scrolling table, all shown by the view "All".
const std::string kDisplay = "[W1]\r\nT=Pressures\r\nM1=P1\r\nM2=P2\r\n"
                             "[W2]\r\nT=Dial\r\nP=Meter\r\nM1=P1\r\n"
                             "[W3]\r\nT=Log\r\nP=ScrollingTabular\r\nM1=P2\r\n"
                             "[V1]\r\nT=All\r\nW1=Pressures\r\nW2=Dial\r\nW3=Log\r\n";
const std::string kMeasurements = "[P1]\r\nMIN=0\r\nMAX=10\r\n[P2]\r\nMIN=0\r\nMAX=10\r\n";

class PageCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSettings(OfflineSettings());
        const std::string path = WriteDocument(m_dir, "Plant.dsp", kDisplay, kMeasurements);
        m_frame = StartFrame(QStringLiteral("-F %1 -V All").arg(QString::fromStdString(path)));
        for (int index : {0, 1}) {
            auto* window = qobject_cast<graphs::GraphWindow*>(GraphWindowOf(*m_frame, index));
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(QTest::qWaitFor([window] { return toolkit::ChartReady(window->resources().chartWindow); },
                                        kChartWaitMs));
        }
    }
    void TearDown() override { CloseBanner(); }

    graphs::GraphResources& resources(int index)
    {
        return qobject_cast<graphs::GraphWindow*>(GraphWindowOf(*m_frame, index))->resources();
    }
    QString file(const char* name) const { return QString::fromStdString(m_dir.path(name)); }

    ScriptedMessages m_messages;
    ScriptedFileDialogs m_fileDialogs;
    ScratchDir m_dir;
    std::unique_ptr<app::FrameWindow> m_frame;
};

/// The share of \p image's pixels whose red, green and blue differ.
double ColouredShare(const QImage& image)
{
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            const int spread = std::max({colour.red(), colour.green(), colour.blue()}) -
                               std::min({colour.red(), colour.green(), colour.blue()});
            coloured += spread > 24 ? 1 : 0;
        }
    }
    return static_cast<double>(coloured) / (image.width() * image.height());
}

QImage FirstPageImage(const QString& pdf, const QString& prefix)
{
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("30"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), pdf, prefix});
    return QImage(prefix + QStringLiteral("-1.png"));
}

TEST_F(PageCommands, PrintAllPagesPrintsEveryGraphWithItsHistoryPageAsVectors)
{
    graphs::OpenHistoryWindow(resources(0).definition, resources(0));
    ASSERT_TRUE(toolkit::PageExists(graphs::TimeHistoryStateOf(resources(0))->historyWindow));
    const QString pdf = file("all.pdf");
    PdfPrinting printing(pdf);
    m_frame->SendCommand(CommandId(FrameCommand::PrintAllPages));
    EXPECT_TRUE(m_messages.boxes().empty());

    ASSERT_EQ(PdfPageCount(pdf), 3);
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Pressures")));
    EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("No data points plotted yet!")));
    EXPECT_TRUE(PdfText(pdf, 3).contains(QStringLiteral("Dial")));
    EXPECT_EQ(PdfImageCount(pdf), 0);
    EXPECT_EQ(printing.dialogs, 1);
    EXPECT_GT(ColouredShare(FirstPageImage(pdf, file("colour"))), 0.05);

    // In black and white no colour is left on the page.
    PrintingOptions options = LoadPrintingOptions(SettingsFilePath());
    options.colour = false;
    SavePrintingOptions(options, SettingsFilePath());
    const QString grey = file("grey.pdf");
    PdfPrinting greyPrinting(grey);
    m_frame->SendCommand(CommandId(FrameCommand::PrintCurrentPage));
    EXPECT_EQ(PdfPageCount(grey), 1);  // graph 1, with no window active
    EXPECT_EQ(ColouredShare(FirstPageImage(grey, file("grey"))), 0.0);
}

TEST_F(PageCommands, NoPrinterAndAWindowClosedUnderTheDialogGiveAMessageAndPrintNothing)
{
    const QString pdf = file("none.pdf");
    PdfPrinting printing(pdf);
    printing.choice = PrintChoice::NoPrinter;
    m_frame->SendCommand(CommandId(FrameCommand::PrintCurrentPage));
    printing.choice = PrintChoice::Print;
    printing.duringDialog = [this] { m_frame->SendCommand(CommandId(FrameCommand::CloseAll)); };
    m_frame->SendCommand(CommandId(FrameCommand::PrintAllPages));

    const std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, kNoPrinterText);
    EXPECT_EQ(boxes[1].text, kWindowGoneText);
    for (const MessageRequest& box : boxes) {
        EXPECT_EQ(box.caption, "VEXA Display");
        EXPECT_EQ(box.icon, MessageIcon::Stop);
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(m_frame->probe().document.isModified());
}

TEST_F(PageCommands, GraphAttributesApplyChangesTheLookAndCancelRestoresIt)
{
    toolkit::ChartWindow& chart = *resources(0).chartWindow;
    const toolkit::ChartLook before = toolkit::ReadChartLook(chart);
    const toolkit::SavedChartLook saved = toolkit::SaveChartLook(chart);
    {
        // OK with nothing changed changes nothing.
        GraphAttributesDialog unchanged(m_frame.get(), *resources(0).chartPage);
        unchanged.accept();
        EXPECT_EQ(toolkit::SaveChartLook(chart), saved);
    }
    GraphAttributesDialog dialog(m_frame.get(), *resources(0).chartPage);
    dialog.findChild<QComboBox*>(QStringLiteral("WindowBackground"))->setCurrentIndex(toolkit::palette::kYellow);
    dialog.findChild<QCheckBox*>(QStringLiteral("Grid"))->setChecked(!before.grid);
    dialog.findChild<QSpinBox*>(QStringLiteral("TraceWidth"))->setValue(before.traceWidth + 2);
    dialog.apply();

    const toolkit::ChartLook applied = toolkit::ReadChartLook(chart);
    EXPECT_EQ(applied.windowBackground, toolkit::palette::kYellow);
    EXPECT_EQ(applied.grid, !before.grid);
    EXPECT_EQ(applied.traceWidth, before.traceWidth + 2);
    const QImage yellow = toolkit::RenderPageImage(*resources(0).chartPage, resources(0).chartPage->size());
    EXPECT_EQ(yellow.pixelColor(2, 2), toolkit::PaletteColour(toolkit::palette::kYellow));

    dialog.reject();
    EXPECT_EQ(toolkit::SaveChartLook(chart), saved);
    const QImage restored = toolkit::RenderPageImage(*resources(0).chartPage, resources(0).chartPage->size());
    EXPECT_EQ(restored.pixelColor(2, 2), toolkit::PaletteColour(before.windowBackground));
    EXPECT_FALSE(m_frame->probe().document.isModified());
}

TEST_F(PageCommands, ExportWritesByTheNamesExtensionAndReportsAFolderThatCannotBeWritten)
{
    const struct {
        const char* name;
        QByteArray magic;
    } cases[] = {
        {"page.svg", "<?xml"},
        {"page.png", "\x89PNG"},
        {"page.report", "%PDF"},
    };
    MdiAreaOf(*m_frame).setActiveSubWindow(GraphWindowOf(*m_frame, 1));
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        m_fileDialogs.script(file(example.name));
        m_frame->SendCommand(CommandId(FrameCommand::ExportPage));
        QFile written(file(example.name));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.readAll().startsWith(example.magic));
    }
    // A meter is titled with its measurement.
    EXPECT_TRUE(PdfText(file("page.report")).contains(QStringLiteral("P1")));

    resources(2).scrollingList->addLine(QStringLiteral("Time\tP2 (bar)"), QStringLiteral("10:00:00.000\t4.25"));
    m_fileDialogs.script(file("all.pdf"));
    m_frame->SendCommand(CommandId(FrameCommand::ExportAllPages));
    EXPECT_EQ(PdfPageCount(file("all.pdf")), 3);
    EXPECT_TRUE(PdfText(file("all.pdf"), 3).contains(QStringLiteral("4.25")));
    EXPECT_EQ(PdfImageCount(file("all.pdf")), 0);
    EXPECT_TRUE(m_messages.boxes().empty());

    // A window squeezed to a sliver still gives its whole page.
    GraphWindowOf(*m_frame, 1)->resize(1, 200);
    resources(1).chartPage->resize(1, 200);
    m_fileDialogs.script(file("sliver.pdf"));
    m_frame->SendCommand(CommandId(FrameCommand::ExportPage));
    EXPECT_TRUE(PdfText(file("sliver.pdf")).contains(QStringLiteral("P1")));

    m_fileDialogs.script(file("missing/page.pdf"));
    m_frame->SendCommand(CommandId(FrameCommand::ExportPage));
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_TRUE(m_messages.boxes()[0].text.startsWith(QStringLiteral("Unable to write the file")));
    EXPECT_EQ(m_messages.boxes()[0].icon, MessageIcon::Stop);
}

}  // namespace
}  // namespace vexa::test
