#include "server/inputs/InputOptions.h"

#include <functional>

namespace vexa::server {

namespace {

/// One option: its name, what its value must be, and where it goes.
struct Option {
    const char* name;
    const char* expects;
    std::function<bool(InputOverrides&, const std::string& value)> take;
};

std::function<bool(InputOverrides&, const std::string&)> TakePort(std::optional<int> InputOverrides::*field)
{
    return [field](InputOverrides& overrides, const std::string& value) {
        overrides.*field = ParsePort(value);
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
         [](InputOverrides& overrides, const std::string& value) {
             overrides.mqttBroker = value;
             return ParseBroker(value).has_value();
         }},
        {"--mqtt-topic", "an MQTT topic filter",
         [](InputOverrides& overrides, const std::string& value) {
             if (!overrides.mqttTopics.has_value())
                 overrides.mqttTopics.emplace();
             overrides.mqttTopics->push_back(value);
             return IsValidTopicFilter(value);
         }},
        {"--bind", "a numeric IPv4 or IPv6 address",
         [](InputOverrides& overrides, const std::string& value) {
             overrides.bindAddress = value;
             return IsValidBindAddress(value);
         }},
        {"--stale-after", "a number of milliseconds (0 for none)",
         [](InputOverrides& overrides, const std::string& value) {
             overrides.staleAfterMs = ParseStaleAfter(value);
             return overrides.staleAfterMs.has_value();
         }},
    };
    return options;
}

const Option* FindOption(const QString& name)
{
    for (const Option& option : Options()) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
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
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const Option* option = FindOption(equals < 0 ? argument : argument.left(equals));
        if (option == nullptr)
            continue;
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            result.error = QStringLiteral("%1 needs %2").arg(QLatin1String(option->name), QLatin1String(option->expects));
            return result;
        }
        if (!option->take(result.overrides, value.toStdString())) {
            result.error = QStringLiteral("%1 needs %2, not \"%3\"")
                               .arg(QLatin1String(option->name), QLatin1String(option->expects), value);
            return result;
        }
    }
    return result;
}

}  // namespace vexa::server
