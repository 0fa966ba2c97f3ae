#include "link/protocol/DataSample.h"
#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace vexa::link {
namespace {

TEST(WireFormat, NumbersAreLittleEndianIeeeDoubles)
{
    char bytes[8] = {};
    WriteInt32(bytes, 0x01020304);
    EXPECT_EQ(0, std::memcmp(bytes, "\x04\x03\x02\x01", 4));
    WriteInt32(bytes, -2);
    EXPECT_EQ(0, std::memcmp(bytes, "\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(-2, ReadInt32(bytes));

    WriteDouble(bytes, 1.0);
    EXPECT_EQ(0, std::memcmp(bytes, "\x00\x00\x00\x00\x00\x00\xF0\x3F", 8));
    WriteDouble(bytes, -1.0);
    EXPECT_EQ(0, std::memcmp(bytes, "\x00\x00\x00\x00\x00\x00\xF0\xBF", 8));
    WriteDouble(bytes, 45296.5);
    EXPECT_EQ(45296.5, ReadDouble(bytes));
    WriteDouble(bytes, std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(std::isnan(ReadDouble(bytes)));
}

// The sizes of the blocks and samples that cross between the two programs.
static_assert(kLayoutHeaderBytes == 264);
static_assert(kDisplayLayoutBytes == 16104);
static_assert(kServerLayoutBytes == 20064);
static_assert(kDisplaySampleBytes == 3848);
static_assert(kServerSampleBytes == 4808);

TEST(WireFormat, BlocksAndSamplesAreMadeInTheirSizes)
{
    EXPECT_EQ(20064, LayoutBlock(kServerLayoutNames).size());
    EXPECT_EQ(16104, LayoutBlock(kDisplayLayoutNames).size());
    EXPECT_EQ(4808, DataSample(kServerLayoutNames).size());
}

TEST(LayoutBlock, ThreeNamesTravelAs364BytesWithTheirFieldsInPlace)
{
    LayoutBlock block(kDisplayLayoutNames);
    block.setPath("C:\\DATA\\SIMULATE.MVX");
    block.setCount(3);
    block.setName(0, "COS1");
    block.setName(1, "SIN1");
    block.setName(2, "TRI1");

    const QByteArray message = BuildLayoutMessage(block);
    ASSERT_EQ(364, message.size());
    EXPECT_EQ(364, LayoutMessageLength(3));
    EXPECT_EQ('M', message[0]);
    EXPECT_EQ(QByteArray("C:\\DATA\\SIMULATE.MVX"), QByteArray(message.constData() + 1));
    EXPECT_EQ(3, ReadInt32(message.constData() + 1 + 260));
    EXPECT_EQ(QByteArray("SIN1"), QByteArray(message.constData() + 1 + 264 + 33));
    EXPECT_EQ(QByteArray("TRI1"), QByteArray(message.constData() + 1 + 264 + 66));
    EXPECT_EQ('\0', message[363]);

    EXPECT_EQ(32, SampleBytesFor(3));
    EXPECT_EQ(QByteArray(1, '?'), BuildSampleRequest());
}

TEST(LayoutBlock, FieldsAreCutToTheirWidthAndReadWithinIt)
{
    LayoutBlock block(kServerLayoutNames);
    block.setName(0, QByteArray(40, 'A'));
    EXPECT_EQ(QByteArray(32, 'A'), block.name(0));
    block.setPath(QByteArray(300, 'p'));
    EXPECT_EQ(QByteArray(259, 'p'), block.path());

    // A received block whose fields carry no NUL at all.
    QByteArray full(kServerLayoutBytes, 'x');
    block.assign(full.constData(), full.size());
    EXPECT_EQ(QByteArray(259, 'x'), block.path());
    EXPECT_EQ(QByteArray(32, 'x'), block.name(0));
    EXPECT_EQ(QByteArray(32, 'x'), block.name(kServerLayoutNames - 1));
    EXPECT_TRUE(block.name(kServerLayoutNames).isEmpty());
    EXPECT_TRUE(block.name(-1).isEmpty());
    EXPECT_FALSE(block.isCountValid());
    // A count out of range sends the header alone.
    EXPECT_EQ(264, block.wireBytes().size());
}

TEST(LayoutBlock, AssigningReceivedBytesZeroesWhatDidNotCome)
{
    LayoutBlock block(kServerLayoutNames);
    block.setCount(2);
    block.setName(0, "OLD0");
    block.setName(1, "OLD1");

    LayoutBlock sent(kServerLayoutNames);
    sent.setCount(2);
    sent.setName(0, "NEW0");
    const QByteArray bytes = sent.wireBytes().left(264 + 10);
    block.assign(bytes.constData(), bytes.size());
    EXPECT_EQ(QByteArray("NEW0"), block.name(0));
    EXPECT_TRUE(block.name(1).isEmpty());

    // More than the block holds is cut at its size.
    const QByteArray tooMuch(kServerLayoutBytes + 100, '\0');
    block.assign(tooMuch.constData(), tooMuch.size());
    EXPECT_EQ(0, block.count());
}

TEST(DataSample, AnswersCarryTheTimeAndCountValues)
{
    DataSample sample(kServerLayoutNames);
    sample.setTimeOfDay(-1.0);
    sample.setValue(0, 2.5);
    sample.setValue(599, 7.0);
    sample.setValue(600, 9.0);  // outside: ignored
    EXPECT_EQ(8, sample.wireBytes(0).size());
    EXPECT_EQ(32, sample.wireBytes(3).size());
    EXPECT_EQ(4808, sample.wireBytes(601).size());
    EXPECT_EQ(8, sample.wireBytes(-5).size());
    const QByteArray answer = sample.wireBytes(1);
    EXPECT_EQ(-1.0, ReadDouble(answer.constData()));
    EXPECT_EQ(2.5, ReadDouble(answer.constData() + 8));
    EXPECT_EQ(7.0, sample.value(599));
    EXPECT_EQ(0.0, sample.value(600));

    // The display side fills from the start and keeps what did not come.
    DataSample display(kDisplayLayoutNames);
    display.setValue(1, 42.0);
    display.fill(answer.constData(), answer.size());
    EXPECT_EQ(2.5, display.value(0));
    EXPECT_EQ(42.0, display.value(1));
}

TEST(DdeNames, CompareWithoutRegardToCase)
{
    EXPECT_TRUE(SameDdeName(QStringLiteral("Vexa-Display"), kTopicName));
    EXPECT_TRUE(SameDdeName(QStringLiteral("vexacontrol"), kControlItem));
    EXPECT_FALSE(SameDdeName(QStringLiteral("VEXAData "), kDataItem));
    EXPECT_EQ(128u, kTransferFormat);
}

}  // namespace
}  // namespace vexa::link
