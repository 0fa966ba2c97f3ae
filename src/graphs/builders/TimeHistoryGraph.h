#pragma once

#include "document/DisplayFormat.h"
#include "graphs/core/GraphState.h"
#include "graphs/toolkit/RealTimeDataset.h"

#include <QPointer>

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class Axis;
class ChartPage;
class ChartWindow;
class ChartContext;
class StaticDataset;
class TimeLabels;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// The state of a time history graph while its window is open: the sample
/// intake's last time stamp, the time labels started by the first sample,
/// the dataset behind the current-value readouts, and the history window
/// with what its chart was built from.
struct TimeHistoryState : GraphState {
    TimeHistoryState();
    /// Closes an open history window first, then lets go of the static
    /// datasets its chart drew.
    ~TimeHistoryState() override;

    bool firstSamplePending = true;
    double lastSampleTime = 0.0;
    toolkit::TimeLabels* timeLabels = nullptr;
    std::unique_ptr<toolkit::RealTimeDataset> currentValues;

    /// The history window: a top-level page owned by the graph window.
    QPointer<toolkit::ChartPage> historyWindow;
    /// The chart window on it, rebuilt by "Get New Data Samples".
    QPointer<toolkit::ChartWindow> historyChart;

    /// The newest history as the history chart was last built from it:
    /// elapsed times and one value series per measurement.
    std::vector<double> historyTimes;
    std::array<std::vector<double>, kMaxMeasurementsPerGraph> historyValues;
    /// Each of those samples' alarm state (the level that won over the
    /// graph's measurements).
    std::vector<int> historyRowLevels;
    /// Each value's alarm level, as it was evaluated when its sample came.
    std::array<std::vector<int>, kMaxMeasurementsPerGraph> historyLevels;
    /// How many samples the buffers hold (0 when the extraction failed).
    int historyPoints = 0;
    double historyTimeMinimum = 0.0;
    double historyTimeMaximum = 0.0;
    double historyValueMinimum = 0.0;
    double historyValueMaximum = 0.0;
    /// Where the value axis crosses (the oldest time) and where the time
    /// axis crosses (the smallest value).
    double timeAxisCrossing = 0.0;
    double valueAxisCrossing = 0.0;
    toolkit::Axis* historyTimeAxis = nullptr;
    toolkit::Axis* historyValueAxis = nullptr;
    std::array<std::unique_ptr<toolkit::StaticDataset>, kMaxMeasurementsPerGraph> historyDatasets;
};

/// The time history state of the graph that \p resources show; null before
/// its chart is built, and for the other types.
TimeHistoryState* TimeHistoryStateOf(GraphResources& resources);
const TimeHistoryState* TimeHistoryStateOf(const GraphResources& resources);

/// The scroll fraction of a strip chart of \p count measurements.
double ScrollFraction(int count);

/// Builds the main chart of a time history graph.
void BuildTimeHistoryChart(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                           GraphResources& resources);

/// Takes one sample's converted values (one per measurement) and its time
/// stamp: fills \p row with the values and the time difference to the
/// previous sample. False when the sample is to be dropped (a difference of
/// 0 or less). Does nothing and returns false while the state is absent.
bool TakeTimeHistorySample(GraphResources& resources, std::span<const double> values, double timeStamp,
                           std::vector<double>& row);

/// Reads the newest history of \p history (channels 0 ... count - 1 the
/// values, channel \p count the time differences) into the state's buffers:
/// the differences become elapsed times by a running sum in which the
/// oldest kept sample keeps its own difference. Sets the state's time and
/// value extents, each value's alarm level and the samples' alarm states
/// (the level that won over the graph's measurements). False, with
/// \p pointCount 0, when fewer than two samples are held in the time channel
/// or in any value channel.
bool ExtractHistory(const toolkit::RealTimeDataset& history, int count, TimeHistoryState& state, int& pointCount);

/// What the "History" button does: opens the history window of the graph,
/// or says that it is already open.
void OpenHistoryWindow(const GraphDefinition& graph, GraphResources& resources);

}  // namespace vexa::graphs
