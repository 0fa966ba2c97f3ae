#include "GraphPreview.h"

#include "document/DisplayFormat.h"
#include "document/TextFields.h"
#include "graphs/builders/ChartBuilders.h"
#include "graphs/builders/ChartStyle.h"
#include "graphs/builders/SampleFeed.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"

#include <QLabel>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vexa::editors {

namespace {

constexpr const char* kPageName = "PREVIEW";
constexpr double kSecondsPerDay = 24.0 * 60.0 * 60.0;
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr int kMinimumWidth = 380;
constexpr int kMinimumHeight = 260;

}  // namespace

std::pair<double, double> PreviewBand(const GraphDefinition& graph)
{
    const GraphRange range = GraphValueRange(graph.measurements);
    double low = range.minimum;
    double high = range.maximum;
    for (int level = 1; level < kAlarmEntryCount; ++level) {
        if (!graph.alarms[static_cast<std::size_t>(level)].enabled)
            continue;
        const double limit = ParseLeadingDouble(AlarmLimitText(graph, level));
        if (std::isfinite(limit)) {
            low = std::min(low, limit);
            high = std::max(high, limit);
        }
    }
    return {low, high};
}

GraphPreview::GraphPreview(DefinitionSource source, QWidget* parent)
    : QFrame(parent),
      m_source(std::move(source)),
      m_layout(new QVBoxLayout(this)),
      m_hint(new QLabel(QString::fromLatin1(kHintText), this)),
      m_rebuildTimer(new QTimer(this)),
      m_feedTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("preview"));
    setAccessibleName(QStringLiteral("Preview"));
    setFrameShape(QFrame::StyledPanel);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setObjectName(QStringLiteral("previewHint"));
    m_layout->addWidget(m_hint);
    m_resources.graphWindow = this;

    m_rebuildTimer->setSingleShot(true);
    m_rebuildTimer->setInterval(kRebuildDelayMs);
    connect(m_rebuildTimer, &QTimer::timeout, this, &GraphPreview::rebuild);
    m_feedTimer->setInterval(kFeedIntervalMs);
    connect(m_feedTimer, &QTimer::timeout, this, &GraphPreview::feed);

    m_timeOfDay = QTime::currentTime().msecsSinceStartOfDay() / kMillisecondsPerSecond;
    scheduleRebuild();
}

GraphPreview::~GraphPreview()
{
    m_feedTimer->stop();
    m_resources.release();
}

void GraphPreview::scheduleRebuild()
{
    // A running timer is left alone: the first change of a burst decides
    // when the graph is built, so typing never holds the preview back.
    if (!m_rebuildTimer->isActive())
        m_rebuildTimer->start();
}

bool GraphPreview::isRebuildPending() const
{
    return m_rebuildTimer->isActive();
}

bool GraphPreview::isShowingHint() const
{
    return !m_hint->isHidden();
}

void GraphPreview::clearGraph()
{
    m_feedTimer->stop();
    m_resources.release();
    if (m_canvas) {
        m_canvas->hide();
        m_layout->removeWidget(m_canvas);
        m_canvas->deleteLater();
    }
    m_canvas = nullptr;
}

void GraphPreview::rebuild()
{
    clearGraph();
    ++m_buildCount;
    m_samplesFed = 0;
    GraphDefinition graph = m_source ? m_source() : GraphDefinition{};
    if (graph.type == kNoGraphType || graph.measurements.empty()) {
        m_resources.definition = std::move(graph);
        m_hint->show();
        return;
    }
    m_hint->hide();
    const auto [low, high] = PreviewBand(graph);
    m_signal.setBand(low, high);
    m_resources.definition = std::move(graph);

    auto* canvas = new QWidget(this);
    canvas->setObjectName(QStringLiteral("previewCanvas"));
    auto* canvasLayout = new QVBoxLayout(canvas);
    canvasLayout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(canvas);
    m_canvas = canvas;
    const GraphDefinition& shown = m_resources.definition;
    if (shown.type == kScrollingTabular) {
        toolkit::ScrollingList* list = graphs::CreateScrollingList(*canvas, shown);
        m_resources.scrollingList = list;
        canvasLayout->addWidget(list);
    } else {
        toolkit::ChartPage* page = toolkit::CreateChartPage(
            QString::fromLatin1(kPageName), canvas, graphs::GraphCaption(shown),
            [this](toolkit::ChartPage& built) {
                m_resources.chartWindow =
                    toolkit::CreateChartWindow(built, graphs::ChartBuilderForType(m_resources), toolkit::kWholeArea,
                                               m_resources.definition.windowBackground);
            },
            graphs::PageCharacteristic(shown.characteristic), toolkit::PageStyle::Child);
        m_resources.chartPage = page;
        if (page != nullptr) {
            canvasLayout->addWidget(page);
            // The builder runs now, so that the first samples have a chart.
            page->buildAll();
        }
    }
    canvas->show();
    for (int sample = 0; sample < kPrimingSamples; ++sample)
        feed();
    m_feedTimer->start();
}

void GraphPreview::feed()
{
    const int count = static_cast<int>(m_resources.definition.measurements.size());
    if (count == 0)
        return;
    m_signal.advance();
    m_timeOfDay += kFeedIntervalMs / kMillisecondsPerSecond;
    if (m_timeOfDay >= kSecondsPerDay)
        m_timeOfDay -= kSecondsPerDay;
    const std::vector<double> values = m_signal.values(count);
    graphs::FeedSample(m_resources, values, m_timeOfDay);
    ++m_samplesFed;
}

}  // namespace vexa::editors
