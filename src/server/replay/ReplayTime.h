#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <string_view>

namespace vexa::server {

/// A time that bounds a replay or an export: seconds since the epoch, or
/// seconds after the first stored time.
struct TimeArgument {
    double seconds = 0.0;
    bool fromStart = false;

    /// The time in seconds since the epoch, for a file that starts at \p start.
    double resolve(double start) const { return fromStart ? start + seconds : seconds; }
};

/// Reads a time as stored or given: seconds since the epoch ("1765270800.25")
/// or ISO 8601 ("2025-12-09T09:00:00.250Z", "2025-12-09 10:00:00+01:00"; local
/// time without a zone). nullopt for anything else.
std::optional<double> ParseAbsoluteTime(std::string_view text);
/// Reads a time given with --from or --to or typed in the Replay window: an
/// absolute time as ParseAbsoluteTime reads it, or "+SECONDS" after the
/// start.
std::optional<TimeArgument> ParseTimeArgument(QStringView text);

/// The span of a replay or an export, in seconds since the epoch.
struct TimeRange {
    double from = 0.0;
    double to = 0.0;
};

/// The span that \p from and \p to pick out of a file whose rows run from
/// \p first to \p last: each bound given is held to the file's span, each
/// missing one is the file's end. Fails, with \p error set, when the span
/// is empty or reversed, or lies outside the file.
std::optional<TimeRange> ResolveRange(double first, double last, const std::optional<TimeArgument>& from,
                                      const std::optional<TimeArgument>& to, QString& error);

/// \p seconds since the epoch as local date and time with milliseconds,
/// "2025-12-09 10:00:00.250", for the log and the Replay window.
QString TimeText(double seconds);

}  // namespace vexa::server
