#include "server/inputs/InputSet.h"

#include "server/engine/ServerLog.h"
#include "server/inputs/JsonFlatten.h"
#include "server/inputs/LineProtocol.h"
#include "server/inputs/MqttInput.h"
#include "server/inputs/TcpLineInput.h"
#include "server/inputs/UdpInput.h"

#include <utility>

namespace vexa::server {

InputSet::InputSet(ServerLog& log, QObject* parent) : QObject(parent), m_log(log)
{
    m_inputs.push_back(std::make_unique<UdpInput>(QStringLiteral("Line protocol over UDP"), kLineUdpInput,
                                                  &InputsConfig::lineUdpPort, &ParseLineProtocol, m_table, m_log));
    m_inputs.push_back(std::make_unique<TcpLineInput>(QStringLiteral("Line protocol over TCP"), kLineTcpInput,
                                                      m_table, m_log));
    m_inputs.push_back(std::make_unique<UdpInput>(QStringLiteral("JSON over UDP"), kJsonUdpInput,
                                                  &InputsConfig::jsonUdpPort, &ParseJsonDatagram, m_table, m_log));
    m_inputs.push_back(std::make_unique<MqttInput>(QStringLiteral("MQTT"), kMqttInput, m_table, m_log));
    m_rates.setInterval(kRateIntervalMs);
    connect(&m_rates, &QTimer::timeout, this, &InputSet::CloseSecond);
}

InputSet::~InputSet() = default;

void InputSet::Apply(const InputsConfig& config)
{
    for (const std::unique_ptr<LiveInput>& input : m_inputs)
        input->Apply(config);

    if (config.staleAfterMs != m_table.staleAfter()) {
        m_table.setStaleAfter(config.staleAfterMs);
        m_log.LogLine(config.staleAfterMs > 0
                          ? QStringLiteral("Live values stale after %1 ms").arg(config.staleAfterMs)
                          : QStringLiteral("Live values never stale"));
    }
    m_config = config;
    KeepRates();
}

void InputSet::KeepRates()
{
    if (!hasLiveSources())
        m_rates.stop();
    else if (!m_rates.isActive())
        m_rates.start();
}

void InputSet::LogTotals()
{
    for (const std::unique_ptr<LiveInput>& input : m_inputs) {
        const InputCounters& counts = std::as_const(*input).counters();
        if (counts.messages == 0 && counts.kernelDrops == 0)
            continue;
        m_log.LogLine(QStringLiteral("%1: %2 messages, %3 values, %4 bytes, %5 parse errors, %6 refused names, "
                                     "%7 skipped, %8 oversize lines, %9 kernel drops")
                          .arg(input->name())
                          .arg(counts.messages)
                          .arg(counts.values)
                          .arg(counts.bytes)
                          .arg(counts.parseErrors)
                          .arg(counts.refusedNames)
                          .arg(counts.skipped)
                          .arg(counts.oversizeLines)
                          .arg(counts.kernelDrops));
    }
}

QString InputSet::inputName(int index) const
{
    return index >= 0 && index < inputCount() ? input(index).name() : QString();
}

void InputSet::setNotice(const QString& notice)
{
    if (notice == m_notice)
        return;
    m_notice = notice;
    emit noticeChanged();
}

bool InputSet::hasLiveSources() const
{
    for (const std::unique_ptr<LiveInput>& input : m_inputs) {
        if (input->isConfigured())
            return true;
    }
    return false;
}

void InputSet::BindLayout(const link::LayoutBlock& layout, int count)
{
    std::vector<std::string> names;
    names.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const QByteArray name = layout.name(i);
        names.emplace_back(name.constData(), std::size_t(name.size()));
    }
    m_table.BindLayout(names);
}

std::optional<double> InputSet::LiveValueAt(int position, std::int64_t nowMs) const
{
    return m_table.LayoutValue(position, nowMs);
}

void InputSet::CloseSecond()
{
    for (const std::unique_ptr<LiveInput>& input : m_inputs)
        input->CloseSecond();
}

}  // namespace vexa::server
