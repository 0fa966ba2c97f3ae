#include "EngineTestSupport.h"

#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"

#include <gtest/gtest.h>

namespace vexa::server {
namespace {

using test::RecordingLog;
using test::SendLayout;

QString Padded(const char* name)
{
    return QString::fromLatin1(name).leftJustified(32, QLatin1Char(' '));
}

TEST(Listings, MeasurementListingShowsSourcesNamesAndValues)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.setClock([] { return QTime(12, 34, 56, 500); });
    engine.SeedRandom(3);
    SendLayout(engine, "D:\\X\\simulate.mvx", {"cosA", "Sine1", "SQRT", "Tri", "sawtooth", "Random", "PRESSURE"});
    engine.StopTimers();
    engine.FastTick();
    engine.SampleStep();
    log.clear();

    engine.ListMeasurements();
    const QString pressure = QString::asprintf("%.4f", engine.sample().value(6));
    const QStringList expected{
        "Time Of Day: 12:34:56.500",
        "#\tAddress\tName                            \tValue",
        "1:\t00000\t" + Padded("cosA") + "\t99.9848",
        "2:\t00001\t" + Padded("Sine1") + "\t1.7459",
        "3:\t00002\t" + Padded("SQRT") + "\t0.0000",
        "4:\t00003\t" + Padded("Tri") + "\t2.0000",
        "5:\t00004\t" + Padded("sawtooth") + "\t2.0000",
        "6:\t00005\t" + Padded("Random") + "\t" + QString::asprintf("%.4f", engine.generatorOutput(5)),
        "7:\t00255\t" + Padded("PRESSURE") + "\t" + pressure,
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(log.entries, expected);

    log.clear();
    engine.SetTimeOfDay(false);
    engine.ListMeasurements();
    ASSERT_FALSE(log.calls.isEmpty());
    EXPECT_EQ(log.calls.first(), expected[1]) << "no time line while time of day is off";
}

TEST(Listings, NamesArePaddedByBytesAndShownInWindows1252)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.SetTimeOfDay(false);
    SendLayout(engine, "/data/plant.mvx", {"Temp\x80", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"});
    log.clear();
    engine.ListMeasurements();
    ASSERT_EQ(log.calls.size(), 3);
    EXPECT_EQ(log.calls[1], QString::fromUtf8("1:\t00000\tTemp\u20ac") + QString(27, QLatin1Char(' ')) + "\t0.0000");
    EXPECT_EQ(log.calls[2], "2:\t00000\tABCDEFGHIJKLMNOPQRSTUVWXYZ012345\t0.0000");
}

TEST(Listings, MeasurementInformationWithAndWithoutALayout)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.MeasurementInformation();
    EXPECT_EQ(log.calls, QStringList{"Measurement Data File Setup has not been set up"});

    SendLayout(engine, "C:\\DATA\\LINE.MVX", {"FLOW", "LEVEL"});
    log.clear();
    engine.MeasurementInformation();
    const QStringList expected{
        "\nSetup Pathname: C:\\DATA\\LINE.MVX",
        "Number of Measurements: 2\n",
        "Time Of Day: 00:00:00.000",
        "#\tAddress\tName                            \tValue",
        "1:\t00000\t" + Padded("FLOW") + "\t0.0000",
        "2:\t00000\t" + Padded("LEVEL") + "\t0.0000",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(log.entries.mid(0, 4), (QStringList{"", "Setup Pathname: C:\\DATA\\LINE.MVX", "Number of Measurements: 2", ""}));
}

TEST(Listings, DecomControlListing)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.ListDecomControl();
    EXPECT_EQ(log.calls, QStringList{"Decom Control has not been set up"});

    DecomControl& decom = engine.decomControl();
    decom.wordsPerFrame = 2;
    decom.wordSize = 12;
    decom.bitOrder = 1;
    decom.setName(0, "NAME");
    decom.addresses[0] = 0x0a;
    decom.setName(1, "SYNC_WORD_WITH_A_VERY_LONG_NAME_X");
    decom.addresses[1] = 0xff;
    decom.setName(2, "UNLISTED");
    log.clear();
    engine.ListDecomControl();
    const QStringList expected{
        "WordsPerFrame = 2", "WordSize = 12", "BitOrder = MSB", "001\t0a\tNAME", "002\tff\tSYNC_WORD_WITH_A_VERY_LONG_NAME_",
    };
    EXPECT_EQ(log.calls, expected);

    struct Row {
        std::int32_t bitOrder;
        const char* text;
    };
    for (const Row& row : {Row{0, "BitOrder = LSB"}, Row{2, "BitOrder = LSB"}, Row{-1, "BitOrder = LSB"}}) {
        decom.bitOrder = row.bitOrder;
        log.clear();
        engine.ListDecomControl();
        ASSERT_EQ(log.calls.size(), 5);
        EXPECT_EQ(log.calls[2], row.text);
    }

    decom.wordsPerFrame = 5000;
    log.clear();
    engine.ListDecomControl();
    EXPECT_EQ(log.calls.size(), 3 + DecomControl::kWords) << "a frame larger than the record lists what it holds";
    EXPECT_EQ(log.calls[0], "WordsPerFrame = 5000");
    EXPECT_EQ(log.calls.last(), "1024\t00\t");
}

}  // namespace
}  // namespace vexa::server
