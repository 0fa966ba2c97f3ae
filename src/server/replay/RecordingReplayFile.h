#pragma once

#include "server/replay/ReplayFile.h"

#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace vexa::server {

/// A recording opened for replay. Rows are stored in time order, so a
/// row's rowid is its position: a chunk is one range of the table's own
/// B-tree, and a seek is one look-up in the time index.
class RecordingReplayFile final : public ReplayFile {
public:
    /// Opens \p path; nullptr, with \p error set, when it is not a
    /// recording this program can replay.
    static std::unique_ptr<RecordingReplayFile> Open(const QString& path, QString& error);
    ~RecordingReplayFile() override;

    std::optional<std::int64_t> PositionAt(double time) override;
    bool Read(std::int64_t position, std::int64_t until, std::size_t maxRows, std::vector<ReplayRow>& rows,
              std::int64_t& next) override;

private:
    struct CloseDatabase {
        void operator()(sqlite3* database) const;
    };
    struct FinalizeStatement {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

    explicit RecordingReplayFile(const QString& path);
    /// Reads the file's tables; false with m_error set when they do not
    /// make a recording.
    bool Load();
    /// Prepares \p sql; nullptr with m_error set when it fails.
    Statement Prepare(const char* sql);
    /// Sets m_error from the database's last failure.
    bool Fail();

    std::unique_ptr<sqlite3, CloseDatabase> m_database;
    Statement m_rowsFrom;
    Statement m_rowAtOrAfter;
    /// The index in names() of each names.id.
    std::unordered_map<std::int64_t, std::int32_t> m_nameIndex;
};

}  // namespace vexa::server
