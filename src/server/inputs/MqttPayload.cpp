#include "server/inputs/MqttPayload.h"

#include "server/inputs/DecimalNumber.h"
#include "server/inputs/JsonFlatten.h"
#include "server/inputs/MeasurementName.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace vexa::server {

namespace {

constexpr char kTopicSeparator = '/';
constexpr char kNameSeparator = '.';
/// Names are handed on cut to one character beyond the longest valid one,
/// so that the name check refuses a longer one.
constexpr std::size_t kNameCap = kMaxMeasurementNameLength + 1;
constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

/// A payload that is one value: a decimal number, true or false.
std::optional<double> ReadScalar(std::string_view text)
{
    if (text == "true")
        return 1.0;
    if (text == "false")
        return 0.0;
    return ReadDecimal(text);
}

}  // namespace

ParseCounts ParseMqttMessage(std::string_view topic, std::string_view payload, ValueSink& sink)
{
    std::array<char, kNameCap> nameBytes;
    const std::size_t nameLength = std::min(topic.size(), nameBytes.size());
    std::replace_copy(topic.begin(), topic.begin() + std::ptrdiff_t(nameLength), nameBytes.begin(),
                      kTopicSeparator, kNameSeparator);
    const std::string_view name(nameBytes.data(), nameLength);

    const std::string_view value = Trimmed(payload);
    if (!value.empty() && value.front() == '{')
        return FlattenJsonObject(value, name, sink);
    ParseCounts counts;
    counts.messages = 1;
    if (value.empty()) {
        counts.skipped = 1;
        return counts;
    }
    const std::optional<double> number = ReadScalar(value);
    if (!number.has_value()) {
        counts.errors = 1;
        return counts;
    }
    sink.Value(name, *number, std::numeric_limits<double>::quiet_NaN());
    counts.values = 1;
    return counts;
}

}  // namespace vexa::server
