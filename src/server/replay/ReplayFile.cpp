#include "server/replay/ReplayFile.h"

#include "server/replay/CsvReplayFile.h"
#include "server/replay/RecordingReplayFile.h"

#include <algorithm>

namespace vexa::server {

namespace {

/// Rows read at a time while looking back.
constexpr std::size_t kLookbackChunk = 8192;

}  // namespace

bool ReplayFile::LastRowsBefore(std::int64_t position, std::vector<std::optional<ReplayRow>>& last)
{
    last.assign(m_names.size(), std::nullopt);
    std::vector<ReplayRow> rows;
    std::int64_t from = std::max(m_begin, position - kLookbackRows);
    while (from < position) {
        std::int64_t next = from;
        if (!Read(from, position, kLookbackChunk, rows, next))
            return false;
        if (rows.empty())
            break;
        for (const ReplayRow& row : rows)
            last[std::size_t(row.name)] = row;
        from = next;
    }
    return true;
}

OpenedReplayFile OpenReplayFile(const QString& path)
{
    std::unique_ptr<ReplayFile> file;
    QString why;
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        file = CsvReplayFile::Open(path, why);
    else
        file = RecordingReplayFile::Open(path, why);
    if (file == nullptr)
        return {nullptr, QStringLiteral("%1: %2").arg(path, why)};
    return {std::move(file), QString()};
}

}  // namespace vexa::server
