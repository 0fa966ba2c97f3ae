#pragma once

#include "PreviewSignal.h"

#include "graphs/core/GraphResources.h"

#include <QFrame>
#include <QPointer>

#include <functional>

class QLabel;
class QTimer;
class QVBoxLayout;

namespace vexa::editors {

/// The pane of "Edit Graph" that draws the graph as it is defined at this
/// moment: the chart builder of its type, drawing from a definition the
/// dialog makes from its controls, fed with moving values that cross the
/// alarm limits. It reads the measurement file and writes nothing.
class GraphPreview : public QFrame {
    Q_OBJECT
public:
    /// Changes are gathered for this long before the graph is built again.
    static constexpr int kRebuildDelayMs = 40;
    /// One preview sample per tick.
    static constexpr int kFeedIntervalMs = 100;
    /// Samples fed straight after a rebuild, so that a graph shows lines
    /// and states at once rather than filling up from nothing.
    static constexpr int kPrimingSamples = 40;
    static constexpr const char* kHintText =
        "Choose a graph type and at least one measurement to see the graph here.";

    using DefinitionSource = std::function<GraphDefinition()>;

    /// \p source gives the definition to draw each time the graph is built.
    explicit GraphPreview(DefinitionSource source, QWidget* parent = nullptr);
    ~GraphPreview() override;

    /// Builds the graph again shortly, once for any number of calls in between.
    void scheduleRebuild();
    /// True while a rebuild is pending.
    bool isRebuildPending() const;
    /// How many times the graph has been built (or replaced by the hint).
    int buildCount() const { return m_buildCount; }
    /// Samples fed to the current graph since it was built.
    int samplesFed() const { return m_samplesFed; }
    /// True while the pane shows the hint instead of a graph.
    bool isShowingHint() const;
    /// The definition the current graph was built from.
    const GraphDefinition& definition() const { return m_resources.definition; }

private:
    void rebuild();
    /// Releases the current graph and the widget that holds it.
    void clearGraph();
    void feed();

    DefinitionSource m_source;
    graphs::GraphResources m_resources;
    QVBoxLayout* m_layout = nullptr;
    QLabel* m_hint = nullptr;
    /// Holds the chart page (or the list) of the current graph.
    QPointer<QWidget> m_canvas;
    QTimer* m_rebuildTimer = nullptr;
    QTimer* m_feedTimer = nullptr;
    PreviewSignal m_signal;
    /// The time of day of the next sample, seconds since midnight.
    double m_timeOfDay = 0.0;
    int m_buildCount = 0;
    int m_samplesFed = 0;
};

/// The band a preview's values swing through: the graph's value range
/// widened to every numeric limit of an enabled alarm.
std::pair<double, double> PreviewBand(const GraphDefinition& graph);

}  // namespace vexa::editors
