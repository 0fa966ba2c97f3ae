#include "GraphEditorFixture.h"

#include "editors/graph/GraphPreview.h"
#include "editors/graph/PreviewSignal.h"
#include "graphs/toolkit/Palette.h"
#include "support/Waits.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

namespace vexa::test {
namespace {

using editors::GraphPreview;
using editors::PreviewSignal;
namespace palette = toolkit::palette;

/// Pixels of the preview pane, as the screen shows it, in exactly colour
/// \p index.
int PixelsOf(GraphPreview& preview, toolkit::PaletteIndex index)
{
    const QImage image = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb wanted = toolkit::PaletteColour(index).rgb();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        count += static_cast<int>(std::count(line, line + image.width(), wanted));
    }
    return count;
}

void Pick(GraphEditorDialog& dialog, const char* list, int index)
{
    QComboBox* box = Child<QComboBox>(dialog, QString::fromLatin1(list));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

class GraphPreviewTest : public GraphEditorTest {
protected:
    /// The preview once it has drawn what the controls hold now.
    GraphPreview& settled()
    {
        GraphPreview& preview = *m_dialog->preview();
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.buildCount() > 0 && !preview.isRebuildPending(); },
                                    kWaitTimeoutMs));
        return preview;
    }
};

TEST_F(GraphPreviewTest, FollowsAChangeOfType)
{
    writeDisplay("[W1]\r\nT=Flow\r\nP=TimeHistory\r\nM1=Alpha\r\nPC=16\r\n", {"Flow"}, 0);
    open();
    GraphPreview& preview = settled();
    EXPECT_EQ(preview.definition().type, kTimeHistory);
    EXPECT_GT(PixelsOf(preview, palette::kPaleBlue), 1000) << "the plot background";

    // A meter has no plot background.
    Pick(*m_dialog, "graphType", kMeter - 1);
    EXPECT_TRUE(preview.isRebuildPending());
    settled();
    EXPECT_EQ(preview.definition().type, kMeter);
    EXPECT_EQ(PixelsOf(preview, palette::kPaleBlue), 0);
}

TEST_F(GraphPreviewTest, FollowsAChangeOfADataColour)
{
    writeDisplay("[W1]\r\nT=Flow\r\nP=TimeHistory\r\nM1=Alpha\r\nPC=0\r\nDC1=13\r\n", {"Flow"}, 0);
    open();
    GraphPreview& preview = settled();
    QTRY_VERIFY_WITH_TIMEOUT(PixelsOf(preview, palette::kLightMagenta) > 20, kWaitTimeoutMs);

    Pick(*m_dialog, "dataColour1", palette::kPaleGreen);
    settled();
    QTRY_VERIFY_WITH_TIMEOUT(PixelsOf(preview, palette::kPaleGreen) > 20, kWaitTimeoutMs);
    EXPECT_EQ(PixelsOf(preview, palette::kLightMagenta), 0);
}

TEST_F(GraphPreviewTest, FollowsAChangeOfAnAlarmColourAndItsValuesCrossTheLimit)
{
    // The lamp takes the High colour while the value is above 50.
    writeDisplay("[W1]\r\nT=Lamps\r\nP=Annunciator\r\nM1=Alpha\r\nA2=1,16,Hi,50\r\n", {"Lamps"}, 0);
    open();
    GraphPreview& preview = settled();
    QTRY_VERIFY_WITH_TIMEOUT(PixelsOf(preview, palette::kPaleBlue) > 100, kWaitTimeoutMs);

    Pick(*m_dialog, "alarmColour2", palette::kPaleGreen);
    settled();
    QTRY_VERIFY_WITH_TIMEOUT(PixelsOf(preview, palette::kPaleGreen) > 100, kWaitTimeoutMs);
    EXPECT_EQ(PixelsOf(preview, palette::kPaleBlue), 0);
}

TEST_F(GraphPreviewTest, ShowsAHintUntilATypeAndAMeasurementAreChosen)
{
    writeDisplay("[W1]\r\nT=Empty\r\nP=Bogus\r\n", {"Empty"}, 0);
    open();
    GraphPreview& preview = settled();
    EXPECT_TRUE(preview.isShowingHint());
    Pick(*m_dialog, "graphType", kTimeHistory - 1);
    settled();
    EXPECT_TRUE(preview.isShowingHint());
    Child<QListWidget>(*m_dialog, QStringLiteral("measurements"))->addItem(QStringLiteral("Alpha"));
    settled();
    EXPECT_FALSE(preview.isShowingHint());
}

TEST_F(GraphPreviewTest, GathersABurstOfChangesIntoOneBuildAndWritesNothing)
{
    writeDisplay("[W1]\r\nT=Flow\r\nP=XYPlot\r\nM1=Alpha\r\nM2=beta\r\n", {"Flow"}, 0);
    const std::string before = display();
    open();
    GraphPreview& preview = settled();
    const int builds = preview.buildCount();
    QLineEdit* title = Child<QLineEdit>(*m_dialog, QStringLiteral("graphTitle"));
    QTest::keyClicks(title, QStringLiteral("abc"));
    Pick(*m_dialog, "windowBackground", palette::kWhite);
    Child<QLineEdit>(*m_dialog, QStringLiteral("alarmValue2"))->setText(QStringLiteral("nonsense"));
    settled();
    EXPECT_EQ(preview.buildCount(), builds + 1);
    EXPECT_EQ(preview.definition().title, "Flowabc");
    EXPECT_EQ(preview.definition().windowBackground, palette::kWhite);
    // Every kind of graph builds and takes samples without a file changing.
    for (int type = kTimeHistory; type <= kAnnunciator; ++type) {
        Pick(*m_dialog, "graphType", type - 1);
        settled();
        QTRY_VERIFY_WITH_TIMEOUT(preview.samplesFed() > GraphPreview::kPrimingSamples, kWaitTimeoutMs);
    }
    EXPECT_EQ(display(), before);
}

TEST_F(GraphPreviewTest, DrawsDefinitionsThatCannotBeSavedYet)
{
    // Counts no type allows, limits beyond any scale, and measurements that
    // are not defined or whose limits are no numbers.
    std::string many;
    for (int k = 1; k <= 12; ++k)
        many += "M" + std::to_string(k) + "=" + (k % 2 ? "Alpha" : "Undefined") + "\r\n";
    WriteFileBytes(m_measurementFile, std::string(kMeasurements) + "[Wild]\r\nL=-1e308\r\nH=1e308\r\n[Text]\r\nL=x\r\nH=y\r\n");
    writeDisplay("[W1]\r\nT=A\r\nP=XYPlot\r\nM1=Wild\r\nA2=1,3,Hi,1e400\r\nA3=1,3,Lo,nan\r\n"
                 "[W2]\r\nT=B\r\nP=Meter\r\nM1=Alpha\r\nM2=Text\r\nM3=beta\r\n"
                 "[W3]\r\nT=C\r\nP=TimeHistory\r\n" + many,
                 {"A", "B", "C"}, 0);
    for (int row = 0; row < 3; ++row) {
        m_owner.setCurrentRow(row);
        open();
        GraphPreview& preview = settled();
        EXPECT_FALSE(preview.isShowingHint()) << row;
        QTRY_VERIFY_WITH_TIMEOUT(preview.samplesFed() > GraphPreview::kPrimingSamples + 1, kWaitTimeoutMs);
        EXPECT_FALSE(preview.grab().isNull());
    }
    EXPECT_EQ(m_dialog->preview()->definition().measurements.size(), std::size_t{kMaxMeasurementsPerGraph});
}

TEST(PreviewSignal, SwingsBeyondTheBandWithEveryShape)
{
    PreviewSignal signal;
    signal.setBand(10.0, 50.0);
    std::vector<double> lowest(PreviewSignal::kShapeCount, 1e9);
    std::vector<double> highest(PreviewSignal::kShapeCount, -1e9);
    for (int step = 0; step < PreviewSignal::kStepsPerCycle; ++step) {
        signal.advance();
        const std::vector<double> values = signal.values(PreviewSignal::kShapeCount);
        for (std::size_t k = 0; k < values.size(); ++k) {
            lowest[k] = std::min(lowest[k], values[k]);
            highest[k] = std::max(highest[k], values[k]);
        }
    }
    for (std::size_t k = 0; k < lowest.size(); ++k) {
        EXPECT_LT(lowest[k], 10.0) << k;
        EXPECT_GT(highest[k], 50.0) << k;
        EXPECT_GE(lowest[k], signal.lowest() - 1e-9) << k;
        EXPECT_LE(highest[k], signal.highest() + 1e-9) << k;
    }
    // A band without width, or one of no numbers, still moves.
    signal.setBand(5.0, 5.0);
    EXPECT_LT(signal.lowest(), signal.highest());
    signal.setBand(std::nan(""), 1.0);
    EXPECT_LT(signal.lowest(), signal.highest());
}

}  // namespace
}  // namespace vexa::test
