#include "server/inputs/MqttPayload.h"

#include "InputTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace vexa::server::test {
namespace {

constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

TEST(MqttPayload, TheTopicNamesTheValueAndAnObjectSetsNamesUnderIt)
{
    struct Case {
        std::string topic;
        std::string payload;
        std::vector<SunkValue> values;
        ParseCounts counts;
    };
    const Case cases[] = {
        {"plant/line1/temp", "21.5", {{"plant.line1.temp", 21.5, kNoTime}}, {1, 1, 0, 0, 0}},
        {"p", " -0\n", {{"p", -0.0, kNoTime}}, {1, 1, 0, 0, 0}},
        {"p", "4.9e-324", {{"p", 4.9e-324, kNoTime}}, {1, 1, 0, 0, 0}},
        {"on/off", "true", {{"on.off", 1, kNoTime}}, {1, 1, 0, 0, 0}},
        {"on/off", "false", {{"on.off", 0, kNoTime}}, {1, 1, 0, 0, 0}},
        // A level left empty gives an empty part of the name.
        {"/a//b/", "1", {{".a..b.", 1, kNoTime}}, {1, 1, 0, 0, 0}},
        {"plant/engine", R"({"rpm": 3000, "temps": [1, 2.5], "timestamp": 1700000000, "s": "x"})",
         {{"plant.engine.rpm", 3000, 1700000000}, {"plant.engine.temps.0", 1, 1700000000},
          {"plant.engine.temps.1", 2.5, 1700000000}},
         {1, 3, 1, 0, 0}},
        // The retained message cleared.
        {"p", "", {}, {1, 0, 1, 0, 0}},
        {"p", " \r\n", {}, {1, 0, 1, 0, 0}},
        // Not one number, nor an object.
        {"p", "hello", {}, {1, 0, 0, 1, 0}},
        {"p", "1 2", {}, {1, 0, 0, 1, 0}},
        {"p", "12i", {}, {1, 0, 0, 1, 0}},
        {"p", "[1, 2]", {}, {1, 0, 0, 1, 0}},
        {"p", "\"1\"", {}, {1, 0, 0, 1, 0}},
        {"p", "NaN", {}, {1, 0, 0, 1, 0}},
        {"p", "inf", {}, {1, 0, 0, 1, 0}},
        {"p", "1e400", {}, {1, 0, 0, 1, 0}},
        {"p", "+1", {}, {1, 0, 0, 1, 0}},
        {"p", "True", {}, {1, 0, 0, 1, 0}},
        {"p", std::string("1\0", 2), {}, {1, 0, 0, 1, 0}},
        {"p", R"({"v": 1e400})", {}, {1, 0, 0, 1, 0}},
        {"p", R"({"v": 1)", {}, {1, 0, 0, 1, 0}},
    };
    for (const Case& message : cases) {
        RecordingSink sink;
        const ParseCounts counts = ParseMqttMessage(message.topic, message.payload, sink);
        const std::string what = message.topic + " <- " + message.payload;
        EXPECT_EQ(sink.values, message.values) << what;
        EXPECT_EQ(counts.messages, message.counts.messages) << what;
        EXPECT_EQ(counts.values, message.counts.values) << what;
        EXPECT_EQ(counts.skipped, message.counts.skipped) << what;
        EXPECT_EQ(counts.errors, message.counts.errors) << what;
    }
}

TEST(MqttPayload, ALongTopicIsHandedOnCutOneBeyondTheLimitSoThatItIsRefused)
{
    const std::string topic = std::string(40, 't') + "/x";
    RecordingSink sink;
    ParseMqttMessage(topic, "1", sink);
    ParseMqttMessage(topic, R"({"a": 2})", sink);
    ASSERT_EQ(sink.values.size(), 2u);
    EXPECT_EQ(sink.values[0].name, std::string(33, 't'));
    EXPECT_EQ(sink.values[1].name.size(), 33u);
}

}  // namespace
}  // namespace vexa::server::test
