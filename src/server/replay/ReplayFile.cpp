#include "server/replay/ReplayFile.h"

#include "server/replay/CsvReplayFile.h"
#include "server/replay/RecordingReplayFile.h"

#include <algorithm>

namespace vexa::server {

namespace {

/// Rows read at a time while looking back.
constexpr std::size_t kLookbackChunk = 8192;
/// The first window looked back through, and how much wider each next one is.
constexpr std::int64_t kFirstLookback = 1024;
constexpr std::int64_t kLookbackGrowth = 8;

}  // namespace

bool ReplayFile::LastRowsBefore(std::int64_t position, std::vector<std::optional<ReplayRow>>& last)
{
    last.assign(m_names.size(), std::nullopt);
    std::size_t missing = m_names.size();
    std::vector<ReplayRow> rows;
    std::vector<std::optional<ReplayRow>> window(m_names.size());
    // Looks back in widening windows, each just before the last, and stops
    // as soon as every name has a value: a recording whose names all come
    // often is done after the first.
    const std::int64_t oldest = std::max(m_begin, position - kLookbackRows);
    std::int64_t windowEnd = position;
    for (std::int64_t width = kFirstLookback; missing > 0 && windowEnd > oldest; width *= kLookbackGrowth) {
        const std::int64_t windowStart = std::max(oldest, windowEnd - width);
        window.assign(m_names.size(), std::nullopt);
        for (std::int64_t from = windowStart; from < windowEnd;) {
            std::int64_t next = from;
            if (!Read(from, windowEnd, kLookbackChunk, rows, next))
                return false;
            if (rows.empty())
                break;
            for (const ReplayRow& row : rows)
                window[std::size_t(row.name)] = row;
            from = next;
        }
        for (std::size_t name = 0; name < window.size(); ++name) {
            if (window[name].has_value() && !last[name].has_value()) {
                last[name] = window[name];
                --missing;
            }
        }
        windowEnd = windowStart;
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
