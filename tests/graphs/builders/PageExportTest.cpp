#include "GraphPage.h"

#include "graphs/builders/PageCapture.h"
#include "graphs/builders/PageData.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/builders/TimeHistoryExport.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueTable.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <limits>

namespace vexa::graphs {
namespace {

using test::FindButton;
using test::GraphPage;

const QString kHistory = QStringLiteral("History");
const QString kExportCsv = QStringLiteral("Export CSV...");
constexpr double kTenOClock = 36000.0;
/// How long a menu may take to open; the wait ends as soon as it has.
constexpr int kMenuWaitMs = 5000;

/// The tab-separated text split into lines and cells.
std::vector<QStringList> Cells(const QString& text)
{
    std::vector<QStringList> lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(line.split(QLatin1Char('\t')));
    return lines;
}

/// The texts an SVG document draws as text; fails the test when it does not
/// parse.
QStringList SvgTexts(const QByteArray& svg)
{
    QStringList texts;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("text"))
            texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return texts;
}

/// What the clipboard holds after a copy of \p page's graph.
struct Clipboard {
    QImage png;
    QByteArray svg;
    QString text;
};

Clipboard CopyAndRead(GraphResources& resources)
{
    EXPECT_TRUE(CopyPageToClipboard(resources));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) {
        ADD_FAILURE() << "nothing on the clipboard";
        return {};
    }
    return {QImage::fromData(data->data(QString::fromLatin1(kPngMimeType)), "PNG"),
            data->data(QString::fromLatin1(kSvgMimeType)), data->text()};
}

TEST(PageData, NumbersReadBackExactlyAndTimesShowMilliseconds)
{
    const std::vector<std::pair<double, QString>> numbers = {
        {0.1, "0.1"}, {1234.567, "1234.567"}, {-5.0, "-5"}, {1e-7, "1e-07"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"}};
    for (const auto& [value, text] : numbers)
        EXPECT_EQ(NumberText(value), text) << value;

    const std::vector<std::pair<double, QString>> times = {
        {0.0, "00:00:00.000"}, {3723.25, "01:02:03.250"}, {86399.9996, "00:00:00.000"}, {86400.5, "00:00:00.500"}};
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(ClockTimeWithMilliseconds(seconds), text) << seconds;

    EXPECT_EQ(AlarmLevelName(toolkit::kLevelHighHigh), "High High");
    EXPECT_EQ(AlarmLevelName(42), "Normal");
}

TEST(PageData, SeparatedTextKeepsCellsWhole)
{
    DataTable table;
    table.header = {"Time", "Flow, main", "Say \"hi\""};
    table.rows = {{"1", "a\tb", "line\nbreak"}};
    EXPECT_EQ(TabSeparated(table), "Time\tFlow, main\tSay \"hi\"\n1\ta b\tline break\n");
    EXPECT_EQ(CommaSeparated(table), "Time,\"Flow, main\",\"Say \"\"hi\"\"\"\r\n1,a\tb,\"line\nbreak\"\r\n");
}

class TimeHistoryCapture : public ::testing::Test {
protected:
    TimeHistoryCapture() { m_page.render(); }

    TimeHistoryState& state() { return *TimeHistoryStateOf(m_page.resources()); }

    /// Samples one second apart from 10:00 on.
    void feed(const std::vector<std::vector<double>>& rows)
    {
        for (const std::vector<double>& row : rows) {
            m_page.feed(row, m_time);
            m_time += 1.0;
        }
    }

    toolkit::ChartPage& openHistory()
    {
        QPushButton* button = FindButton(*m_page.chart(), kHistory);
        EXPECT_NE(button, nullptr);
        if (button != nullptr)
            button->click();
        toolkit::ChartPage* page = state().historyWindow.data();
        if (page == nullptr)
            throw std::runtime_error("no history window");
        toolkit::RenderPageImage(*page, {GraphPage::kWidth, GraphPage::kHeight});
        return *page;
    }

    /// Zooms the history chart to the times from \p first to \p last, as a
    /// right-button drag over them does.
    void zoomHistory(double first, double last)
    {
        toolkit::ChartWindow* chart = state().historyChart.data();
        ASSERT_NE(chart, nullptr);
        const toolkit::PlotFrame& frame = chart->plotFrame();
        const QRectF plot = frame.pixelRect();
        chart->zoomTo(QRectF(QPointF(frame.xMap().toPixel(first), plot.top()),
                             QPointF(frame.xMap().toPixel(last), plot.bottom())));
    }

    vexa::test::ScriptedMessages m_messages;
    vexa::test::ScratchDir m_dir;
    // A High level at 60 and a Low level at 5 on both measurements.
    GraphPage m_page{kTimeHistory,
                     {{"PRESSURE", 0, 100}, {"FLOW", -10, 10}},
                     "A2=1,12,High,60\r\nA3=1,11,Low,5\r\n"};
    double m_time = kTenOClock;
};

TEST_F(TimeHistoryCapture, TheLivePageGivesPicturesAndTheRowsTheStripChartShows)
{
    // Thirty seconds of samples: the strip chart shows about the last twenty.
    std::vector<std::vector<double>> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back({10.0 + i + 0.125, -1.5 * i});
    feed(rows);

    const Clipboard copied = CopyAndRead(m_page.resources());
    EXPECT_EQ(copied.png.size(), QSize(GraphPage::kWidth, GraphPage::kHeight));
    EXPECT_TRUE(SvgTexts(copied.svg).contains("Boiler pressure"));

    const std::vector<QStringList> lines = Cells(copied.text);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], (QStringList{"Time", "PRESSURE (?)", "FLOW (?)"}));
    // Every row shown, none scrolled out, each with the values it was fed.
    ASSERT_EQ(lines.size() - 1, 20u);
    for (std::size_t line = 1; line < lines.size(); ++line) {
        const int sample = static_cast<int>(line) + 9;
        EXPECT_EQ(lines[line][0], ClockTimeWithMilliseconds(kTenOClock + sample));
        EXPECT_EQ(lines[line][1].toDouble(), 10.0 + sample + 0.125) << lines[line].join(' ').toStdString();
        EXPECT_EQ(lines[line][2].toDouble(), -1.5 * sample);
    }
}

TEST_F(TimeHistoryCapture, AnEmptyGraphGivesAPictureAndAHeaderLine)
{
    const Clipboard copied = CopyAndRead(m_page.resources());
    EXPECT_FALSE(copied.png.isNull());
    EXPECT_FALSE(SvgTexts(copied.svg).isEmpty());
    EXPECT_EQ(copied.text, "Time\tPRESSURE (?)\tFLOW (?)\n");
}

TEST_F(TimeHistoryCapture, WithTheHistoryOpenTheCopyTakesTheHistoryPageAndItsZoomedRows)
{
    feed({{10, 1}, {20, 2}, {70, 3}, {80, 4}, {30, 5}, {2, 6}});
    toolkit::ChartPage& history = openHistory();
    EXPECT_EQ(PageForCommands(m_page.resources()), &history);

    // The history's times are times of day: the first sample is still held.
    zoomHistory(kTenOClock + 1.5, kTenOClock + 4.5);
    const Clipboard copied = CopyAndRead(m_page.resources());
    EXPECT_EQ(copied.png.size(), history.size());
    const std::vector<std::vector<QString>> expected = {
        {"Time", "PRESSURE (?)", "FLOW (?)"},
        {"10:00:02.000", "70", "3"},
        {"10:00:03.000", "80", "4"},
        {"10:00:04.000", "30", "5"},
    };
    const std::vector<QStringList> lines = Cells(copied.text);
    ASSERT_EQ(lines.size(), expected.size()) << copied.text.toStdString();
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], QStringList(expected[i].begin(), expected[i].end()));

    // Once the history window is gone the live page is copied again.
    history.close();
    QTRY_VERIFY_WITH_TIMEOUT(!toolkit::PageExists(state().historyWindow), kMenuWaitMs);
    EXPECT_EQ(PageForCommands(m_page.resources()), m_page.resources().chartPage.data());
}

TEST_F(TimeHistoryCapture, TheCsvOfAZoomedHistoryHoldsTheRowsInViewWithTheirAlarmLevels)
{
    // Rows that arrive after the history was opened are not in its chart.
    feed({{10, 6}, {70, 7}, {65, 8}, {3, 9}, {40, 6}});
    openHistory();
    feed({{99, 9}});
    zoomHistory(kTenOClock + 0.5, kTenOClock + 3.5);

    vexa::test::ScriptedFileDialogs dialogs;
    dialogs.script(QString::fromStdString(m_dir.path("zoomed")));
    ExportTimeHistoryCsv(nullptr, m_page.resources(), ExportedChart::History);
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].title, "Export CSV");
    EXPECT_EQ(dialogs.requests()[0].initialPath, "Boiler pressure.csv");
    EXPECT_TRUE(m_messages.boxes().empty());

    // The name without an extension got ".csv".
    EXPECT_EQ(vexa::test::ReadFileBytes(m_dir.path("zoomed.csv")),
              "Time,PRESSURE (?),FLOW (?),PRESSURE alarm,FLOW alarm\r\n"
              "10:00:01.000,70,7,High,Normal\r\n"
              "10:00:02.000,65,8,High,Normal\r\n"
              "10:00:03.000,3,9,Low,Normal\r\n");
}

TEST_F(TimeHistoryCapture, TheCsvOfTheLiveChartNamesTheLevelOfEachRow)
{
    feed({{50, 0}, {61, 4}, {4, 6}});
    EXPECT_EQ(TimeHistoryCsv(m_page.resources(), ExportedChart::Live),
              "Time,PRESSURE (?),FLOW (?),PRESSURE alarm,FLOW alarm\r\n"
              "10:00:00.000,50,0,Normal,Low\r\n"
              "10:00:01.000,61,4,High,Low\r\n"
              "10:00:02.000,4,6,Low,Normal\r\n");
}

TEST_F(TimeHistoryCapture, AFailedWriteIsShownAndAnExistingFileIsReplacedOnlyWhenWanted)
{
    feed({{50, 0}, {61, 4}});
    vexa::test::ScriptedFileDialogs dialogs;

    const std::string unwritable = m_dir.path("no such folder/out.csv");
    dialogs.script(QString::fromStdString(unwritable));
    ExportTimeHistoryCsv(nullptr, m_page.resources(), ExportedChart::Live);
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.boxes()[0].caption, "Export CSV");
    EXPECT_EQ(m_messages.boxes()[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(m_messages.boxes()[0].text.startsWith("Could not write " + QString::fromStdString(unwritable)));
    EXPECT_FALSE(vexa::test::FileExists(unwritable));

    const std::string existing = m_dir.path("kept.csv");
    vexa::test::WriteFileBytes(existing, "old");
    dialogs.script(QString::fromStdString(existing));
    m_messages.script({MessageAnswer::No});
    ExportTimeHistoryCsv(nullptr, m_page.resources(), ExportedChart::Live);
    EXPECT_EQ(vexa::test::ReadFileBytes(existing), "old");

    dialogs.script(QString::fromStdString(existing));
    m_messages.script({MessageAnswer::Yes});
    ExportTimeHistoryCsv(nullptr, m_page.resources(), ExportedChart::Live);
    EXPECT_EQ(vexa::test::ReadFileBytes(existing).substr(0, 5), "Time,");

    // Cancel writes nothing and says nothing.
    dialogs.script(std::nullopt);
    ExportTimeHistoryCsv(nullptr, m_page.resources(), ExportedChart::Live);
    EXPECT_EQ(m_messages.boxes().size(), 3u);
}

/// A file dialog during which the graph window closes: it answers \p path
/// after releasing what the graph held.
class ClosingDialog : public FileDialogHandler {
public:
    ClosingDialog(GraphResources& resources, QString path) : m_resources(resources), m_path(std::move(path))
    {
        m_previous = SetFileDialogHandler(this);
    }
    ~ClosingDialog() override { SetFileDialogHandler(m_previous); }
    std::optional<QString> run(const FileDialogRequest&) override
    {
        m_resources.release();
        return m_path;
    }

private:
    GraphResources& m_resources;
    QString m_path;
    FileDialogHandler* m_previous = nullptr;
};

TEST_F(TimeHistoryCapture, TheRowsInViewWhenTheCommandIsChosenAreWrittenEvenIfTheGraphClosesMeanwhile)
{
    feed({{50, 0}, {61, 4}});
    const std::string path = m_dir.path("closed.csv");
    {
        ClosingDialog dialog(m_page.resources(), QString::fromStdString(path));
        ExportTimeHistoryCsv(nullptr, m_page.resources(), ExportedChart::Live);
    }
    EXPECT_EQ(TimeHistoryStateOf(m_page.resources()), nullptr);
    EXPECT_EQ(vexa::test::ReadFileBytes(path),
              "Time,PRESSURE (?),FLOW (?),PRESSURE alarm,FLOW alarm\r\n"
              "10:00:00.000,50,0,Normal,Low\r\n"
              "10:00:01.000,61,4,High,Low\r\n");
}

TEST_F(TimeHistoryCapture, APageOnePixelWideIsCopiedAtThatSize)
{
    feed({{50, 0}, {61, 4}});
    m_page.resources().chartPage->resize(1, 300);
    const Clipboard copied = CopyAndRead(m_page.resources());
    EXPECT_EQ(copied.png.size(), QSize(1, 300));
    EXPECT_FALSE(SvgTexts(copied.svg).isEmpty());
    EXPECT_EQ(Cells(copied.text).front(), (QStringList{"Time", "PRESSURE (?)", "FLOW (?)"}));
}

TEST_F(TimeHistoryCapture, TheButtonAndARightClickOfferTheExportAndARightDragStillZooms)
{
    feed({{10, 1}, {20, 2}, {30, 3}, {40, 4}});
    vexa::test::ScriptedFileDialogs dialogs;

    QPushButton* button = FindButton(*m_page.chart(), kExportCsv);
    ASSERT_NE(button, nullptr);
    dialogs.script(std::nullopt);
    button->click();
    EXPECT_EQ(dialogs.requests().size(), 1u);

    toolkit::ChartPage& history = openHistory();
    toolkit::ChartWindow* chart = state().historyChart.data();
    ASSERT_NE(chart, nullptr);
    history.show();
    const QPoint middle(chart->width() / 2, chart->height() / 2);
    const double before = chart->plotFrame().xMap().maximum();

    // A drag zooms and opens no menu.
    QTest::mousePress(chart, Qt::RightButton, {}, QPoint(chart->width() / 4, chart->height() / 4));
    QTest::mouseMove(chart, middle);
    QTest::mouseRelease(chart, Qt::RightButton, {}, middle);
    EXPECT_LT(chart->plotFrame().xMap().maximum(), before);
    ASSERT_NE(chart->contextMenu(), nullptr);
    EXPECT_FALSE(chart->contextMenu()->isVisible());

    // A click opens the menu, whose item runs the export.
    QTest::mouseClick(chart, Qt::RightButton, {}, middle);
    QTRY_VERIFY_WITH_TIMEOUT(chart->contextMenu()->isVisible(), kMenuWaitMs);
    const QList<QAction*> items = chart->contextMenu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), kExportCsv);
    chart->contextMenu()->hide();
    dialogs.script(std::nullopt);
    items[0]->trigger();
    EXPECT_EQ(dialogs.requests().size(), 2u);
}

TEST(PageCapture, AFixedTableGivesItsShownRows)
{
    GraphPage page(kFixedTabular, {{"LEVEL", 0, 10, "Tank level"}, {"TEMP", 0, 100, "Tank temperature"}},
                   "A2=1,12,High,60\r\n");
    page.render();
    page.feed({3.14159, 75.0});
    const std::vector<toolkit::ValueTable*> tables = page.elements<toolkit::ValueTable>();
    ASSERT_EQ(tables.size(), 1u);

    const Clipboard copied = CopyAndRead(page.resources());
    EXPECT_EQ(copied.png.size(), QSize(GraphPage::kWidth, GraphPage::kHeight));
    const std::vector<QStringList> lines = Cells(copied.text);
    ASSERT_EQ(lines.size(), 3u) << copied.text.toStdString();
    EXPECT_EQ(lines[0], (QStringList{"Measurement", "Description", "Value", "Units", "Alarm"}));
    for (int row = 0; row < 2; ++row) {
        const QStringList& cells = lines[static_cast<std::size_t>(row) + 1];
        ASSERT_EQ(cells.size(), 5);
        EXPECT_EQ(cells[2], tables[0]->valueText(row)) << "the value as the table shows it";
        EXPECT_EQ(cells[4], tables[0]->stateText(row));
    }
    EXPECT_EQ(lines[1][1], "Tank level");
    EXPECT_EQ(lines[2][4], "High");
}

TEST(PageCapture, AScrollingTableGivesItsLinesAndAPictureOfItsList)
{
    GraphPage page(kScrollingTabular, {{"T1", 0, 100}, {"FLOW RATE", 0, 10}});
    GraphResources& resources = page.resources();
    resources.chartPage.clear();  // a scrolling table shows its list instead
    resources.scrollingList = CreateScrollingList(page.window(), resources.definition);
    resources.scrollingList->resize(400, 200);
    EXPECT_EQ(CopyAndRead(resources).text, "Time\tT1\tFLOW RATE\n") << "no line yet: the header alone";
    AddScrollingRow(resources.scrollingList, resources.definition, std::vector<double>{21.5, 3.25}, 3723.25);
    AddScrollingRow(resources.scrollingList, resources.definition, std::vector<double>{22.0, -0.004}, 3724.0);

    const Clipboard copied = CopyAndRead(resources);
    EXPECT_EQ(copied.png.size(), QSize(400, 200));
    EXPECT_FALSE(copied.svg.isEmpty());
    const std::vector<QStringList> lines = Cells(copied.text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (QStringList{"Time", "T1", "FLOW RATE"}));
    EXPECT_EQ(lines[1], (QStringList{"01:02:04.000", "22.00", "-0.00"}));
    EXPECT_EQ(lines[2], (QStringList{"01:02:03.250", "21.50", "3.25"}));
}

TEST(PageCapture, AnXYPlotGivesTheXAndYOfThePointsItDraws)
{
    GraphPage page(kXYPlot, {{"X", -10, 10}, {"Y", 0, 100}});
    page.render();
    const std::vector<std::pair<double, double>> points = {{-2.5, 10.0}, {0.0, 33.3}, {7.75, 99.0}};
    for (const auto& [x, y] : points)
        page.feed({x, y});

    const Clipboard copied = CopyAndRead(page.resources());
    EXPECT_TRUE(SvgTexts(copied.svg).contains("Boiler pressure"));
    const std::vector<QStringList> lines = Cells(copied.text);
    ASSERT_EQ(lines.size(), points.size() + 1);
    EXPECT_EQ(lines[0], (QStringList{"X (?)", "Y (?)"}));
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(lines[i + 1][0].toDouble(), points[i].first);
        EXPECT_EQ(lines[i + 1][1].toDouble(), points[i].second);
    }
}

TEST(PageCapture, ABarGraphGivesEachCurrentValueWithItsLevel)
{
    GraphPage page(kVerticalBarGraph, {{"LEVEL", 0, 10}, {"TEMP", 0, 100}}, "A2=1,12,High,60\r\n");
    page.render();
    const Clipboard empty = CopyAndRead(page.resources());
    EXPECT_EQ(empty.text, "Measurement\tValue\tUnits\tAlarm\n");

    page.feed({1.0, 40.0});
    page.feed({2.0 / 3.0, 61.5});
    const std::vector<QStringList> lines = Cells(CopyAndRead(page.resources()).text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1][0], "LEVEL");
    EXPECT_EQ(lines[1][1].toDouble(), 2.0 / 3.0);
    EXPECT_EQ(lines[1][3], "Normal");
    EXPECT_EQ(lines[2], (QStringList{"TEMP", "61.5", "?", "High"}));
}

TEST(PageCapture, AGraphWithNeitherPageNorListCopiesNothing)
{
    GraphPage page(kMeter, {{"LEVEL", 0, 10}});
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    toolkit::DestroyChartPage(page.resources().chartPage);
    EXPECT_FALSE(CopyPageToClipboard(page.resources()));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

}  // namespace
}  // namespace vexa::graphs
