#include "graphs/toolkit/ButtonRelay.h"

#include "graphs/toolkit/ChartWindow.h"

#include <QPushButton>

#include <utility>

namespace vexa::toolkit {

ButtonRelay::ButtonRelay(QPushButton& button, ChartWindow& chart, ButtonHandler handler)
    : QObject(&button)
    , m_chart(&chart)
    , m_handler(std::move(handler))
{
    connect(&button, &QPushButton::clicked, this, &ButtonRelay::relayClick);
}

void ButtonRelay::relayClick()
{
    // The handler may destroy the chart (a rebuild): it only schedules the
    // deletion, so the chart is still there while the handler runs.
    if (m_chart.isNull() || m_chart->isClosing() || !m_handler) {
        return;
    }
    m_handler(*m_chart);
}

}  // namespace vexa::toolkit
