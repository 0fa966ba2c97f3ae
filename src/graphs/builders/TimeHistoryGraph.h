#pragma once

#include "graphs/toolkit/RealTimeDataset.h"

#include <QPointer>

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace vexa {
struct GraphRecord;
}

namespace vexa::toolkit {
class ChartPage;
class ChartWindow;
class ChartContext;
class TimeLabels;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// The state of a time history graph while its window is open.
struct TimeHistoryState {
    TimeHistoryState();
    ~TimeHistoryState();
    bool firstSamplePending = true;
    double lastSampleTime = 0.0;
    toolkit::TimeLabels* timeLabels = nullptr;
    std::unique_ptr<toolkit::RealTimeDataset> currentValues;
    QPointer<toolkit::ChartPage> historyWindow;
    // (the history chart's buffers, datasets and axes are the implementation's)
};

/// The scroll fraction of a strip chart of \p count measurements.
double ScrollFraction(int count);

/// Builds the main chart of a time history graph.
void BuildTimeHistoryChart(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                           GraphResources& resources);

/// Takes one sample's converted values (one per measurement) and its time
/// stamp: fills \p row with the values and the time difference to the
/// previous sample. False when the sample is to be dropped (a difference of
/// 0 or less). Does nothing and returns false while the state is absent.
bool TakeTimeHistorySample(GraphResources& resources, std::span<const double> values, double timeStamp,
                           std::vector<double>& row);

}  // namespace vexa::graphs
