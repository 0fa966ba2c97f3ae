#pragma once

#include "server/recording/RecordingBatch.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vexa::server::recording {

/// Writes one recording: a file named by its start in the recording folder,
/// continued in a further part whenever a part reaches its size limit. All
/// its work runs on the recorder's writer thread; it knows nothing of Qt.
/// Values go into an open transaction that Commit() ends.
class RecordingWriter {
public:
    /// A part is continued in the next once it holds this many bytes.
    static constexpr std::int64_t kDefaultPartBytes = std::int64_t(2) << 30;

    /// What a recording is started with.
    struct Setup {
        std::filesystem::path folder;
        /// When the recording started, in milliseconds since the epoch.
        std::int64_t startedMs = 0;
        /// The program and its version, for the info table.
        std::string program;
        /// "inputs" or "simulate".
        std::string mode;
        std::int64_t partBytes = kDefaultPartBytes;
    };

    explicit RecordingWriter(Setup setup);
    /// Commits what is written and closes the file.
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    /// Creates the folder and the first part; false with error() set when
    /// that fails. A name already taken is passed over for the next second's.
    bool Open();
    /// Adds \p batch to the open transaction and starts the next part when
    /// this one is full; false with error() set when a write failed, after
    /// which the writer takes nothing more.
    bool Write(const RecordingBatch& batch);
    /// Ends the open transaction; false with error() set when that failed.
    bool Commit();
    /// Commits and closes the file; false when the commit failed.
    bool Close();

    /// The part being written.
    const std::filesystem::path& path() const { return m_path; }
    int part() const { return m_part; }
    /// The values written so far (committed or in the open transaction).
    std::uint64_t valueCount() const { return m_valueCount; }
    /// What went wrong, naming the file.
    const std::string& error() const { return m_error; }

    /// The file name of part \p part of the recording \p baseName.
    static std::string PartFileName(const std::string& baseName, int part);
    /// \p epochMs as the info table's 'started' has it: ISO 8601 in UTC
    /// with milliseconds.
    static std::string IsoUtc(std::int64_t epochMs);
    /// The local time of \p epochSeconds as a recording's name has it,
    /// YYYY-MM-DD_HH-MM-SS.
    static std::string LocalBaseName(std::int64_t epochSeconds);

private:
    bool OpenPart(const std::string& previous);
    bool Execute(const char* sql);
    bool Begin();
    bool SetInfo(const char* key, const std::string& value);
    bool InsertName(std::int32_t id, const std::string& name);
    /// Inserts \p count values with \p statement, which takes that many.
    bool InsertValues(sqlite3_stmt* statement, const RecordedValue* values, int count);
    bool IsPartFull();
    bool StartNextPart();
    /// Notes the failure of \p what with SQLite's and the system's words.
    bool Fail(const std::string& what);
    void CloseDatabase();

    Setup m_setup;
    std::string m_baseName;
    std::filesystem::path m_path;
    int m_part = 0;
    sqlite3* m_db = nullptr;
    /// Values go in kValuesPerInsert to a statement, which halves the cost
    /// of a value against one statement each; the rest of a batch one by one.
    static constexpr int kValuesPerInsert = 64;
    sqlite3_stmt* m_insertValue = nullptr;
    sqlite3_stmt* m_insertValues = nullptr;
    sqlite3_stmt* m_insertName = nullptr;
    sqlite3_stmt* m_pageCount = nullptr;
    std::int64_t m_pageSize = 0;
    bool m_inTransaction = false;
    /// Every name given so far, by id, so that each part holds them all.
    std::vector<std::pair<std::int32_t, std::string>> m_names;
    std::uint64_t m_valueCount = 0;
    std::string m_error;
};

}  // namespace vexa::server::recording
