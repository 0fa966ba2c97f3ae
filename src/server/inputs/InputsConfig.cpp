#include "server/inputs/InputsConfig.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <string>

namespace vexa::server {

namespace {

constexpr std::size_t kMaxTopicBytes = 65535;
constexpr std::size_t kMaxHostLength = 253;

std::optional<long long> ParseDigits(std::string_view text, long long highest)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > highest)
        return std::nullopt;
    return value;
}

bool IsHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_';
}

}  // namespace

std::optional<int> ParsePort(std::string_view text)
{
    const std::optional<long long> port = ParseDigits(text, kMaxPort);
    if (!port.has_value() || *port == 0)
        return std::nullopt;
    return int(*port);
}

std::optional<int> ParseStaleAfter(std::string_view text)
{
    const std::optional<long long> limit = ParseDigits(text, INT_MAX);
    if (!limit.has_value())
        return std::nullopt;
    return int(*limit);
}

bool IsValidBindAddress(std::string_view text)
{
    const std::string address(text);
    in6_addr scratch{};
    return inet_pton(AF_INET, address.c_str(), &scratch) == 1 || inet_pton(AF_INET6, address.c_str(), &scratch) == 1;
}

std::optional<BrokerAddress> ParseBroker(std::string_view text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> port = ParsePort(text.substr(colon + 1));
    std::string_view host = text.substr(0, colon);
    if (!port.has_value() || host.empty())
        return std::nullopt;
    if (host.front() == '[') {
        if (host.size() < 2 || host.back() != ']')
            return std::nullopt;
        host = host.substr(1, host.size() - 2);
        in6_addr scratch{};
        if (inet_pton(AF_INET6, std::string(host).c_str(), &scratch) != 1)
            return std::nullopt;
    } else if (host.size() > kMaxHostLength || !std::all_of(host.begin(), host.end(), IsHostCharacter)) {
        return std::nullopt;
    }
    return BrokerAddress{std::string(host), *port};
}

bool IsValidTopicFilter(std::string_view text)
{
    if (text.empty() || text.size() > kMaxTopicBytes || text.find('\0') != std::string_view::npos)
        return false;
    std::size_t levelStart = 0;
    for (;;) {
        const std::size_t levelEnd = std::min(text.find('/', levelStart), text.size());
        const std::string_view level = text.substr(levelStart, levelEnd - levelStart);
        const bool isLast = levelEnd == text.size();
        if (level.find('#') != std::string_view::npos && (level != "#" || !isLast))
            return false;
        if (level.find('+') != std::string_view::npos && level != "+")
            return false;
        if (isLast)
            return true;
        levelStart = levelEnd + 1;
    }
}

std::optional<QString> ConfigProblem(const InputsConfig& config)
{
    const std::pair<int, const char*> ports[] = {
        {config.lineUdpPort, "line protocol over UDP"},
        {config.lineTcpPort, "line protocol over TCP"},
        {config.jsonUdpPort, "JSON over UDP"},
    };
    for (const auto& [port, input] : ports) {
        if (port < 0 || port > kMaxPort)
            return QStringLiteral("The port of %1 must be a number from 1 to %2.").arg(QLatin1String(input)).arg(kMaxPort);
    }
    if (config.lineUdpPort != 0 && config.lineUdpPort == config.jsonUdpPort)
        return QStringLiteral("Line protocol over UDP and JSON over UDP cannot share port %1.").arg(config.lineUdpPort);
    if (!IsValidBindAddress(config.bindAddress))
        return QStringLiteral("The bind address \"%1\" is not a numeric IPv4 or IPv6 address.")
            .arg(QString::fromLatin1(config.bindAddress));
    if (!config.mqttBroker.empty() && !ParseBroker(config.mqttBroker).has_value())
        return QStringLiteral("The MQTT broker \"%1\" is not HOST:PORT with a port from 1 to %2.")
            .arg(QString::fromLatin1(config.mqttBroker))
            .arg(kMaxPort);
    if (!config.mqttBroker.empty() && config.mqttTopics.empty())
        return QStringLiteral("The MQTT broker needs at least one topic filter.");
    for (const std::string& topic : config.mqttTopics) {
        if (!IsValidTopicFilter(topic))
            return QStringLiteral("\"%1\" is not an MQTT topic filter.").arg(QString::fromUtf8(topic));
    }
    if (config.staleAfterMs < 0)
        return QStringLiteral("The stale limit must be 0 (none) or a number of milliseconds.");
    return std::nullopt;
}

}  // namespace vexa::server
