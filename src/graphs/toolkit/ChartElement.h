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

    /// True for an element that looks the same from one row to the next:
    /// what changes it (a rescale, a new text or colour) restyles its chart.
    /// On screen the steady elements created before any other are drawn
    /// once per size and style into the chart's backdrop.
    virtual bool isSteady() const { return false; }
    /// True for an element that draws where no other element of its chart
    /// draws (a legend beside the plot): when steady, it joins the backdrop
    /// wherever it was created.
    virtual bool standsApart() const { return false; }

protected:
    ChartWindow& chart() const { return m_chart; }

private:
    ChartWindow& m_chart;
};

}  // namespace vexa::toolkit
