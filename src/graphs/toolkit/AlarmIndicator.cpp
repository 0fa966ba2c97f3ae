#include "graphs/toolkit/AlarmIndicator.h"

#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/Toolkit.h"

namespace vexa::toolkit {

AlarmIndicator::AlarmIndicator(ChartWindow& chart, RealTimeDataset& dataset)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
{
}

void AlarmIndicator::enableLevel(int level, bool on)
{
    if (level >= kFirstLevel && level <= kLastLevel) {
        m_enabled[level] = on;
    }
}

bool AlarmIndicator::isLevelEnabled(int level) const
{
    return level >= kFirstLevel && level <= kLastLevel && m_enabled[level];
}

AlarmPart& AlarmIndicator::colours()
{
    return m_colours;
}

bool AlarmIndicator::channelAlarm(int channel, QColor& fill, QString& text) const
{
    if (m_datasetLifetime.expired()) {
        return false;
    }
    const int level = m_dataset.alarmState(channel);
    if (!isLevelEnabled(level)) {
        return false;
    }
    fill = PaletteColour(m_colours.colours[level]);
    text = QString::fromStdString(m_dataset.alarmText(level)).trimmed();
    return true;
}

void AlarmIndicator::paint(QPainter& /*painter*/)
{
    // Shown through the readouts of the chart window.
}

}  // namespace vexa::toolkit
