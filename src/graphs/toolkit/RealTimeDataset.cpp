#include "graphs/toolkit/RealTimeDataset.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vexa::toolkit {

namespace {

int historyCapacity(int historyRows)
{
    // A dataset without history still holds its newest row.
    return std::clamp(historyRows, 1, RealTimeDataset::kHistoryRows);
}

}  // namespace

RealTimeDataset::RealTimeDataset(std::string name, int channelCount, std::vector<std::string> channelNames,
                                 int historyRows)
    : m_name(std::move(name))
    , m_channelNames(std::move(channelNames))
    , m_rows(std::max(channelCount, 0), historyCapacity(historyRows))
    , m_rowLevels(1, historyCapacity(historyRows))
    , m_alarms(static_cast<std::size_t>(std::max(channelCount, 0)))
    , m_rowStates(static_cast<std::size_t>(m_rows.capacity()) * m_alarms.size(), kLevelNormal)
    , m_lifetime(std::make_shared<const int>(0))
{
}

const std::string& RealTimeDataset::name() const
{
    return m_name;
}

int RealTimeDataset::channelCount() const
{
    return m_rows.width();
}

const std::vector<std::string>& RealTimeDataset::channelNames() const
{
    return m_channelNames;
}

int RealTimeDataset::rowCount() const
{
    return m_rows.size();
}

void RealTimeDataset::reserveHistory(int rows)
{
    const int oldCapacity = m_rows.capacity();
    std::vector<std::uint8_t> states;
    if (std::min(rows, kLargestHistory) > oldCapacity) {
        // The ring moves its held rows to the front, oldest first: their
        // states go the same way.
        states.assign(static_cast<std::size_t>(std::min(rows, kLargestHistory)) * m_alarms.size(), kLevelNormal);
        for (int index = 0; index < m_rows.size(); ++index) {
            std::copy_n(m_rowStates.begin() + static_cast<std::ptrdiff_t>(rowStateOffset(m_rows.slotOf(index))),
                        m_alarms.size(), states.begin() + static_cast<std::ptrdiff_t>(index * m_alarms.size()));
        }
    }
    m_rows.reserve(std::min(rows, kLargestHistory));
    m_rowLevels.reserve(std::min(rows, kLargestHistory));
    if (m_rows.capacity() != oldCapacity) {
        m_rowStates = std::move(states);
    }
}

std::size_t RealTimeDataset::rowStateOffset(int slot) const
{
    return static_cast<std::size_t>(slot) * m_alarms.size();
}

std::int64_t RealTimeDataset::appendedRows() const
{
    return m_appended;
}

double RealTimeDataset::value(int row, int channel) const
{
    if (row < 0 || row >= m_rows.size() || channel < 0 || channel >= m_rows.width()) {
        return 0.0;
    }
    return m_rows.row(row)[channel];
}

double RealTimeDataset::latest(int channel) const
{
    return value(m_rows.size() - 1, channel);
}

void RealTimeDataset::append(std::span<const double> row)
{
    const bool firstRow = m_appended == 0;
    m_rows.push(row);
    ++m_appended;
    const auto stored = m_rows.row(m_rows.size() - 1);

    double seconds = 0.0;
    if (m_timeChannel >= 0) {
        seconds = stored[m_timeChannel];
        // The first row's difference reaches back to no earlier row: time
        // counts from the first row itself.
        if (!firstRow && std::isfinite(seconds)) {
            m_elapsed += seconds;
        }
    }
    int rowLevel = kLevelNormal;
    std::uint8_t* states = m_rowStates.data() + rowStateOffset(m_rows.slotOf(m_rows.size() - 1));
    for (int channel = 0; channel < channelCount(); ++channel) {
        if (channel != m_timeChannel) {
            m_alarms[channel].evaluate(stored[channel], seconds, m_alarmSettings);
            const int level = m_alarms[channel].state(m_alarmSettings);
            states[channel] = static_cast<std::uint8_t>(level);
            if (AlarmWeight(level) > AlarmWeight(rowLevel)) {
                rowLevel = level;
            }
        } else {
            states[channel] = kLevelNormal;
        }
    }
    const double levelCell = rowLevel;
    m_rowLevels.push({&levelCell, 1});
}

int RealTimeDataset::readChannel(int channel, double* buffer, int capacity) const
{
    return m_rows.copyColumn(channel, buffer, capacity);
}

void RealTimeDataset::setTimeChannel(int channel)
{
    const int timeChannel = (channel >= 0 && channel < channelCount()) ? channel : -1;
    if (timeChannel == m_timeChannel) {
        return;
    }
    m_timeChannel = timeChannel;
    if (m_timeChannel >= 0) {
        m_alarms[m_timeChannel] = ChannelAlarm();  // time differences raise no alarms
    }
    recomputeElapsedTime();
}

void RealTimeDataset::recomputeElapsedTime()
{
    // Only rows still held can be summed; the first row ever appended, when
    // still held, contributes nothing.
    m_elapsed = 0.0;
    if (m_timeChannel < 0) {
        return;
    }
    const bool firstHeld = m_appended == m_rows.size();
    for (int row = firstHeld ? 1 : 0; row < m_rows.size(); ++row) {
        const double seconds = m_rows.row(row)[m_timeChannel];
        if (std::isfinite(seconds)) {
            m_elapsed += seconds;
        }
    }
}

int RealTimeDataset::timeChannel() const
{
    return m_timeChannel;
}

double RealTimeDataset::elapsedTime() const
{
    return m_elapsed;
}

void RealTimeDataset::setAlarmLimit(int level, double limit, bool enabled, std::string text)
{
    m_alarmSettings.setLevel(level, limit, enabled, std::move(text));
    if (!enabled) {
        for (ChannelAlarm& alarm : m_alarms) {
            alarm.clear(level);
        }
    }
}

void RealTimeDataset::setAlarmHysteresis(double lowHigh, double deviation)
{
    m_alarmSettings.setHysteresis(lowHigh, deviation);
}

bool RealTimeDataset::isAlarmEnabled(int level) const
{
    return m_alarmSettings.isEnabled(level);
}

double RealTimeDataset::alarmLimit(int level) const
{
    return m_alarmSettings.limit(level);
}

const std::string& RealTimeDataset::alarmText(int level) const
{
    return m_alarmSettings.text(level);
}

int RealTimeDataset::alarmState(int channel) const
{
    if (channel < 0 || channel >= channelCount()) {
        return kLevelNormal;
    }
    return m_alarms[channel].state(m_alarmSettings);
}

int RealTimeDataset::alarmStateAt(int row, int channel) const
{
    if (row < 0 || row >= m_rows.size() || channel < 0 || channel >= channelCount()) {
        return kLevelNormal;
    }
    return m_rowStates[rowStateOffset(m_rows.slotOf(row)) + static_cast<std::size_t>(channel)];
}

const RowRing& RealTimeDataset::rows() const
{
    return m_rows;
}

int RealTimeDataset::rowAlarmLevel(int row) const
{
    if (row < 0 || row >= m_rowLevels.size()) {
        return kLevelNormal;
    }
    return static_cast<int>(m_rowLevels.row(row)[0]);
}

const RowRing& RealTimeDataset::rowAlarmLevels() const
{
    return m_rowLevels;
}

int RealTimeDataset::readRowAlarmLevels(std::span<int> buffer) const
{
    const int copied = static_cast<int>(std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(m_rowLevels.size())));
    const int first = m_rowLevels.size() - copied;
    for (int i = 0; i < copied; ++i) {
        buffer[static_cast<std::size_t>(i)] = rowAlarmLevel(first + i);
    }
    return copied;
}

std::weak_ptr<const int> RealTimeDataset::lifetime() const
{
    return m_lifetime;
}

}  // namespace vexa::toolkit
