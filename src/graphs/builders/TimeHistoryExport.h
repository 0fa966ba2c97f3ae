#pragma once

#include <QString>

class QWidget;

/// "Export CSV..." of a time history and of its history window: the rows in
/// view written to a file the user names.
namespace vexa::graphs {

struct GraphResources;

inline constexpr const char* kExportCsvCommand = "Export CSV...";
inline constexpr const char* kExportCsvTitle = "Export CSV";

/// Which chart's rows an export writes.
enum class ExportedChart { Live, History };

/// The rows in view of \p chart as comma-separated lines: a header line,
/// then per row the time of day, each measurement's engineering value and
/// each measurement's alarm level name.
QString TimeHistoryCsv(const GraphResources& resources, ExportedChart chart);

/// Writes \p text in UTF-8 to \p path in place of what it held; 0, or the
/// errno of the step that failed (the file is then left as it was).
int WriteTextFile(const QString& path, const QString& text);

/// Takes the rows in view, asks for a file (a name without an extension
/// gets ".csv"; an existing file is replaced only when the user says so)
/// and writes them to it; a failure is shown with its reason. Nothing for a
/// graph that is no time history.
void ExportTimeHistoryCsv(QWidget* owner, const GraphResources& resources, ExportedChart chart);

}  // namespace vexa::graphs
