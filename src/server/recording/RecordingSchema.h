#pragma once

/// The tables of a recording file. A recording can be read with any SQLite
/// client; the README describes each column.
namespace vexa::server::recording {

inline constexpr int kFormatVersion = 1;

inline constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS info(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS names(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE IF NOT EXISTS samples(time REAL NOT NULL, name_id INTEGER NOT NULL,"
    " value, source_time REAL);"
    "CREATE VIEW IF NOT EXISTS readings AS SELECT s.time, n.name, s.value, s.source_time"
    " FROM samples s JOIN names n ON n.id = s.name_id;";

/// The file name extension of a recording.
inline constexpr const char* kExtension = ".sqlite3";

}  // namespace vexa::server::recording
