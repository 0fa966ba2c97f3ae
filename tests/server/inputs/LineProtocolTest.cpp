#include "server/inputs/LineProtocol.h"

#include "InputTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vexa::server::test {
namespace {

constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

struct LineCase {
    std::string text;
    std::vector<SunkValue> values;
    std::uint64_t errors = 0;
    std::uint64_t skipped = 0;
};

TEST(LineProtocol, FieldsBecomeMeasurementDotFieldAndValueStandsAlone)
{
    const LineCase cases[] = {
        {"engine rpm=3000", {{"engine.rpm", 3000.0, kNoTime}}},
        {"engine value=12.5", {{"engine", 12.5, kNoTime}}},
        {"engine,host=a,line=2 rpm=3000i,temp=81.5,on=true,off=F,label=\"x y, z=\\\"q\\\"\" 1700000000000000000",
         {{"engine.rpm", 3000.0, 1.7e9}, {"engine.temp", 81.5, 1.7e9}, {"engine.on", 1.0, 1.7e9},
          {"engine.off", 0.0, 1.7e9}},
         0,
         1},
        {"pump flow=12u,a=t,b=True,c=TRUE,d=f,e=false,g=FALSE",
         {{"pump.flow", 12.0, kNoTime}, {"pump.a", 1.0, kNoTime}, {"pump.b", 1.0, kNoTime}, {"pump.c", 1.0, kNoTime},
          {"pump.d", 0.0, kNoTime}, {"pump.e", 0.0, kNoTime}, {"pump.g", 0.0, kNoTime}}},
        {"my\\ pump,site=a\\,b f\\,1\\=x=1,b\\\\s=2",
         {{"my pump.f,1=x", 1.0, kNoTime}, {"my pump.b\\s", 2.0, kNoTime}}},
        {"  indented v=1 -5000000000  ", {{"indented.v", 1.0, -5.0}}},
        {"m v=-0,w=.5,x=5.,y=-1.5E-3",
         {{"m.v", -0.0, kNoTime}, {"m.w", 0.5, kNoTime}, {"m.x", 5.0, kNoTime}, {"m.y", -1.5e-3, kNoTime}}},
        {"m big=1.7976931348623157e308,tiny=4.9e-324,under=1e-400,neg=-1e-400",
         {{"m.big", 1.7976931348623157e308, kNoTime}, {"m.tiny", 4.9e-324, kNoTime}, {"m.under", 0.0, kNoTime},
          {"m.neg", -0.0, kNoTime}}},
        {"m tenth=0.1,i=-9223372036854775808i,u=18446744073709551615u",
         {{"m.tenth", 0.1, kNoTime}, {"m.i", -9223372036854775808.0, kNoTime}, {"m.u", 18446744073709551615.0, kNoTime}}},
        {"m s=\"only a string\"", {}, 0, 1},
    };
    for (const LineCase& line : cases) {
        RecordingSink sink;
        const ParseCounts counts = ParseLineProtocol(line.text, sink);
        EXPECT_EQ(sink.values, line.values) << line.text;
        EXPECT_EQ(counts.messages, 1u) << line.text;
        EXPECT_EQ(counts.values, line.values.size()) << line.text;
        EXPECT_EQ(counts.errors, line.errors) << line.text;
        EXPECT_EQ(counts.skipped, line.skipped) << line.text;
    }
}

TEST(LineProtocol, AMalformedLineOrAnUnrepresentableNumberRefusesTheWholeLine)
{
    const char* const lines[] = {
        "m",          "m ",          "m v=",        "m =1",          "m v",          "m v=1 abc",       "m v=1 12 13",
        ",x v=1",     "m,tag v=1",   "m,=a v=1",    "m,t= v=1",      "m v=\"open",   "m v=1,",          "m v=1,,w=2",
        "m v=nan",    "m v=NaN",     "m v=inf",     "m v=-Infinity", "m v=1e400",    "m v=-1e400",      "m v=0x10",
        "m v=1.2.3",  "m v=1e",      "m v=e5",      "m v=-",         "m v=12x",      "m v=9223372036854775808i",
        "m v=-1u",    "m v=1.5i",    "m v=tru",     "m a=1,b=1e400", "m v=1 1.5",
    };
    for (const char* line : lines) {
        RecordingSink sink;
        const ParseCounts counts = ParseLineProtocol(line, sink);
        EXPECT_TRUE(sink.values.empty()) << line;
        EXPECT_EQ(counts.messages, 1u) << line;
        EXPECT_EQ(counts.errors, 1u) << line;
    }
}

TEST(LineProtocol, ABufferHoldsAnyNumberOfLinesAndIgnoresBlankAndCommentLines)
{
    RecordingSink sink;
    const ParseCounts counts = ParseLineProtocol("a v=1\r\n\n   \n# a comment v=9\nb v=2\nbroken\nc v=3", sink);
    EXPECT_EQ(sink.values, (std::vector<SunkValue>{{"a.v", 1, kNoTime}, {"b.v", 2, kNoTime}, {"c.v", 3, kNoTime}}));
    EXPECT_EQ(counts.messages, 4u);
    EXPECT_EQ(counts.values, 3u);
    EXPECT_EQ(counts.errors, 1u);
}

TEST(LineProtocol, LinesOverSixtyFourKilobytesAreDroppedAndCounted)
{
    // A string field pads the line to the exact length wanted.
    auto lineOf = [](std::size_t length) {
        const std::string head = "m v=1,s=\"";
        return head + std::string(length - head.size() - 1, 'x') + "\"";
    };
    RecordingSink sink;
    const std::string longest = lineOf(kMaxLineBytes);
    ASSERT_EQ(longest.size(), 65536u);
    ParseCounts counts = ParseLineProtocol(longest + "\n" + lineOf(kMaxLineBytes + 1) + "\nn v=2", sink);
    EXPECT_EQ(sink.values, (std::vector<SunkValue>{{"m.v", 1, kNoTime}, {"n.v", 2, kNoTime}}));
    EXPECT_EQ(counts.oversize, 1u);
    EXPECT_EQ(counts.messages, 2u);
    EXPECT_EQ(counts.skipped, 1u);
}

TEST(LineProtocol, NamesAreHandedOnAsSpelledButNeverKeptBeyondOneCharacterPastTheLimit)
{
    RecordingSink sink;
    const std::string measurement(40, 'm');
    ParseLineProtocol(measurement + " value=1," + std::string(5000, 'f') + "=2\nshort " + std::string(31, 'f') + "=3",
                      sink);
    ASSERT_EQ(sink.values.size(), 3u);
    EXPECT_EQ(sink.values[0].name, std::string(33, 'm'));
    EXPECT_EQ(sink.values[1].name, std::string(33, 'm'));
    EXPECT_EQ(sink.values[2].name, "short." + std::string(27, 'f'));
}

TEST(LineProtocol, NulAndHighBytesReachTheNameCheckUnchanged)
{
    RecordingSink sink;
    using namespace std::string_literals;
    ParseLineProtocol("a\0b v=1\n\xff\xe9 v=2\nx[1] v=3"s, sink);
    ASSERT_EQ(sink.values.size(), 3u);
    EXPECT_EQ(sink.values[0].name, "a\0b.v"s);
    EXPECT_EQ(sink.values[1].name, "\xff\xe9.v");
    EXPECT_EQ(sink.values[2].name, "x[1].v");
}

}  // namespace
}  // namespace vexa::server::test
