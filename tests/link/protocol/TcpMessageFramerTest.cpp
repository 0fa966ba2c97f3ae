#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexa::link {
namespace {

using Kind = TcpMessage::Kind;

QByteArray LayoutMessage(int count, const QByteArray& path = "/data/SIMULATE.mvx")
{
    LayoutBlock block(kServerLayoutNames);
    block.setPath(path);
    block.setCount(count);
    for (int i = 0; i < count; ++i) {
        block.setName(i, "COS" + QByteArray::number(i));
    }
    return BuildLayoutMessage(block);
}

QByteArray HeaderWithCount(std::int32_t count)
{
    QByteArray message(1 + kLayoutHeaderBytes, '\0');
    message[0] = kLayoutCommand;
    WriteInt32(message.data() + 1 + kCountOffset, count);
    return message;
}

std::vector<TcpMessage> Drain(TcpMessageFramer& framer)
{
    std::vector<TcpMessage> messages;
    while (auto message = framer.next()) {
        messages.push_back(*message);
    }
    return messages;
}

TEST(TcpMessageFramer, SeveralMessagesInOneReadAreTakenInOrder)
{
    TcpMessageFramer framer(kServerLayoutNames);
    const QByteArray layout = LayoutMessage(3);
    const QByteArray stream = "??" + layout + "?";
    framer.append(stream.constData(), stream.size());
    const auto messages = Drain(framer);
    ASSERT_EQ(4u, messages.size());
    EXPECT_EQ(Kind::SampleRequest, messages[0].kind);
    EXPECT_EQ(Kind::SampleRequest, messages[1].kind);
    EXPECT_EQ(Kind::Layout, messages[2].kind);
    EXPECT_EQ(layout, messages[2].bytes);
    EXPECT_EQ(Kind::SampleRequest, messages[3].kind);
    EXPECT_EQ(0, framer.pending());
}

TEST(TcpMessageFramer, ALayoutSplitAnywhereIsJoined)
{
    const QByteArray layout = LayoutMessage(5);
    for (int cut : {1, 2, 100, 264, 265, 266, int(layout.size()) - 1}) {
        TcpMessageFramer framer(kServerLayoutNames);
        framer.append(layout.constData(), cut);
        EXPECT_FALSE(framer.next().has_value()) << "cut at " << cut;
        framer.append(layout.constData() + cut, layout.size() - cut);
        const auto messages = Drain(framer);
        ASSERT_EQ(1u, messages.size()) << "cut at " << cut;
        EXPECT_EQ(layout, messages[0].bytes);
    }
}

TEST(TcpMessageFramer, OutOfRangeCountsComeWithTheHeaderAloneAndDropTheRest)
{
    for (std::int32_t count : {601, -1, 2147483647, int(0x80000000)}) {
        TcpMessageFramer framer(kServerLayoutNames);
        const QByteArray stream = HeaderWithCount(count) + QByteArray(500, 'x') + "?";
        framer.append(stream.constData(), stream.size());
        const auto messages = Drain(framer);
        ASSERT_EQ(1u, messages.size()) << count;
        EXPECT_EQ(Kind::Layout, messages[0].kind);
        EXPECT_EQ(1 + kLayoutHeaderBytes, messages[0].bytes.size());
        EXPECT_EQ(0, framer.pending());
    }
}

TEST(TcpMessageFramer, UnknownFirstByteDropsWhatHasArrived)
{
    TcpMessageFramer framer(kServerLayoutNames);
    framer.append("x??", 3);
    EXPECT_FALSE(framer.next().has_value());
    EXPECT_EQ(0, framer.pending());
    framer.append("?", 1);
    EXPECT_EQ(1u, Drain(framer).size());
}

TEST(TcpMessageFramer, NeverHoldsMoreThanTheLongestMessage)
{
    TcpMessageFramer framer(kServerLayoutNames);
    EXPECT_EQ(LayoutMessageLength(600), framer.capacity());
    const QByteArray full = LayoutMessage(600);
    ASSERT_EQ(20065, full.size());
    const QByteArray twice = full + full;
    EXPECT_EQ(full.size(), framer.append(twice.constData(), twice.size()));
    EXPECT_EQ(0, framer.room());
    const auto messages = Drain(framer);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(full, messages[0].bytes);
    EXPECT_EQ(framer.capacity(), framer.room());
}

}  // namespace
}  // namespace vexa::link
