#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::server {

/// Which live inputs run, and where. A port of 0 and an empty broker mean
/// off; every input is off until it is configured.
struct InputsConfig {
    /// Inputs listen here unless another address is given.
    static constexpr const char* kDefaultBindAddress = "127.0.0.1";

    int lineUdpPort = 0;     ///< line protocol over UDP
    int lineTcpPort = 0;     ///< line protocol over TCP
    int jsonUdpPort = 0;     ///< JSON over UDP
    std::string mqttBroker;  ///< "HOST:PORT" of the MQTT broker; empty: off
    std::vector<std::string> mqttTopics;  ///< the topic filters to subscribe to
    std::string bindAddress = kDefaultBindAddress;
    int staleAfterMs = 0;    ///< answer NaN for names not fed within this; 0: never

    bool operator==(const InputsConfig&) const = default;
};

/// The broker part of a configuration, taken apart.
struct BrokerAddress {
    std::string host;
    int port = 0;
};

/// The highest port number.
constexpr int kMaxPort = 65535;

/// A port written in decimal digits, 1 to 65535; nullopt for anything else.
std::optional<int> ParsePort(std::string_view text);
/// A stale limit in milliseconds written in decimal digits, 0 (none) up to
/// the largest int; nullopt for anything else.
std::optional<int> ParseStaleAfter(std::string_view text);
/// True for a numeric IPv4 or IPv6 address ("127.0.0.1", "0.0.0.0", "::1").
bool IsValidBindAddress(std::string_view text);
/// "HOST:PORT" with a host name or IPv4 address, or "[IPv6]:PORT"; nullopt
/// when either part is missing or malformed.
std::optional<BrokerAddress> ParseBroker(std::string_view text);
/// True for an MQTT topic filter: not empty, no NUL, "+" only as a whole
/// level and "#" only as the whole last level.
bool IsValidTopicFilter(std::string_view text);

/// What is wrong with \p config, for the user; nullopt when nothing is.
/// Two UDP inputs on one port cannot both listen, so that is wrong too.
std::optional<QString> ConfigProblem(const InputsConfig& config);

}  // namespace vexa::server
