#include "server/replay/RecordingReplayFile.h"

#include "platform/AnsiText.h"
#include "server/recording/RecordingSchema.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <sys/stat.h>

namespace vexa::server {

namespace {

/// The first bytes of every SQLite file, with their terminating zero.
constexpr std::array<char, 16> kMagic = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                         'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
constexpr std::size_t kHeaderBytes = 100;
constexpr std::size_t kPageSizeOffset = 16;
constexpr std::size_t kChangeCounterOffset = 24;
constexpr std::size_t kPageCountOffset = 28;
constexpr std::size_t kValidForOffset = 92;
/// The page size field holds 1 for pages of 64 KB.
constexpr std::uint32_t kLargestPageSize = 65536;
/// How long a read waits for a writer's lock before it calls the file locked.
constexpr int kBusyTimeoutMs = 250;
/// The tables a recording cannot be without.
constexpr std::array<const char*, 3> kTables = {"info", "names", "samples"};

std::uint32_t BigEndian(const char* bytes, int length)
{
    std::uint32_t value = 0;
    for (int i = 0; i < length; ++i)
        value = (value << 8) | std::uint8_t(bytes[i]);
    return value;
}

/// Checks what can be told from the file's first 100 bytes and its size:
/// that it is an SQLite file, and that it holds every page its header
/// counts (a file cut short by a full disk or a copy that stopped does
/// not). Empty with no fault found.
QString CheckHeader(const std::string& file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("is not a file");
    if (status.st_size == 0)
        return QStringLiteral("is empty");
    std::ifstream in(file, std::ios::binary);
    std::array<char, kHeaderBytes> header{};
    in.read(header.data(), header.size());
    if (!in && in.gcount() == 0)
        return QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    const auto got = std::size_t(in.gcount());
    if (got < kMagic.size() || std::memcmp(header.data(), kMagic.data(), kMagic.size()) != 0)
        return QStringLiteral("is not an SQLite file");
    if (got < kHeaderBytes)
        return QStringLiteral("is cut short: it has %1 bytes, less than an SQLite header").arg(got);
    std::uint32_t pageSize = BigEndian(header.data() + kPageSizeOffset, 2);
    if (pageSize == 1)
        pageSize = kLargestPageSize;
    const std::uint32_t pages = BigEndian(header.data() + kPageCountOffset, 4);
    // The page count is only kept up to date by writers that also set the
    // "valid for" number to the change counter.
    const bool countValid = pages != 0
        && BigEndian(header.data() + kChangeCounterOffset, 4) == BigEndian(header.data() + kValidForOffset, 4);
    const auto expected = std::uint64_t(pages) * pageSize;
    if (countValid && std::uint64_t(status.st_size) < expected) {
        return QStringLiteral("is cut short: it has %1 bytes where its header counts %2")
            .arg(qint64(status.st_size))
            .arg(expected);
    }
    return {};
}

}  // namespace

void RecordingReplayFile::CloseDatabase::operator()(sqlite3* database) const
{
    sqlite3_close_v2(database);
}

void RecordingReplayFile::FinalizeStatement::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

RecordingReplayFile::RecordingReplayFile(const QString& path) : ReplayFile(path) {}

RecordingReplayFile::~RecordingReplayFile() = default;

std::unique_ptr<RecordingReplayFile> RecordingReplayFile::Open(const QString& path, QString& error)
{
    const std::string file = ToLocalPath(path);
    error = CheckHeader(file);
    if (!error.isEmpty())
        return nullptr;
    std::unique_ptr<RecordingReplayFile> recording(new RecordingReplayFile(path));
    // Read-write where the file allows it: a reader of a recording in WAL
    // mode needs to write the shared index beside it, and one that ended
    // with a kill needs its log replayed. Nothing else is ever written.
    sqlite3* database = nullptr;
    int opened = sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
    if (opened != SQLITE_OK) {
        sqlite3_close_v2(database);
        database = nullptr;
        opened = sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READONLY, nullptr);
    }
    recording->m_database.reset(database);
    if (opened != SQLITE_OK || !recording->Load()) {
        if (opened != SQLITE_OK)
            recording->Fail();
        error = recording->m_error;
        return nullptr;
    }
    return recording;
}

bool RecordingReplayFile::Fail()
{
    const int code = sqlite3_extended_errcode(m_database.get()) & 0xff;
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        m_error = QStringLiteral("is locked by another program");
        break;
    case SQLITE_NOTADB:
        m_error = QStringLiteral("is not an SQLite file");
        break;
    case SQLITE_CORRUPT:
        m_error = QStringLiteral("is damaged: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_database.get())));
        break;
    default:
        m_error = QString::fromUtf8(sqlite3_errmsg(m_database.get()));
        break;
    }
    return false;
}

RecordingReplayFile::Statement RecordingReplayFile::Prepare(const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_database.get(), sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        Fail();
        return nullptr;
    }
    return Statement(statement);
}

bool RecordingReplayFile::Load()
{
    sqlite3_busy_timeout(m_database.get(), kBusyTimeoutMs);

    Statement tables = Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1");
    if (tables == nullptr)
        return false;
    for (const char* table : kTables) {
        sqlite3_reset(tables.get());
        sqlite3_bind_text(tables.get(), 1, table, -1, SQLITE_STATIC);
        if (sqlite3_step(tables.get()) != SQLITE_ROW)
            return Fail();
        if (sqlite3_column_int(tables.get(), 0) == 0) {
            m_error = QStringLiteral("is not a recording: it has no table \"%1\"").arg(QLatin1String(table));
            return false;
        }
    }

    Statement format = Prepare("SELECT value FROM info WHERE key = 'format'");
    if (format == nullptr)
        return false;
    const int stepped = sqlite3_step(format.get());
    if (stepped != SQLITE_ROW && stepped != SQLITE_DONE)
        return Fail();
    const QString version = stepped == SQLITE_ROW
                                ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(format.get(), 0)))
                                : QString();
    if (version != QString::number(recording::kFormatVersion)) {
        m_error = QStringLiteral("is a recording of format \"%1\"; this program replays format %2")
                      .arg(version)
                      .arg(recording::kFormatVersion);
        return false;
    }

    Statement names = Prepare("SELECT id, name FROM names ORDER BY id");
    if (names == nullptr)
        return false;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(names.get())) == SQLITE_ROW) {
        m_nameIndex.emplace(sqlite3_column_int64(names.get(), 0), std::int32_t(m_names.size()));
        m_names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(names.get(), 1)),
                             std::size_t(sqlite3_column_bytes(names.get(), 1)));
    }
    if (step != SQLITE_DONE)
        return Fail();

    // The rows are in time order, so the first and the last row hold the
    // earliest and the latest time; each is one step down a B-tree, however
    // long the recording.
    Statement first = Prepare("SELECT rowid, time FROM samples ORDER BY rowid LIMIT 1");
    Statement last = Prepare("SELECT rowid, time FROM samples ORDER BY rowid DESC LIMIT 1");
    m_rowAtOrAfter = Prepare("SELECT rowid, time FROM samples WHERE rowid >= ?1 ORDER BY rowid LIMIT 1");
    if (first == nullptr || last == nullptr || m_rowAtOrAfter == nullptr)
        return false;
    const int firstStep = sqlite3_step(first.get());
    if (firstStep == SQLITE_DONE) {
        m_error = QStringLiteral("holds no samples");
        return false;
    }
    if (firstStep != SQLITE_ROW || sqlite3_step(last.get()) != SQLITE_ROW)
        return Fail();
    m_begin = sqlite3_column_int64(first.get(), 0);
    m_end = sqlite3_column_int64(last.get(), 0) + 1;
    m_firstTime = sqlite3_column_double(first.get(), 1);
    m_lastTime = sqlite3_column_double(last.get(), 1);

    m_rowsFrom = Prepare("SELECT rowid, time, name_id, value, source_time FROM samples"
                         " WHERE rowid >= ?1 AND rowid < ?2 ORDER BY rowid LIMIT ?3");
    return m_rowsFrom != nullptr;
}

std::optional<std::int64_t> RecordingReplayFile::PositionAt(double time)
{
    // Halves the row ids: the first row at or after \p time is the first
    // whose time is not below it, as the rows are in time order.
    std::int64_t low = m_begin;
    std::int64_t high = m_end;
    sqlite3_stmt* statement = m_rowAtOrAfter.get();
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        sqlite3_reset(statement);
        sqlite3_bind_int64(statement, 1, middle);
        const int step = sqlite3_step(statement);
        if (step == SQLITE_DONE) {
            high = middle;
            continue;
        }
        if (step != SQLITE_ROW) {
            Fail();
            return std::nullopt;
        }
        const std::int64_t row = sqlite3_column_int64(statement, 0);
        if (row >= high || sqlite3_column_double(statement, 1) >= time)
            high = middle;
        else
            low = row + 1;
    }
    return low;
}

bool RecordingReplayFile::Read(std::int64_t position, std::int64_t until, std::size_t maxRows,
                               std::vector<ReplayRow>& rows, std::int64_t& next)
{
    rows.clear();
    next = position;
    sqlite3_stmt* statement = m_rowsFrom.get();
    sqlite3_reset(statement);
    sqlite3_bind_int64(statement, 1, position);
    sqlite3_bind_int64(statement, 2, until);
    sqlite3_bind_int64(statement, 3, sqlite3_int64(maxRows));
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto name = m_nameIndex.find(sqlite3_column_int64(statement, 2));
        if (name == m_nameIndex.end()) {
            m_error = QStringLiteral("is damaged: a sample refers to name %1, which the table \"names\" lacks")
                          .arg(sqlite3_column_int64(statement, 2));
            return false;
        }
        ReplayRow row;
        row.time = sqlite3_column_double(statement, 1);
        row.name = name->second;
        // SQLite keeps a NaN as NULL; it comes back as the quiet NaN.
        row.value = sqlite3_column_type(statement, 3) == SQLITE_NULL ? std::numeric_limits<double>::quiet_NaN()
                                                                      : sqlite3_column_double(statement, 3);
        row.sourceTime = sqlite3_column_type(statement, 4) == SQLITE_NULL ? std::numeric_limits<double>::quiet_NaN()
                                                                           : sqlite3_column_double(statement, 4);
        rows.push_back(row);
        next = sqlite3_column_int64(statement, 0) + 1;
    }
    if (step != SQLITE_DONE)
        return Fail();
    if (rows.empty())
        next = until;
    return true;
}

}  // namespace vexa::server
