#pragma once

#include "graphs/toolkit/AlarmSpans.h"
#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <functional>
#include <vector>

namespace vexa::toolkit {

/// Tints the full height of the plot, behind the traces, wherever the graph
/// was in an alarm level, in that level's colour. Normal draws nothing, and
/// a disabled level never holds a row.
class AlarmShading : public ChartElement {
public:
    /// Fills the spans to tint, in pixels of the chart as laid out for this
    /// paint.
    using SpanSource = std::function<void(std::vector<AlarmSpan>& spans)>;

    AlarmShading(ChartWindow& chart, SpanSource source);

    AlarmPart& colours();

    void paint(QPainter& painter) override;

private:
    SpanSource m_source;
    AlarmPart m_colours;
    std::vector<AlarmSpan> m_spans;  ///< reused from paint to paint
};

}  // namespace vexa::toolkit
