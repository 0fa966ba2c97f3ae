#pragma once

#include "server/inputs/InputsConfig.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace vexa::server {

/// The inputs' settings given on the command line. Each one given wins over
/// the settings file for the run, and none is written to it.
struct InputOverrides {
    std::optional<int> lineUdpPort;
    std::optional<int> lineTcpPort;
    std::optional<int> jsonUdpPort;
    std::optional<std::string> mqttBroker;
    std::optional<std::vector<std::string>> mqttTopics;
    std::optional<std::string> bindAddress;
    std::optional<int> staleAfterMs;

    /// \p config with every setting given here put in its place.
    InputsConfig AppliedTo(InputsConfig config) const;
};

/// The outcome of reading the command line: the overrides, or what was wrong.
struct InputOptionsResult {
    InputOverrides overrides;
    QString error;  ///< empty when the options were sound
};

/// Reads the inputs' options from \p arguments (the program's name first):
/// --line-udp PORT, --line-tcp PORT, --json-udp PORT, --mqtt HOST:PORT,
/// --mqtt-topic FILTER (repeatable), --bind ADDRESS and --stale-after MS,
/// each also as --option=VALUE. Other arguments are left to others. A
/// missing or malformed value is an error.
InputOptionsResult ParseInputOptions(const QStringList& arguments);

}  // namespace vexa::server
