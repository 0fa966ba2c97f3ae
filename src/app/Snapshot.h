#pragma once

#include "app/CommandLine.h"

#include <QIcon>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace vexa::app {

/// A headless report: open a view, let it run, write its graphs to a file.
struct SnapshotRequest {
    static constexpr double kDefaultAfterSeconds = 5.0;

    QString output;  ///< ".pdf" (or any other name): every graph; ".png", ".svg": the first
    double afterSeconds = kDefaultAfterSeconds;
};

/// The snapshot \p options ask for ("--snapshot OUT" and "--after SECONDS"),
/// nothing when they ask for none. A bad value gives a request with an
/// empty output and the reason in \p error.
std::optional<SnapshotRequest> SnapshotFromOptions(const LongOptions& options, QString& error);

/// Opens the display file and view of \p arguments (the program's, without
/// the program and its long options) in a frame on
/// \p settingsFile, waits the request's time with the graphs updating,
/// writes every open graph of the view as one page each into the request's
/// file and closes. Message boxes go to standard error instead of waiting
/// for a user. Returns the exit status: 0 when the file was written,
/// otherwise 1 after the reason on standard error.
int RunSnapshot(const SnapshotRequest& request, const QStringList& arguments, const std::string& settingsFile,
                const QIcon& icon);

}  // namespace vexa::app
