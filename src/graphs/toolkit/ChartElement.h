#pragma once

class QPainter;

namespace vexa::toolkit {

class ChartWindow;

/// Something a chart builder created on a chart window: it paints itself on
/// every paint of the window, reading its data then. The window owns it.
class ChartElement {
public:
    explicit ChartElement(ChartWindow& chart) : m_chart(chart) {}
    virtual ~ChartElement() = default;
    ChartElement(const ChartElement&) = delete;
    ChartElement& operator=(const ChartElement&) = delete;

    /// Paints with \p painter in the chart window's pixels; the plot frame
    /// has been laid out for the window's size.
    virtual void paint(QPainter& painter) = 0;

protected:
    ChartWindow& chart() const { return m_chart; }

private:
    ChartWindow& m_chart;
};

}  // namespace vexa::toolkit
