#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexa::server {

/// One stored value of a replay file.
struct ReplayRow {
    double time = 0.0;        ///< seconds since the epoch
    std::int32_t name = 0;    ///< index into ReplayFile::names()
    double value = 0.0;       ///< the stored double; a quiet NaN where none was stored
    double sourceTime = 0.0;  ///< the sender's time in seconds; NaN when none
};

/// A file that can be replayed or exported: a recording or a CSV file. Its
/// rows come in time order from positions that are cheap to reach, so that
/// a replay reads it in bounded chunks and seeks without scanning it.
class ReplayFile {
public:
    /// How many rows before a position are looked through for the values
    /// in force there: enough for every name of a recording fed at an
    /// ordinary rate, and few enough that a seek stays short.
    static constexpr std::int64_t kLookbackRows = 100000;

    virtual ~ReplayFile() = default;

    /// The path the file was opened from, as given.
    const QString& path() const { return m_path; }
    /// The names the rows refer to, by index.
    const std::vector<std::string>& names() const { return m_names; }
    /// The time of the first and of the last row.
    double firstTime() const { return m_firstTime; }
    double lastTime() const { return m_lastTime; }
    /// The first position and the position past the last row.
    std::int64_t beginPosition() const { return m_begin; }
    std::int64_t endPosition() const { return m_end; }

    /// The position of the first row stored at or after \p time;
    /// endPosition() when there is none, nullopt when the file fails.
    virtual std::optional<std::int64_t> PositionAt(double time) = 0;
    /// Puts into \p rows (emptied first) up to \p maxRows rows from
    /// \p position on, stopping before \p until, and sets \p next to the
    /// position after the last one read. False when the file fails; error()
    /// says why.
    virtual bool Read(std::int64_t position, std::int64_t until, std::size_t maxRows, std::vector<ReplayRow>& rows,
                      std::int64_t& next) = 0;

    /// For each name, the last row within the kLookbackRows rows before
    /// \p position (nullopt for a name none of them holds). False when the
    /// file fails.
    bool LastRowsBefore(std::int64_t position, std::vector<std::optional<ReplayRow>>& last);

    /// Why the file could not be opened or read.
    const QString& error() const { return m_error; }

protected:
    explicit ReplayFile(QString path) : m_path(std::move(path)) {}

    QString m_path;
    std::vector<std::string> m_names;
    double m_firstTime = 0.0;
    double m_lastTime = 0.0;
    std::int64_t m_begin = 0;
    std::int64_t m_end = 0;
    QString m_error;
};

/// A file opened for replay, or why it could not be.
struct OpenedReplayFile {
    std::unique_ptr<ReplayFile> file;  ///< nullptr when it failed
    QString error;                     ///< the path, then what is wrong with it
};

/// Opens \p path for replay: a file whose name ends in ".csv" as CSV, any
/// other as a recording. A file without a single row fails.
OpenedReplayFile OpenReplayFile(const QString& path);

}  // namespace vexa::server
