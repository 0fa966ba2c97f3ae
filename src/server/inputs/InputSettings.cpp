#include "server/inputs/InputSettings.h"

#include "document/ProfileStore.h"

#include <functional>
#include <utility>

namespace vexa::server {

namespace {

constexpr const char* kOffPort = "0";

std::string TopicKey(std::size_t number)
{
    return InputSettings::kMqttTopicStem + std::to_string(number);
}

}  // namespace

InputSettings::InputSettings(std::string file) : m_file(std::move(file)) {}

InputsConfig InputSettings::Read(QStringList* problems) const
{
    InputsConfig config;
    auto complain = [problems](const char* key, const std::string& value) {
        if (problems != nullptr)
            problems->append(QStringLiteral("The setting %1=%2 cannot be used; it is left at its default.")
                                 .arg(QLatin1String(key), QString::fromLatin1(value)));
    };
    auto read = [this](const char* key) { return profile::ReadString(kSection, key, "", m_file); };

    const std::pair<const char*, int InputsConfig::*> ports[] = {
        {kLineUdpPortKey, &InputsConfig::lineUdpPort},
        {kLineTcpPortKey, &InputsConfig::lineTcpPort},
        {kJsonUdpPortKey, &InputsConfig::jsonUdpPort},
    };
    for (const auto& [key, field] : ports) {
        const std::string value = read(key);
        if (value.empty() || value == kOffPort)
            continue;
        if (const std::optional<int> port = ParsePort(value))
            config.*field = *port;
        else
            complain(key, value);
    }

    const std::string broker = read(kMqttBrokerKey);
    if (broker.empty() || ParseBroker(broker).has_value())
        config.mqttBroker = broker;
    else
        complain(kMqttBrokerKey, broker);
    for (std::size_t number = 1;; ++number) {
        const std::string key = TopicKey(number);
        const std::string topic = read(key.c_str());
        if (topic.empty())
            break;
        if (IsValidTopicFilter(topic))
            config.mqttTopics.push_back(topic);
        else
            complain(key.c_str(), topic);
    }

    const std::string bind = read(kBindAddressKey);
    if (bind.empty() || IsValidBindAddress(bind))
        config.bindAddress = bind.empty() ? InputsConfig::kDefaultBindAddress : bind;
    else
        complain(kBindAddressKey, bind);

    const std::string stale = read(kStaleAfterKey);
    if (!stale.empty()) {
        if (const std::optional<int> limit = ParseStaleAfter(stale))
            config.staleAfterMs = *limit;
        else
            complain(kStaleAfterKey, stale);
    }
    return config;
}

bool InputSettings::WriteChanges(const InputsConfig& before, const InputsConfig& after) const
{
    bool written = true;
    // One write of the file for all the keys; its outcome is the outcome.
    profile::BeginDeferredWrites(m_file);
    {
        auto write = [&](const std::string& key, const std::string& value) {
            written = profile::WriteString(kSection, key, value, m_file) && written;
        };
        const std::pair<const char*, int InputsConfig::*> numbers[] = {
            {kLineUdpPortKey, &InputsConfig::lineUdpPort},
            {kLineTcpPortKey, &InputsConfig::lineTcpPort},
            {kJsonUdpPortKey, &InputsConfig::jsonUdpPort},
            {kStaleAfterKey, &InputsConfig::staleAfterMs},
        };
        for (const auto& [key, field] : numbers) {
            if (before.*field != after.*field)
                write(key, std::to_string(after.*field));
        }
        if (before.mqttBroker != after.mqttBroker)
            write(kMqttBrokerKey, after.mqttBroker);
        if (before.bindAddress != after.bindAddress)
            write(kBindAddressKey, after.bindAddress);
        if (before.mqttTopics != after.mqttTopics) {
            for (std::size_t i = 0; i < after.mqttTopics.size(); ++i)
                write(TopicKey(i + 1), after.mqttTopics[i]);
            // Those beyond the new list go, up to the first absent number.
            for (std::size_t number = after.mqttTopics.size() + 1;
                 !profile::ReadString(kSection, TopicKey(number), "", m_file).empty(); ++number)
                written = profile::DeleteKey(kSection, TopicKey(number), m_file) && written;
        }
    }
    return profile::EndDeferredWrites(m_file) && written;
}

}  // namespace vexa::server
