#include "server/recording/RecordingWriter.h"

#include "server/recording/RecordingSchema.h"

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/statvfs.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <system_error>

namespace vexa::server::recording {

namespace {

/// Tried names when the start's own is taken (two recordings begun in one
/// second): the next seconds'.
constexpr int kNameAttempts = 60;
/// A commit in WAL mode with NORMAL synchronisation writes the log without
/// waiting for the disk: the server's own end (even SIGKILL) loses nothing
/// committed, and only a power cut can take back the last commits.
constexpr const char* kPragmas =
    "PRAGMA page_size=16384;"
    "PRAGMA journal_mode=WAL;"
    "PRAGMA wal_autocheckpoint=4096;"
    "PRAGMA synchronous=NORMAL;"
    "PRAGMA cache_size=-32768;";
constexpr const char* kInsertValues = "INSERT INTO samples(time, name_id, value, source_time) VALUES";
constexpr const char* kValueParameters = "(?, ?, ?, ?)";
constexpr int kParametersPerValue = 4;
constexpr const char* kInsertName = "INSERT INTO names(id, name) VALUES(?, ?)";
constexpr const char* kSetInfo = "INSERT OR REPLACE INTO info(key, value) VALUES(?, ?)";
constexpr int kMillisecondsPerSecond = 1000;

std::int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

/// Binds \p value at \p index, NaN as NULL (what SQLite would make of it anyway).
int BindNumber(sqlite3_stmt* statement, int index, double value)
{
    return std::isnan(value) ? sqlite3_bind_null(statement, index) : sqlite3_bind_double(statement, index, value);
}

/// Why writing to \p path failed, when the system shows it: a file (the
/// part or its write-ahead log) at the process's file size limit, or no
/// space left on its disk. SQLite's own words say only "disk I/O error".
std::string WriteLimitReached(const std::filesystem::path& path)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        for (const std::string suffix : {"", "-wal"}) {
            std::error_code error;
            const auto size = std::filesystem::file_size(path.string() + suffix, error);
            if (!error && size >= limit.rlim_cur)
                return "the file size limit of " + std::to_string(limit.rlim_cur) + " bytes is reached";
        }
    }
    struct statvfs disk{};
    if (statvfs(path.parent_path().c_str(), &disk) == 0 && disk.f_bavail == 0)
        return "the disk is full";
    return {};
}

/// The insert of \p rows values in one statement.
std::string InsertValuesSql(int rows)
{
    std::string sql = kInsertValues;
    for (int row = 0; row < rows; ++row) {
        if (row > 0)
            sql += ", ";
        sql += kValueParameters;
    }
    return sql;
}

/// SQLite's count of the memory it holds costs a global lock on every
/// allocation; the recorder does not ask for it. The setting must come
/// before SQLite starts, and fails harmlessly after.
void LeaveMemoryUncounted()
{
    static const bool done = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)done;
}

}  // namespace

RecordingWriter::RecordingWriter(Setup setup) : m_setup(std::move(setup))
{
    LeaveMemoryUncounted();
}

RecordingWriter::~RecordingWriter()
{
    Close();
}

std::string RecordingWriter::PartFileName(const std::string& baseName, int part)
{
    return part <= 1 ? baseName + kExtension : baseName + "-" + std::to_string(part) + kExtension;
}

std::string RecordingWriter::IsoUtc(std::int64_t epochMs)
{
    const std::time_t seconds = std::time_t(epochMs / kMillisecondsPerSecond);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", int(epochMs % kMillisecondsPerSecond));
    return text;
}

std::string RecordingWriter::LocalBaseName(std::int64_t epochSeconds)
{
    const std::time_t seconds = std::time_t(epochSeconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    return text;
}

bool RecordingWriter::Open()
{
    std::error_code error;
    std::filesystem::create_directories(m_setup.folder, error);
    if (error) {
        m_error = "cannot create " + m_setup.folder.string() + ": " + error.message();
        return false;
    }
    const std::int64_t startSecond = m_setup.startedMs / kMillisecondsPerSecond;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        m_baseName = LocalBaseName(startSecond + attempt);
        if (!std::filesystem::exists(m_setup.folder / PartFileName(m_baseName, 1), error))
            return OpenPart({});
    }
    m_path = m_setup.folder / PartFileName(m_baseName, 1);
    return Fail("a recording of that time exists already");
}

bool RecordingWriter::OpenPart(const std::string& previous)
{
    ++m_part;
    m_path = m_setup.folder / PartFileName(m_baseName, m_part);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(m_path.c_str(), &m_db, flags, nullptr) != SQLITE_OK)
        return Fail("cannot create");
    if (!Execute(kPragmas) || !Execute(kSchema))
        return false;
    if (sqlite3_prepare_v2(m_db, InsertValuesSql(1).c_str(), -1, &m_insertValue, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(m_db, InsertValuesSql(kValuesPerInsert).c_str(), -1, &m_insertValues, nullptr)
               != SQLITE_OK
        || sqlite3_prepare_v2(m_db, kInsertName, -1, &m_insertName, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(m_db, "PRAGMA page_count", -1, &m_pageCount, nullptr) != SQLITE_OK)
        return Fail("cannot prepare");
    sqlite3_stmt* pageSize = nullptr;
    if (sqlite3_prepare_v2(m_db, "PRAGMA page_size", -1, &pageSize, nullptr) == SQLITE_OK
        && sqlite3_step(pageSize) == SQLITE_ROW)
        m_pageSize = sqlite3_column_int64(pageSize, 0);
    sqlite3_finalize(pageSize);

    if (!Begin())
        return false;
    const std::int64_t started = m_part == 1 ? m_setup.startedMs : NowMs();
    if (!SetInfo("format", std::to_string(kFormatVersion)) || !SetInfo("started", IsoUtc(started))
        || !SetInfo("program", m_setup.program) || !SetInfo("mode", m_setup.mode)
        || !SetInfo("part", std::to_string(m_part)) || (!previous.empty() && !SetInfo("previous", previous)))
        return false;
    for (const auto& [id, name] : m_names) {
        if (!InsertName(id, name))
            return false;
    }
    // The file holds its tables and info at once, so that even a part
    // killed before its first values opens as a recording.
    return Commit();
}

bool RecordingWriter::Write(const RecordingBatch& batch)
{
    if (m_db == nullptr || !m_error.empty())
        return false;
    if (!m_inTransaction && !Begin())
        return false;
    if (!batch.mode.empty() && batch.mode != m_setup.mode) {
        m_setup.mode = batch.mode;
        if (!SetInfo("mode", m_setup.mode))
            return false;
    }
    for (const auto& named : batch.names) {
        m_names.push_back(named);
        if (!InsertName(named.first, named.second))
            return false;
    }
    const std::size_t count = batch.values.size();
    std::size_t next = 0;
    for (; next + kValuesPerInsert <= count; next += kValuesPerInsert) {
        if (!InsertValues(m_insertValues, &batch.values[next], kValuesPerInsert))
            return false;
    }
    for (; next < count; ++next) {
        if (!InsertValues(m_insertValue, &batch.values[next], 1))
            return false;
    }
    m_valueCount += batch.values.size();
    return !IsPartFull() || StartNextPart();
}

bool RecordingWriter::Commit()
{
    if (!m_inTransaction)
        return m_error.empty();
    m_inTransaction = false;
    return Execute("COMMIT");
}

bool RecordingWriter::Close()
{
    if (m_db == nullptr)
        return m_error.empty();
    const bool committed = m_error.empty() && Commit();
    CloseDatabase();
    return committed;
}

void RecordingWriter::CloseDatabase()
{
    for (sqlite3_stmt** statement : {&m_insertValue, &m_insertValues, &m_insertName, &m_pageCount}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    if (m_inTransaction) {
        // A failed write leaves the transaction to be undone; the file keeps
        // what was committed before.
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_inTransaction = false;
    }
    sqlite3_close(m_db);
    m_db = nullptr;
}

bool RecordingWriter::Execute(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail("cannot write");
    return true;
}

bool RecordingWriter::Begin()
{
    if (!Execute("BEGIN"))
        return false;
    m_inTransaction = true;
    return true;
}

bool RecordingWriter::SetInfo(const char* key, const std::string& value)
{
    sqlite3_stmt* statement = nullptr;
    bool done = sqlite3_prepare_v2(m_db, kSetInfo, -1, &statement, nullptr) == SQLITE_OK
                && sqlite3_bind_text(statement, 1, key, -1, SQLITE_STATIC) == SQLITE_OK
                && sqlite3_bind_text(statement, 2, value.data(), int(value.size()), SQLITE_STATIC) == SQLITE_OK
                && sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done || Fail("cannot write");
}

bool RecordingWriter::InsertName(std::int32_t id, const std::string& name)
{
    sqlite3_bind_int(m_insertName, 1, id);
    sqlite3_bind_text(m_insertName, 2, name.data(), int(name.size()), SQLITE_STATIC);
    const bool done = sqlite3_step(m_insertName) == SQLITE_DONE;
    sqlite3_reset(m_insertName);
    return done || Fail("cannot write");
}

bool RecordingWriter::InsertValues(sqlite3_stmt* statement, const RecordedValue* values, int count)
{
    for (int i = 0; i < count; ++i) {
        const int first = i * kParametersPerValue;
        sqlite3_bind_double(statement, first + 1, values[i].time);
        sqlite3_bind_int(statement, first + 2, values[i].nameId);
        BindNumber(statement, first + 3, values[i].value);
        BindNumber(statement, first + 4, values[i].sourceTime);
    }
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_reset(statement);
    return done || Fail("cannot write");
}

bool RecordingWriter::IsPartFull()
{
    std::int64_t pages = 0;
    if (sqlite3_step(m_pageCount) == SQLITE_ROW)
        pages = sqlite3_column_int64(m_pageCount, 0);
    sqlite3_reset(m_pageCount);
    return pages * m_pageSize >= m_setup.partBytes;
}

bool RecordingWriter::StartNextPart()
{
    if (!Commit())
        return false;
    const std::string previous = m_path.filename().string();
    CloseDatabase();
    return OpenPart(previous);
}

bool RecordingWriter::Fail(const std::string& what)
{
    if (!m_error.empty())
        return false;
    m_error = what + " " + m_path.string();
    if (m_db != nullptr) {
        m_error += ": ";
        m_error += sqlite3_errmsg(m_db);
        if (const std::string reason = WriteLimitReached(m_path); !reason.empty())
            m_error += " (" + reason + ")";
    }
    return false;
}

}  // namespace vexa::server::recording
