// Feeds arbitrary MQTT messages to the MQTT input's parser: the first byte
// gives the length of the topic that follows, the rest is the payload.

#include "FuzzSupport.h"

#include "server/inputs/MqttPayload.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vexa;
    if (size < 1)
        return 0;
    const std::size_t topicLength = std::min<std::size_t>(data[0], size - 1);
    const std::string_view topic(reinterpret_cast<const char*>(data) + 1, topicLength);
    const std::string_view payload(reinterpret_cast<const char*>(data) + 1 + topicLength, size - 1 - topicLength);
    fuzz::CheckingSink sink;
    const server::ParseCounts counts = server::ParseMqttMessage(topic, payload, sink);
    sink.Check(counts);
    if (counts.messages != 1)
        std::abort();
    return 0;
}
