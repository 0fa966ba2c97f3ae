#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <QColor>
#include <QString>

#include <array>
#include <memory>

namespace vexa::toolkit {

class RealTimeDataset;

/// The alarm indicator of a dataset: it paints nothing itself, but tells
/// the readouts of its chart window in which colour to show a channel while
/// the channel is in one of the indicator's enabled levels (High, Low,
/// High High, Low Low).
class AlarmIndicator : public ChartElement {
public:
    static constexpr int kFirstLevel = kLevelHigh;
    static constexpr int kLastLevel = kLevelLowLow;

    AlarmIndicator(ChartWindow& chart, RealTimeDataset& dataset);

    void enableLevel(int level, bool on);
    bool isLevelEnabled(int level) const;
    AlarmPart& colours();

    /// True while \p channel is in an enabled level: \p fill and \p text
    /// then hold the level's colour and alarm text.
    bool channelAlarm(int channel, QColor& fill, QString& text) const;

    void paint(QPainter& painter) override;

private:
    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    std::array<bool, kAlarmLevelCount> m_enabled{};
    AlarmPart m_colours;
};

}  // namespace vexa::toolkit
