#pragma once

#include <QString>

namespace vexa::link {

/// The time of the last sample as the status bar shows it.
struct TimeReading {
    bool remote = false;  ///< the server's time, not this computer's
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
    /// Seconds since midnight: the server's field, or the local time of day
    /// that replaces it.
    double secondsOfDay = 0.0;
};

inline constexpr double kSecondsPerDay = 86400.0;

/// True when \p timeOfDay is a time the server gave: from 0 up to (not
/// including) 86400 seconds.
bool IsServerTime(double timeOfDay);

/// Reads a sample's time field: a value from 0 up to (not including) 86400 is
/// the server's time of day; anything else (negative, a day or more, not a
/// number) is replaced by \p localSecondsOfDay, this computer's time of day
/// with its milliseconds.
TimeReading InterpretTimeField(double timeOfDay, double localSecondsOfDay);

/// This computer's local time of day in seconds, milliseconds included.
double LocalSecondsOfDay();

/// "Remote Time: hh:mm:ss.mmm" or "PC Time: hh:mm:ss.mmm".
QString TimeFieldText(const TimeReading& reading);

}  // namespace vexa::link
