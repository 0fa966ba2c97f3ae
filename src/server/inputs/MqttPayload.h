#pragma once

#include "server/inputs/ValueSink.h"

#include <string_view>

namespace vexa::server {

/// Parses one MQTT message. Its topic names the value, with every "/"
/// turned into "." ("plant/line1/temp" gives "plant.line1.temp"). A payload
/// that is one number (or true, 1, or false, 0) sets that name; a payload
/// that is a JSON object sets its flattened names under the topic's name
/// ({"rpm": 3000} on "engine" gives "engine.rpm"), as the JSON input reads
/// them. Blanks around the payload are ignored. An empty payload (how a
/// retained message is cleared) is skipped and counted as such; anything
/// else is a parse error. The message counts as one message.
ParseCounts ParseMqttMessage(std::string_view topic, std::string_view payload, ValueSink& sink);

}  // namespace vexa::server
