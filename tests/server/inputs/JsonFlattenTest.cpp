#include "server/inputs/JsonFlatten.h"

#include "InputTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace vexa::server::test {
namespace {

constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

TEST(JsonFlatten, NestedObjectsJoinWithADotAndArrayElementsGetTheirIndex)
{
    struct Case {
        std::string text;
        std::vector<SunkValue> values;
        std::uint64_t skipped = 0;
    };
    const Case cases[] = {
        {R"({"engine": {"rpm": 3000}})", {{"engine.rpm", 3000, kNoTime}}},
        {R"({"temps": [20, 21.5, [1, {"x": -0}]], "on": true, "off": false, "s": "text", "n": null})",
         {{"temps.0", 20, kNoTime}, {"temps.1", 21.5, kNoTime}, {"temps.2.0", 1, kNoTime}, {"temps.2.1.x", -0.0, kNoTime},
          {"on", 1, kNoTime}, {"off", 0, kNoTime}},
         2},
        // The outermost "timestamp" stamps every value, also those before it.
        {R"({"a": 1, "timestamp": 1700000000.25, "b": {"timestamp": 5}})",
         {{"a", 1, 1700000000.25}, {"b.timestamp", 5, 1700000000.25}}},
        {R"({"timestamp": "noon", "v": 2})", {{"v", 2, kNoTime}}, 1},
        // Escapes in names come out as the UTF-8 the text would carry.
        {R"({"a\u00e9\"b\/": 1, "\ud83d\ude00": 2, "": 3, "x": {"": 4}})",
         {{"a\xc3\xa9\"b/", 1, kNoTime}, {"\xf0\x9f\x98\x80", 2, kNoTime}, {"", 3, kNoTime}, {"x.", 4, kNoTime}}},
        {" \r\n\t{ \"v\" : 1e2 , \"w\" : -1.5E-3 }\n ", {{"v", 100, kNoTime}, {"w", -1.5e-3, kNoTime}}},
        {R"({"tiny": 4.9e-324, "under": 1e-400, "tenth": 0.1})",
         {{"tiny", 4.9e-324, kNoTime}, {"under", 0.0, kNoTime}, {"tenth", 0.1, kNoTime}}},
        {"{}", {}},
        {R"({"empty": {}, "none": []})", {}},
    };
    for (const Case& json : cases) {
        RecordingSink sink;
        const ParseCounts counts = ParseJsonDatagram(json.text, sink);
        EXPECT_EQ(sink.values, json.values) << json.text;
        EXPECT_EQ(counts.messages, 1u) << json.text;
        EXPECT_EQ(counts.errors, 0u) << json.text;
        EXPECT_EQ(counts.values, json.values.size()) << json.text;
        EXPECT_EQ(counts.skipped, json.skipped) << json.text;
    }
}

TEST(JsonFlatten, AnythingButOneSoundObjectIsOneErrorAndGivesNoValue)
{
    const char* const texts[] = {
        "",
        "   ",
        "[1]",
        "1",
        "\"v\"",
        "{",
        R"({"a":1)",
        R"({"a":1,})",
        R"({"a":[1,]})",
        R"({"a":1}})",
        R"({"a":1} {"b":2})",
        R"({"a":1} x)",
        R"({"a" 1})",
        R"({"a":})",
        R"({a:1})",
        R"({'a':1})",
        R"({"a":01})",
        R"({"a":1.})",
        R"({"a":.5})",
        R"({"a":+1})",
        R"({"a":-})",
        R"({"a":1e})",
        R"({"a":NaN})",
        R"({"a":Infinity})",
        R"({"a":-Infinity})",
        R"({"b":2,"a":1e400})",
        R"({"a":tru})",
        R"({"a":nul})",
        R"({"a":"unterminated})",
        "{\"a\":\"tab\there\"}",
        R"({"a":"\x"})",
        R"({"a":"\u12"})",
        R"({"\ud800":1})",
        R"({"\udc00":1})",
        R"({"\ud800\u0041":1})",
        R"({"a":[1 2]})",
        R"({"a":1 "b":2})",
    };
    for (const char* text : texts) {
        RecordingSink sink;
        const ParseCounts counts = ParseJsonDatagram(text, sink);
        EXPECT_TRUE(sink.values.empty()) << text;
        EXPECT_EQ(counts.messages, 1u) << text;
        EXPECT_EQ(counts.errors, 1u) << text;
    }
}

TEST(JsonFlatten, TenThousandLevelsDeepAreFollowedWithoutRecursion)
{
    constexpr int kDepth = 10000;
    std::string objects;
    for (int i = 0; i < kDepth; ++i)
        objects += "{\"a\":";
    objects += "1" + std::string(kDepth, '}');
    const std::string arrays = "{\"x\":" + std::string(kDepth, '[') + "2" + std::string(kDepth, ']') + "}";

    RecordingSink sink;
    EXPECT_EQ(ParseJsonDatagram(objects, sink).values, 1u);
    EXPECT_EQ(ParseJsonDatagram(arrays, sink).values, 1u);
    ASSERT_EQ(sink.values.size(), 2u);
    // Far too long for a name: handed on cut one beyond the limit, to be refused.
    EXPECT_EQ(sink.values[0].name, "a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a");
    EXPECT_EQ(sink.values[1].name, "x.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0");

    // Unclosed, it is an error like any other.
    EXPECT_EQ(ParseJsonDatagram(objects.substr(0, objects.size() - 1), sink).errors, 1u);
}

TEST(JsonFlatten, APrefixGoesBeforeEveryName)
{
    RecordingSink sink;
    FlattenJsonObject(R"({"rpm": 3000, "temps": [1]})", "plant.engine", sink);
    EXPECT_EQ(sink.values, (std::vector<SunkValue>{{"plant.engine.rpm", 3000, kNoTime},
                                                   {"plant.engine.temps.0", 1, kNoTime}}));
}

}  // namespace
}  // namespace vexa::server::test
