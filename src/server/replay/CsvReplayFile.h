#pragma once

#include "server/replay/ReplayFile.h"

#include <memory>
#include <string_view>

namespace vexa::server {

/// A CSV file opened for replay: a header row whose first column is
/// "time", then one row per time with one column per name. Times are
/// seconds since the epoch or ISO 8601 and never go backwards; an empty
/// cell means no value. The file is read whole when opened, and the first
/// fault found refuses it with its line number.
class CsvReplayFile final : public ReplayFile {
public:
    /// The largest CSV file replayed: it is held in memory.
    static constexpr qint64 kMaxBytes = qint64(256) << 20;

    /// Opens \p path; nullptr, with \p error set, when it cannot be replayed.
    static std::unique_ptr<CsvReplayFile> Open(const QString& path, QString& error);
    /// Reads \p text as the contents of \p path.
    static std::unique_ptr<CsvReplayFile> Parse(const QString& path, std::string_view text, QString& error);

    std::optional<std::int64_t> PositionAt(double time) override;
    bool Read(std::int64_t position, std::int64_t until, std::size_t maxRows, std::vector<ReplayRow>& rows,
              std::int64_t& next) override;

private:
    explicit CsvReplayFile(const QString& path) : ReplayFile(path) {}
    /// Takes \p text; false, with \p error set, at its first fault.
    bool Load(std::string_view text, QString& error);

    std::vector<ReplayRow> m_rows;
};

}  // namespace vexa::server
