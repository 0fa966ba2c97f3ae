#include "server/inputs/LineAssembler.h"

#include "server/inputs/LineProtocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa::server {
namespace {

/// The lines handed out, each without its line end.
struct Collected {
    std::vector<std::string> lines;
    LineAssembler::LinesHandler handler()
    {
        return [this](std::string_view run) {
            while (!run.empty()) {
                const std::size_t end = run.find('\n');
                lines.emplace_back(run.substr(0, end));
                run = end == std::string_view::npos ? std::string_view() : run.substr(end + 1);
            }
        };
    }
};

TEST(LineAssembler, LinesComeOutWholeWhereverTheReadsCutThem)
{
    const std::string stream = "a v=1\nbb v=2\n\nccc v=3\n";
    const std::vector<std::string> expected = {"a v=1", "bb v=2", "", "ccc v=3"};
    for (std::size_t first = 0; first <= stream.size(); ++first) {
        for (std::size_t second = first; second <= stream.size(); ++second) {
            LineAssembler assembler;
            Collected out;
            assembler.Append(std::string_view(stream).substr(0, first), out.handler());
            assembler.Append(std::string_view(stream).substr(first, second - first), out.handler());
            assembler.Append(std::string_view(stream).substr(second), out.handler());
            EXPECT_EQ(out.lines, expected) << first << " " << second;
            EXPECT_EQ(assembler.pendingBytes(), 0u);
        }
    }
}

TEST(LineAssembler, ALineBeyondTheLimitIsDroppedOnceAndNeverHeld)
{
    for (std::size_t piece : {std::size_t(1000), std::size_t(4096), kMaxLineBytes + 10}) {
        LineAssembler assembler;
        Collected out;
        std::uint64_t dropped = 0;
        const std::string longest = std::string(kMaxLineBytes, 'x') + "\n";
        const std::string tooLong = std::string(kMaxLineBytes + 1, 'y') + "\n";
        const std::string stream = "first\n" + longest + tooLong + "last\nopen";
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            dropped += assembler.Append(std::string_view(stream).substr(at, piece), out.handler());
            EXPECT_LE(assembler.pendingBytes(), kMaxLineBytes);
        }
        EXPECT_EQ(dropped, 1u) << piece;
        ASSERT_EQ(out.lines.size(), 3u) << piece;
        EXPECT_EQ(out.lines[0], "first");
        EXPECT_EQ(out.lines[1].size(), kMaxLineBytes);
        EXPECT_EQ(out.lines[2], "last");

        // The end of the stream ends its last line.
        assembler.Finish(out.handler());
        EXPECT_EQ(out.lines.back(), "open");
        EXPECT_EQ(assembler.pendingBytes(), 0u);
    }
}

TEST(LineAssembler, AStreamEndingInsideADroppedLineHandsNothingMore)
{
    LineAssembler assembler;
    Collected out;
    EXPECT_EQ(assembler.Append(std::string(kMaxLineBytes + 1, 'z'), out.handler()), 1u);
    EXPECT_EQ(assembler.Append("still the same line", out.handler()), 0u);
    assembler.Finish(out.handler());
    EXPECT_TRUE(out.lines.empty());
}

}  // namespace
}  // namespace vexa::server
