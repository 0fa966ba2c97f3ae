#include "server/inputs/InputOptions.h"

#include "server/inputs/CommandLineOptions.h"

#include <functional>

namespace vexa::server {

namespace {

using Option = CommandLineOption<InputOverrides>;

std::function<bool(InputOverrides&, const QString&)> TakePort(std::optional<int> InputOverrides::*field)
{
    return [field](InputOverrides& overrides, const QString& value) {
        overrides.*field = ParsePort(value.toStdString());
        return (overrides.*field).has_value();
    };
}

const std::vector<Option>& Options()
{
    static const std::vector<Option> options = {
        {"--line-udp", "a port from 1 to 65535", TakePort(&InputOverrides::lineUdpPort)},
        {"--line-tcp", "a port from 1 to 65535", TakePort(&InputOverrides::lineTcpPort)},
        {"--json-udp", "a port from 1 to 65535", TakePort(&InputOverrides::jsonUdpPort)},
        {"--mqtt", "HOST:PORT",
         [](InputOverrides& overrides, const QString& value) {
             overrides.mqttBroker = value.toStdString();
             return ParseBroker(*overrides.mqttBroker).has_value();
         }},
        {"--mqtt-topic", "an MQTT topic filter",
         [](InputOverrides& overrides, const QString& value) {
             if (!overrides.mqttTopics.has_value())
                 overrides.mqttTopics.emplace();
             overrides.mqttTopics->push_back(value.toStdString());
             return IsValidTopicFilter(overrides.mqttTopics->back());
         }},
        {"--bind", "a numeric IPv4 or IPv6 address",
         [](InputOverrides& overrides, const QString& value) {
             overrides.bindAddress = value.toStdString();
             return IsValidBindAddress(*overrides.bindAddress);
         }},
        {"--stale-after", "a number of milliseconds (0 for none)",
         [](InputOverrides& overrides, const QString& value) {
             overrides.staleAfterMs = ParseStaleAfter(value.toStdString());
             return overrides.staleAfterMs.has_value();
         }},
    };
    return options;
}

}  // namespace

InputsConfig InputOverrides::AppliedTo(InputsConfig config) const
{
    config.lineUdpPort = lineUdpPort.value_or(config.lineUdpPort);
    config.lineTcpPort = lineTcpPort.value_or(config.lineTcpPort);
    config.jsonUdpPort = jsonUdpPort.value_or(config.jsonUdpPort);
    config.mqttBroker = mqttBroker.value_or(config.mqttBroker);
    config.mqttTopics = mqttTopics.value_or(config.mqttTopics);
    config.bindAddress = bindAddress.value_or(config.bindAddress);
    config.staleAfterMs = staleAfterMs.value_or(config.staleAfterMs);
    return config;
}

InputOptionsResult ParseInputOptions(const QStringList& arguments)
{
    InputOptionsResult result;
    result.error = ReadCommandLine(arguments, Options(), result.overrides);
    return result;
}

}  // namespace vexa::server
