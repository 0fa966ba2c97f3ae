// The files a replay reads, on their own: the times the options and CSV
// files give, CSV files sound and faulty, recordings sound and damaged, and
// the CSV export of both.

#include "server/replay/CsvReplayFile.h"
#include "server/replay/RecordingReplayFile.h"
#include "server/replay/ReplayExport.h"
#include "server/replay/ReplayTime.h"
#include "support/TestRecording.h"
#include "support/TestSupport.h"

#include <QDateTime>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace vexa::server {
namespace {

using vexa::test::RecordedRow;

/// 2025-12-09 09:00:00 UTC.
constexpr double kStart = 1765270800.0;
const double kNan = std::numeric_limits<double>::quiet_NaN();

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<ReplayRow> AllRows(ReplayFile& file)
{
    std::vector<ReplayRow> all;
    std::vector<ReplayRow> chunk;
    std::int64_t position = file.beginPosition();
    while (position < file.endPosition()) {
        EXPECT_TRUE(file.Read(position, file.endPosition(), 3, chunk, position)) << file.error().toStdString();
        if (chunk.empty())
            break;
        all.insert(all.end(), chunk.begin(), chunk.end());
    }
    return all;
}

TEST(ReplayTime, TimesAreSecondsIsoOrAnOffsetFromTheStart)
{
    struct Case {
        const char* text;
        std::optional<TimeArgument> expected;
    };
    const Case cases[] = {
        {"1765270800", TimeArgument{kStart, false}},
        {" 1765270800.25 ", TimeArgument{kStart + 0.25, false}},
        {"2025-12-09T09:00:00.250Z", TimeArgument{kStart + 0.25, false}},
        {"2025-12-09 10:00:00+01:00", TimeArgument{kStart, false}},
        {"2025-12-09T09:00:00Z", TimeArgument{kStart, false}},
        {"+90", TimeArgument{90.0, true}},
        {"+0.5", TimeArgument{0.5, true}},
        {"+-1", std::nullopt},
        {"+", std::nullopt},
        {"", std::nullopt},
        {"yesterday", std::nullopt},
        {"12:00", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"2025-13-01T00:00:00Z", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<TimeArgument> parsed = ParseTimeArgument(QString::fromLatin1(c.text));
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
        if (parsed.has_value()) {
            EXPECT_EQ(parsed->seconds, c.expected->seconds) << c.text;
            EXPECT_EQ(parsed->fromStart, c.expected->fromStart) << c.text;
        }
    }
    // Without a zone a time is local.
    const double local = double(QDateTime(QDate(2025, 12, 9), QTime(9, 0)).toMSecsSinceEpoch()) / 1000.0;
    EXPECT_EQ(ParseAbsoluteTime("2025-12-09T09:00:00"), local);
}

TEST(ReplayTime, ARangeIsHeldToTheFileAndRefusedWhenEmptyOrReversed)
{
    struct Case {
        std::optional<TimeArgument> from;
        std::optional<TimeArgument> to;
        std::optional<std::pair<double, double>> expected;
    };
    const double last = kStart + 100;
    const Case cases[] = {
        {std::nullopt, std::nullopt, std::pair{kStart, last}},
        {TimeArgument{10, true}, TimeArgument{20, true}, std::pair{kStart + 10, kStart + 20}},
        {TimeArgument{kStart - 50, false}, TimeArgument{kStart + 500, false}, std::pair{kStart, last}},
        {TimeArgument{30, true}, TimeArgument{20, true}, std::nullopt},
        {TimeArgument{200, true}, std::nullopt, std::nullopt},
        {std::nullopt, TimeArgument{kStart - 1, false}, std::nullopt},
    };
    for (const Case& c : cases) {
        QString error;
        const std::optional<TimeRange> range = ResolveRange(kStart, last, c.from, c.to, error);
        ASSERT_EQ(range.has_value(), c.expected.has_value()) << error.toStdString();
        EXPECT_EQ(error.isEmpty(), range.has_value());
        if (range.has_value()) {
            EXPECT_EQ(range->from, c.expected->first);
            EXPECT_EQ(range->to, c.expected->second);
        }
    }
}

TEST(CsvReplay, SoundFilesOfEveryShapeGiveTheirValues)
{
    struct Case {
        const char* what;
        std::string text;
    };
    // Each holds A=1.5 at 100, B=-0 at 100, A=2 at 101.5: a missing or
    // empty cell is no value.
    const Case cases[] = {
        {"LF", "time,A,B\n100,1.5,-0\n101.5,2,\n"},
        {"CRLF with a byte-order mark", "\xEF\xBB\xBFtime,A,B\r\n100,1.5,-0\r\n101.5,2,\r\n"},
        {"quoted fields", "time,\"A\",\"B\"\n\"100\",\"1.5\",\"-0\"\n101.5,\"2\",\"\"\n"},
        {"blanks and blank lines", "time , A , B\n\n100, 1.5 , -0\n101.5,+2, \n\n"},
        {"last line without its end", "time,A,B\n100,1.5,-0\n101.5,2,"},
        {"ISO 8601 times", "time,A,B\n1970-01-01T00:01:40Z,1.5,-0\n1970-01-01T00:01:41.500Z,2,\n"},
    };
    for (const Case& c : cases) {
        QString error;
        const auto file = CsvReplayFile::Parse(QStringLiteral("t.csv"), c.text, error);
        ASSERT_NE(file, nullptr) << c.what << ": " << error.toStdString();
        EXPECT_EQ(file->names(), (std::vector<std::string>{"A", "B"})) << c.what;
        const std::vector<ReplayRow> rows = AllRows(*file);
        ASSERT_EQ(rows.size(), 3u) << c.what;
        EXPECT_EQ(rows[0].time, 100.0);
        EXPECT_EQ(rows[0].name, 0);
        EXPECT_EQ(rows[0].value, 1.5);
        EXPECT_EQ(rows[1].name, 1);
        EXPECT_TRUE(SameBits(rows[1].value, -0.0)) << c.what;
        EXPECT_EQ(rows[2].time, 101.5);
        EXPECT_EQ(rows[2].value, 2.0);
        EXPECT_EQ(file->firstTime(), 100.0);
        EXPECT_EQ(file->lastTime(), 101.5);
    }
}

TEST(CsvReplay, ANameWithACommaAndTenThousandColumnsAreRead)
{
    QString error;
    auto file = CsvReplayFile::Parse(QStringLiteral("t.csv"), "time,\"P,1\",\"Q \"\"x\"\"\"\n1,2,3\n", error);
    ASSERT_NE(file, nullptr) << error.toStdString();
    EXPECT_EQ(file->names(), (std::vector<std::string>{"P,1", "Q \"x\""}));

    constexpr int kColumns = 10000;
    std::string header = "time";
    std::string row = "5";
    for (int i = 0; i < kColumns; ++i) {
        header += ",N" + std::to_string(i);
        row += "," + std::to_string(i);
    }
    file = CsvReplayFile::Parse(QStringLiteral("wide.csv"), header + "\n" + row + "\n", error);
    ASSERT_NE(file, nullptr) << error.toStdString();
    ASSERT_EQ(file->names().size(), std::size_t(kColumns));
    const std::vector<ReplayRow> rows = AllRows(*file);
    ASSERT_EQ(rows.size(), std::size_t(kColumns));
    EXPECT_EQ(rows.back().value, kColumns - 1);
    EXPECT_EQ(file->names()[std::size_t(rows.back().name)], "N9999");
}

TEST(CsvReplay, EachFaultIsRefusedWithItsLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "is empty"},
        {"\xEF\xBB\xBF", "is empty"},
        {"stamp,A\n1,2\n", "line 1: the first column is \"stamp\", not \"time\""},
        {"A,time\n1,2\n", "line 1: the first column is \"A\", not \"time\""},
        {"time,A,A\n1,2,3\n", "line 1: the name \"A\" heads two columns"},
        {"time,A=1\n1,2\n", "line 1: column 2, \"A=1\", cannot be a measurement name"},
        {"time,A\n", "holds no values below its header"},
        {"time,A,B\n1,2,3\n2,4\n3,5,6\n", "line 3 has 2 cells where the header has 3"},
        {"time,A\n1,2,3\n", "line 2 has 3 cells where the header has 2"},
        {"time,A,B\r\n1,2,3\r\n2,abc,3\r\n", "line 3: \"abc\" in column \"A\" is not a number"},
        {"time,A\n1,2\n1,0x10\n", "line 3: \"0x10\" in column \"A\" is not a number"},
        {"time,A\n1,2\nnoon,3\n", "line 3: the time \"noon\" is neither seconds nor ISO 8601"},
        {"time,A\n5,1\n4,2\n", "line 3: the time goes backwards"},
        {"time,A,B\n1,2,3\n2,4", "line 3 is cut short: it has 2 cells where the header has 3"},
        {"time,A\n1,\"2\n", "line 2: a quoted field has no closing quote"},
        {"time,A\n1,\"2\"x\n", "line 2: text follows the closing quote of a field"},
        // A quoted line end is part of its field.
        {"time,\"A\nB\"\n1,2\n2,x\n", "cannot be a measurement name"},
    };
    for (const Case& c : cases) {
        QString error;
        const auto file = CsvReplayFile::Parse(QStringLiteral("bad.csv"), c.text, error);
        EXPECT_EQ(file, nullptr) << c.text;
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.error))) << c.text << " gave: " << error.toStdString();
    }
}

class RecordingFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<std::string>& names,
                      const std::vector<RecordedRow>& rows)
    {
        const std::string path = m_dir.path(name);
        const std::string failure = vexa::test::WriteRecording(path, names, rows);
        EXPECT_EQ(failure, "");
        return path;
    }
    /// Runs \p sql on the database at \p path.
    static bool Execute(const std::string& path, const char* sql)
    {
        sqlite3* database = nullptr;
        bool done = sqlite3_open(path.c_str(), &database) == SQLITE_OK
                    && sqlite3_exec(database, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(database);
        return done;
    }
    static QString OpenError(const std::string& path)
    {
        QString error;
        const auto file = RecordingReplayFile::Open(QString::fromStdString(path), error);
        EXPECT_EQ(file == nullptr, !error.isEmpty());
        return error;
    }

    vexa::test::ScratchDir m_dir;
};

TEST_F(RecordingFiles, ValuesComeBackBitForBitWithNullAsNan)
{
    const std::vector<double> values = {0.1, -1e-300, 4.9e-324, 1.7976931348623157e308, -273.15,
                                        std::numeric_limits<double>::infinity(), -0.0};
    std::vector<RecordedRow> rows;
    for (std::size_t i = 0; i < values.size(); ++i)
        rows.push_back({kStart + double(i) / 10, int(i % 2), values[i], kStart - 1});
    rows.push_back({kStart + 1, 1, std::nullopt, std::nullopt});
    const std::string path = Write("a.sqlite3", {"X", "Y"}, rows);

    QString error;
    auto file = RecordingReplayFile::Open(QString::fromStdString(path), error);
    ASSERT_NE(file, nullptr) << error.toStdString();
    EXPECT_EQ(file->names(), (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(file->firstTime(), kStart);
    EXPECT_EQ(file->lastTime(), kStart + 1);
    const std::vector<ReplayRow> read = AllRows(*file);
    ASSERT_EQ(read.size(), rows.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_TRUE(SameBits(read[i].value, values[i])) << i;
        EXPECT_EQ(read[i].time, rows[i].time);
        EXPECT_EQ(read[i].name, rows[i].name);
        EXPECT_EQ(read[i].sourceTime, kStart - 1);
    }
    EXPECT_TRUE(std::isnan(read.back().value));
    EXPECT_TRUE(std::isnan(read.back().sourceTime));

    // Positions: the first row at or after a time.
    EXPECT_EQ(file->PositionAt(kStart - 1), file->beginPosition());
    EXPECT_EQ(file->PositionAt(kStart + 0.1), file->beginPosition() + 1);
    EXPECT_EQ(file->PositionAt(kStart + 0.25), file->beginPosition() + 3);
    EXPECT_EQ(file->PositionAt(kStart + 0.3), file->beginPosition() + 3);
    EXPECT_EQ(file->PositionAt(kStart + 5), file->endPosition());
}

TEST_F(RecordingFiles, DamagedOrForeignFilesAreRefusedWithWhy)
{
    const std::string sound = Write("sound.sqlite3", {"X"}, std::vector<RecordedRow>(2000, {kStart, 0, 1.0, {}}));
    const std::string bytes = vexa::test::ReadFileBytes(sound);
    ASSERT_GT(bytes.size(), 8192u);

    const auto write = [&](const std::string& name, const std::string& content) {
        vexa::test::WriteFileBytes(m_dir.path(name), content);
        return m_dir.path(name);
    };
    const std::string noSamples = Write("none.sqlite3", {"X"}, {});
    const std::string foreign = m_dir.path("foreign.sqlite3");
    const std::string newer = m_dir.path("newer.sqlite3");
    ASSERT_TRUE(Execute(foreign, "CREATE TABLE readings(t REAL, v REAL); INSERT INTO readings VALUES(1, 2);"));
    ASSERT_EQ(vexa::test::WriteRecording(newer, {"X"}, {{kStart, 0, 1.0, {}}}), "");
    ASSERT_TRUE(Execute(newer, "UPDATE info SET value = '2' WHERE key = 'format';"));
    struct Case {
        std::string path;
        const char* error;
    };
    const Case cases[] = {
        {m_dir.path("missing.sqlite3"), "cannot be read"},
        {write("empty.sqlite3", ""), "is empty"},
        {write("text.sqlite3", "time,A\n1,2\n"), "is not an SQLite file"},
        {write("header.sqlite3", bytes.substr(0, 50)), "is cut short"},
        {write("cut.sqlite3", bytes.substr(0, bytes.size() / 2)), "is cut short"},
        {noSamples, "holds no samples"},
        {foreign, "is not a recording: it has no table \"info\""},
        {newer, "is a recording of format \"2\"; this program replays format 1"},
    };
    for (const Case& c : cases) {
        const QString error = OpenError(c.path);
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.error))) << c.path << " gave: " << error.toStdString();
    }
}

TEST_F(RecordingFiles, TheValuesBeforeAPlaceAreFoundUpToTheLookbackLimit)
{
    // S once, then F for as many rows as each case says: S is found while
    // it lies within the rows looked back through.
    struct Case {
        std::int64_t between;
        bool found;
    };
    const Case cases[] = {{0, true}, {1023, true}, {5000, true}, {ReplayFile::kLookbackRows - 1, true},
                          {ReplayFile::kLookbackRows, false}};
    for (const Case& c : cases) {
        std::vector<RecordedRow> rows = {{kStart, 0, 7.5, {}}};
        for (std::int64_t i = 0; i < c.between; ++i)
            rows.push_back({kStart + 1 + double(i) / 1000, 1, double(i), {}});
        const std::string path = Write("look" + std::to_string(c.between) + ".sqlite3", {"S", "F"}, rows);
        QString error;
        auto file = RecordingReplayFile::Open(QString::fromStdString(path), error);
        ASSERT_NE(file, nullptr) << error.toStdString();
        std::vector<std::optional<ReplayRow>> last;
        ASSERT_TRUE(file->LastRowsBefore(file->endPosition(), last));
        ASSERT_EQ(last.size(), 2u);
        EXPECT_EQ(last[0].has_value(), c.found) << c.between;
        if (last[0].has_value()) {
            EXPECT_EQ(last[0]->value, 7.5);
        }
        if (c.between > 0) {
            ASSERT_TRUE(last[1].has_value());
            EXPECT_EQ(last[1]->value, double(c.between - 1));
        }
    }
}

/// Exports \p request of \p file into a string.
std::string Exported(ReplayFile& file, const ExportRequest& request, QString* error = nullptr)
{
    std::string text;
    const ExportOutcome outcome = ExportCsv(file, request, [&text](std::string_view piece) {
        text.append(piece);
        return true;
    });
    if (error != nullptr)
        *error = outcome.error;
    else
        EXPECT_EQ(outcome.error, QString());
    return text;
}

TEST_F(RecordingFiles, AnExportHasARowAtEveryStoredTimeOfTheChosenNames)
{
    // A at 0, 1, 2, 3; B at 1 and 3; C at 2 only.
    const std::string path = Write("e.sqlite3", {"A", "B", "C"},
                                   {{kStart, 0, 1.0, {}},
                                    {kStart + 1, 0, 2.0, {}},
                                    {kStart + 1, 1, 10.0, {}},
                                    {kStart + 2, 0, 3.0, {}},
                                    {kStart + 2, 2, std::nullopt, {}},
                                    {kStart + 3, 0, 4.0, {}},
                                    {kStart + 3, 1, 0.1, {}}});
    QString error;
    auto file = RecordingReplayFile::Open(QString::fromStdString(path), error);
    ASSERT_NE(file, nullptr) << error.toStdString();
    struct Case {
        const char* what;
        ExportRequest request;
        std::string expected;
    };
    const Case cases[] = {
        {"everything", {{kStart, kStart + 3}, {}, true},
         "time,A,B,C\n1765270800,1,,\n1765270801,2,10,\n1765270802,3,10,NaN\n1765270803,4,0.1,NaN\n"},
        {"without fill", {{kStart, kStart + 3}, {}, false},
         "time,A,B,C\n1765270800,1,,\n1765270801,2,10,\n1765270802,3,,NaN\n1765270803,4,0.1,\n"},
        // The range starts from the values in force before it.
        {"a range", {{kStart + 1.5, kStart + 2}, {}, true}, "time,A,B,C\n1765270802,3,10,NaN\n"},
        {"a range without fill", {{kStart + 1.5, kStart + 2}, {}, false}, "time,A,B,C\n1765270802,3,,NaN\n"},
        // Only times at which a chosen name has a value, in the order asked.
        {"chosen names", {{kStart, kStart + 3}, {"B", "C"}, true},
         "time,B,C\n1765270801,10,\n1765270802,10,NaN\n1765270803,0.1,NaN\n"},
        {"one name", {{kStart, kStart + 3}, {"B"}, false}, "time,B\n1765270801,10\n1765270803,0.1\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exported(*file, c.request), c.expected) << c.what;

    Exported(*file, {{kStart, kStart + 3}, {"A", "Z"}, true}, &error);
    EXPECT_EQ(error, QStringLiteral("the file holds no name \"Z\""));
}

TEST_F(RecordingFiles, AnExportReadsBackAsTheSameDoubles)
{
    const std::vector<double> values = {0.1, -2.5, 4.9e-324, 1.7976931348623157e308, 1.0 / 3.0, -1e-300,
                                        std::numeric_limits<double>::infinity(), -0.0};
    std::vector<RecordedRow> rows;
    for (std::size_t i = 0; i < values.size(); ++i)
        rows.push_back({kStart + 0.001 * double(i), 0, values[i], {}});
    rows.push_back({kStart + 1, 0, std::nullopt, {}});
    const std::string path = Write("r.sqlite3", {"V"}, rows);
    QString error;
    auto recording = RecordingReplayFile::Open(QString::fromStdString(path), error);
    ASSERT_NE(recording, nullptr) << error.toStdString();

    const std::string csv = Exported(*recording, {{kStart, kStart + 1}, {}, false});
    auto reread = CsvReplayFile::Parse(QStringLiteral("r.csv"), csv, error);
    ASSERT_NE(reread, nullptr) << error.toStdString();
    const std::vector<ReplayRow> back = AllRows(*reread);
    ASSERT_EQ(back.size(), rows.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_TRUE(SameBits(back[i].value, values[i])) << i << ": " << csv;
        EXPECT_EQ(back[i].time, rows[i].time) << i;
    }
    EXPECT_TRUE(std::isnan(back.back().value));
}

}  // namespace
}  // namespace vexa::server
