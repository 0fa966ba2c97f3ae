#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "banner/Banner.h"
#include "graphs/GraphWindow.h"
#include "graphs/toolkit/Toolkit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;

constexpr int kCopyPage = CommandId(FrameCommand::CopyPage);
/// How long a chart may take to be built by its first paint.
constexpr int kChartWaitMs = 10000;

class CopyPage : public ::testing::Test {
protected:
    void SetUp() override { WriteSettings(OfflineSettings()); }
    void TearDown() override { CloseBanner(); }

    static bool waitForChart(QMdiSubWindow* window)
    {
        auto* graph = qobject_cast<graphs::GraphWindow*>(window);
        return graph != nullptr &&
               QTest::qWaitFor([graph] { return toolkit::ChartReady(graph->resources().chartWindow); }, kChartWaitMs);
    }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
};

TEST_F(CopyPage, CopiesThePageOfTheActiveGraphOrOfGraphOneWhenNoneIsActive)
{
    const std::string plant = WritePlant(m_dir, "Plant.dsp");
    auto frame = StartFrame(QStringLiteral("-F %1 -V Main").arg(QString::fromStdString(plant)));
    QMdiSubWindow* pressures = GraphWindowOf(*frame, 0);
    QMdiSubWindow* flow = GraphWindowOf(*frame, 2);
    ASSERT_NE(pressures, nullptr);
    ASSERT_NE(flow, nullptr);
    ASSERT_TRUE(waitForChart(pressures));
    ASSERT_TRUE(waitForChart(flow));

    // The graphs have had no sample: a picture of the page and a header line.
    MdiAreaOf(*frame).setActiveSubWindow(flow);
    EXPECT_EQ(frame->SendCommand(kCopyPage), 0);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "Time\tF1 (?)\n");
    const QImage picture = QImage::fromData(copied->data(QStringLiteral("image/png")), "PNG");
    EXPECT_EQ(picture.size(), qobject_cast<graphs::GraphWindow*>(flow)->resources().chartPage->size());
    EXPECT_TRUE(copied->data(QStringLiteral("image/svg+xml")).contains("Flow"));

    MdiAreaOf(*frame).setActiveSubWindow(nullptr);
    frame->SendCommand(kCopyPage);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Time\tP1 (?)\tP2 (?)\n");
    EXPECT_TRUE(m_messages.boxes().empty());
}

}  // namespace
}  // namespace vexa::test
