#pragma once

#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/AlarmSettings.h"
#include "graphs/toolkit/ChannelAlarm.h"
#include "graphs/toolkit/RowRing.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vexa::toolkit {

/// A real-time dataset: a number of channels, a history of the newest rows
/// kept in a ring (appending costs the same however long the graph runs),
/// alarm limits with hysteresis, and each channel's alarm state evaluated on
/// every appended row. Plain data: no widgets, no painting. The indicators
/// bound to a dataset read it when they paint.
class RealTimeDataset {
public:
    /// The history length of a dataset that keeps its whole history.
    static constexpr int kHistoryRows = 4000;
    /// The history length of a dataset that keeps only its newest row.
    static constexpr int kNoHistory = 0;
    /// The most rows reserveHistory makes a dataset keep.
    static constexpr int kLargestHistory = 100000;

    /// \p historyRows kNoHistory keeps only the newest row.
    RealTimeDataset(std::string name, int channelCount, std::vector<std::string> channelNames,
                    int historyRows);
    /// Elements that show a dataset point at it: it is neither copied nor moved.
    RealTimeDataset(const RealTimeDataset&) = delete;
    RealTimeDataset& operator=(const RealTimeDataset&) = delete;

    const std::string& name() const;
    int channelCount() const;
    /// The channel names given at creation (may be empty).
    const std::vector<std::string>& channelNames() const;
    /// How many rows the history holds: at most its capacity (1 for a
    /// dataset without history).
    int rowCount() const;
    /// From now on keeps at least the newest \p rows rows (up to
    /// kLargestHistory); the rows already held are kept. Never shrinks the
    /// history: an element that needs more rows than the dataset was
    /// created with asks for them.
    void reserveHistory(int rows);
    /// Rows appended since creation (keeps counting past the capacity).
    std::int64_t appendedRows() const;

    /// Value of \p channel in held row \p row, 0 being the oldest held row.
    double value(int row, int channel) const;
    /// The newest value of \p channel; 0 before the first row.
    double latest(int channel) const;

    /// Stores one row. A row longer than the channel count is cut, a shorter
    /// one padded with 0. Evaluates every channel's alarm state.
    void append(std::span<const double> row);

    /// Copies up to \p capacity values of \p channel, oldest first, into
    /// \p buffer; returns how many were copied.
    int readChannel(int channel, double* buffer, int capacity) const;

    /// The channel that holds the seconds since the previous row; rates are
    /// per second when it is set, per row otherwise. -1 for none.
    void setTimeChannel(int channel);
    int timeChannel() const;
    /// Seconds from the first row ever appended to the newest: the sum of
    /// the time channel over every row after the first (0 without a time
    /// channel). Kept as rows arrive, so it survives the ring's overflow.
    double elapsedTime() const;

    /// Alarm settings. Level 0 has no limit of its own.
    void setAlarmLimit(int level, double limit, bool enabled, std::string text);
    void setAlarmHysteresis(double lowHigh, double deviation);
    bool isAlarmEnabled(int level) const;
    double alarmLimit(int level) const;
    const std::string& alarmText(int level) const;

    /// The alarm state of \p channel after the newest row: kLevelNormal when
    /// no enabled level applies.
    int alarmState(int channel) const;
    /// The alarm state \p channel was in after held row \p row (0 the
    /// oldest), as it was evaluated when the row came; kLevelNormal outside
    /// the held rows.
    int alarmStateAt(int row, int channel) const;

    /// The held rows, for readers that walk many of them.
    const RowRing& rows() const;

    /// The alarm state of held row \p row (0 the oldest) as evaluated when
    /// it came: the one that wins over all its channels but the time
    /// channel (kAlarmPrecedence). kLevelNormal outside the held rows.
    int rowAlarmLevel(int row) const;
    /// The same for the walkers of rows(): one cell per row, in the same
    /// slots as the rows.
    const RowRing& rowAlarmLevels() const;
    /// Copies up to \p buffer's size row states, of the newest rows, oldest
    /// first; returns how many were copied.
    int readRowAlarmLevels(std::span<int> buffer) const;

    /// Expires when the dataset is destroyed: an element that outlives the
    /// dataset it shows (a window closing in pieces) then draws nothing.
    std::weak_ptr<const int> lifetime() const;

private:
    // (members are the implementation's)
    void recomputeElapsedTime();
    std::size_t rowStateOffset(int slot) const;

    std::string m_name;
    std::vector<std::string> m_channelNames;
    RowRing m_rows;
    RowRing m_rowLevels;  ///< one cell per row: the row's alarm state
    std::int64_t m_appended = 0;
    int m_timeChannel = -1;
    double m_elapsed = 0.0;
    AlarmSettings m_alarmSettings;
    std::vector<ChannelAlarm> m_alarms;
    /// Per held row, each channel's alarm state after it: kept in the
    /// ring's slots, one byte a channel.
    std::vector<std::uint8_t> m_rowStates;
    std::shared_ptr<const int> m_lifetime;
};

}  // namespace vexa::toolkit
