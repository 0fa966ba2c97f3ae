#pragma once

#include "server/replay/ReplayTime.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string_view>

namespace vexa::server {

class ReplayFile;

/// What to export of a replay file.
struct ExportRequest {
    TimeRange range;    ///< the times to export, both ends included
    QStringList names;  ///< the columns after "time", in this order; empty for every name of the file
    bool fill = true;   ///< a name without a value at a time carries its last value; else its cell stays empty
};

/// How an export ended.
struct ExportOutcome {
    std::uint64_t rows = 0;  ///< data rows written
    QString error;           ///< empty when every row was written
};

/// Where the text of an export goes, piece by piece; false when a piece
/// could not be written.
using ExportSink = std::function<bool(std::string_view text)>;

/// Writes the rows of \p file in \p request's range to \p out as a wide
/// CSV: a header "time,NAME,...", then a row at every stored time at which
/// a chosen name has a value, the time in seconds since the epoch and each
/// value as the shortest text that reads back as the same double ("NaN" for
/// a NaN). With fill on, a name starts from its last value before the range.
ExportOutcome ExportCsv(ReplayFile& file, const ExportRequest& request, const ExportSink& out);

/// ExportCsv into the file \p path, which is replaced whole once the CSV
/// is written, or left as it was when it fails. The error names the file
/// that failed.
ExportOutcome ExportCsvFile(ReplayFile& file, const ExportRequest& request, const QString& path);

}  // namespace vexa::server
