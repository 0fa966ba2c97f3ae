#include "RecordingFiles.h"

#include <QDir>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace vexa::server::recording::test {

namespace {

std::optional<double> Number(sqlite3_stmt* statement, int column)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_column_double(statement, column);
}

}  // namespace

RecordingFile::RecordingFile(const QString& path)
{
    if (sqlite3_open_v2(path.toLocal8Bit().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        m_problem = "cannot open: " + std::string(sqlite3_errmsg(m_db));
        return;
    }
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(m_db, "PRAGMA integrity_check", -1, &check, nullptr);
    if (sqlite3_step(check) != SQLITE_ROW)
        m_problem = "integrity check failed: " + std::string(sqlite3_errmsg(m_db));
    else if (const char* result = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
             std::strcmp(result, "ok") != 0)
        m_problem = result;
    sqlite3_finalize(check);
}

RecordingFile::~RecordingFile()
{
    sqlite3_close(m_db);
}

std::vector<Reading> RecordingFile::Readings() const
{
    std::vector<Reading> readings;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT s.time, n.name, s.value, s.source_time FROM samples s JOIN names n ON n.id = s.name_id"
                       " ORDER BY s.rowid", -1, &statement,
                       nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        readings.push_back({sqlite3_column_double(statement, 0),
                            reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)), Number(statement, 2),
                            Number(statement, 3)});
    }
    sqlite3_finalize(statement);
    return readings;
}

std::map<std::string, std::string> RecordingFile::Info() const
{
    std::map<std::string, std::string> info;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT key, value FROM info", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        info.emplace(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                     reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
    }
    sqlite3_finalize(statement);
    return info;
}

long long RecordingFile::SampleCount() const
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT count(*) FROM samples", -1, &statement, nullptr);
    const long long count = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    return count;
}

QStringList RecordingFiles(const QString& folder)
{
    static const QRegularExpression kPart(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))?\\.sqlite3$"));
    QStringList files = QDir(folder).entryList({QStringLiteral("*.sqlite3")}, QDir::Files);
    const auto key = [](const QString& name) {
        const QRegularExpressionMatch match = kPart.match(name);
        return std::make_pair(match.captured(1), match.captured(2).isEmpty() ? 1 : match.captured(2).toInt());
    };
    std::sort(files.begin(), files.end(), [&](const QString& a, const QString& b) { return key(a) < key(b); });
    for (QString& file : files)
        file = QDir(folder).filePath(file);
    return files;
}

unsigned long long Bits(double value)
{
    unsigned long long bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace vexa::server::recording::test
