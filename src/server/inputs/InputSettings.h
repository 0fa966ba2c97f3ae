#pragma once

#include "server/inputs/InputsConfig.h"

#include <QStringList>

#include <string>

namespace vexa::server {

/// The inputs' keys in the server's section of the settings file.
class InputSettings {
public:
    static constexpr const char* kSection = "VEXA-Com";
    static constexpr const char* kLineUdpPortKey = "LineUdpPort";
    static constexpr const char* kLineTcpPortKey = "LineTcpPort";
    static constexpr const char* kJsonUdpPortKey = "JsonUdpPort";
    static constexpr const char* kMqttBrokerKey = "MqttBroker";
    /// The topic filters are "MqttTopic1", "MqttTopic2", ...; reading stops
    /// at the first absent number.
    static constexpr const char* kMqttTopicStem = "MqttTopic";
    static constexpr const char* kBindAddressKey = "BindAddress";
    static constexpr const char* kStaleAfterKey = "StaleAfterMs";

    explicit InputSettings(std::string file);

    const std::string& file() const { return m_file; }

    /// The configuration the file holds. A value that cannot be used leaves
    /// its setting at the default (an input off, the loopback address, no
    /// stale limit), and a text saying so is added to \p problems.
    InputsConfig Read(QStringList* problems = nullptr) const;

    /// Writes the keys of the settings that differ between \p before and
    /// \p after, and only those, so that settings given on the command line
    /// and left alone are never written. False when the file could not be
    /// written.
    bool WriteChanges(const InputsConfig& before, const InputsConfig& after) const;

private:
    std::string m_file;
};

}  // namespace vexa::server
