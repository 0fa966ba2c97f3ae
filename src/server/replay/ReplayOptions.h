#pragma once

#include "server/replay/ReplayTime.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vexa::server {

/// The replay's and the export's options of the command line.
struct ReplayOptions {
    QString replayFile;  ///< --replay FILE: replayed from the start; empty for none
    double speed = 1.0;  ///< --speed X, 0.1 to 100
    bool loop = false;   ///< --loop
    std::optional<TimeArgument> from;  ///< --from T
    std::optional<TimeArgument> to;    ///< --to T
    QString exportFile;  ///< --export FILE: written as CSV, then the program ends; empty for none
    QStringList names;   ///< --names A,B,...: the columns of the export
    QString out;         ///< --out CSV: where the export goes; empty for the standard output
    bool fill = true;    ///< false with --no-fill
};

/// The outcome of reading the command line: the options, or what was wrong.
struct ReplayOptionsResult {
    ReplayOptions options;
    QString error;  ///< empty when the options were sound
};

/// Reads the replay's options from \p arguments (the program's name first),
/// each also as --option=VALUE. Other arguments are left to others. A
/// missing or malformed value, or --replay with --export, is an error.
ReplayOptionsResult ParseReplayOptions(const QStringList& arguments);

/// Carries out --export as \p options ask, telling any failure on the
/// standard error; the program's exit status.
int RunExport(const ReplayOptions& options);

}  // namespace vexa::server
