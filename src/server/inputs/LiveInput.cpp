#include "server/inputs/LiveInput.h"

#include "server/engine/LiveValues.h"
#include "server/engine/ServerLog.h"
#include "server/inputs/MeasurementName.h"
#include "server/inputs/ValueTable.h"

#include <QDateTime>

#include <utility>

namespace vexa::server {

QString InputStateText(InputState state)
{
    switch (state) {
    case InputState::Off:
        return QStringLiteral("off");
    case InputState::Listening:
        return QStringLiteral("listening");
    case InputState::Connecting:
        return QStringLiteral("connecting");
    case InputState::Connected:
        return QStringLiteral("connected");
    case InputState::Reconnecting:
        return QStringLiteral("reconnecting");
    case InputState::Failed:
        return QStringLiteral("failed");
    case InputState::Replaying:
        return QStringLiteral("replaying");
    }
    return {};
}

LiveInput::LiveInput(QString name, int index, ValueTable& table, ServerLog& log, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_index(index), m_table(table), m_log(log)
{
}

void LiveInput::CloseSecond()
{
    m_valuesPerSecond = m_counters.values - m_valuesAtSecond;
    m_bytesPerSecond = m_counters.bytes - m_bytesAtSecond;
    m_valuesAtSecond = m_counters.values;
    m_bytesAtSecond = m_counters.bytes;
}

void LiveInput::setState(InputState state, const QString& detail)
{
    // Every failed attempt is told, also one that fails as the last did.
    if (state == m_state && detail == m_detail && state != InputState::Failed)
        return;
    const InputState before = m_state;
    m_state = state;
    m_detail = detail;
    switch (state) {
    case InputState::Off:
        if (before != InputState::Failed)
            m_log.LogLine(QStringLiteral("%1: stopped").arg(m_name));
        break;
    case InputState::Listening:
        m_log.LogLine(QStringLiteral("%1: listening on %2").arg(m_name, detail));
        break;
    case InputState::Connecting:
        break;
    case InputState::Connected:
        m_log.LogLine(QStringLiteral("%1: connected to %2").arg(m_name, detail));
        break;
    case InputState::Reconnecting:
        m_log.LogLine(QStringLiteral("%1: reconnecting: %2").arg(m_name, detail));
        break;
    case InputState::Failed:
        m_log.LogLine(QStringLiteral("%1: failed: %2").arg(m_name, detail));
        break;
    case InputState::Replaying:
        m_log.LogLine(QStringLiteral("%1: replaying %2").arg(m_name, detail));
        break;
    }
    emit stateChanged();
}

void LiveInput::setDetail(const QString& detail)
{
    if (detail == m_detail)
        return;
    m_detail = detail;
    emit stateChanged();
}

void LiveInput::CountReceived(std::uint64_t bytes)
{
    m_counters.bytes += bytes;
    m_counters.lastMessageMs = QDateTime::currentMSecsSinceEpoch();
}

void LiveInput::CountParse(const ParseCounts& counts)
{
    m_counters.messages += counts.messages;
    m_counters.parseErrors += counts.errors;
    m_counters.skipped += counts.skipped;
    m_counters.oversizeLines += counts.oversize;
}

LiveInput::Feed::Feed(LiveInput& input) : m_input(input), m_nowMs(MonotonicMs()) {}

void LiveInput::Feed::Value(std::string_view name, double value, double sourceTime)
{
    InputCounters& counters = m_input.m_counters;
    if (!IsValidMeasurementName(name)
        || m_input.m_table.Store(name, value, sourceTime, m_input.m_index, m_nowMs)
               == ValueTable::StoreResult::Refused) {
        ++counters.refusedNames;
        return;
    }
    ++counters.values;
}

}  // namespace vexa::server
