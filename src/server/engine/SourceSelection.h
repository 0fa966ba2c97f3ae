#pragma once

#include <QByteArray>

namespace vexa::server {

/// The source index of a measurement fed by a fresh random draw on every
/// request; 0 to 5 pick a signal generator.
constexpr int kRandomDrawSource = 255;

/// The key that the measurement file's name carries: of the file name (the
/// part of \p mvxPath after its last "/" or "\"), the last eight of the
/// characters before its first "."; empty when there are fewer than eight.
QByteArray SimulateKey(const QByteArray& mvxPath);

/// True when \p mvxPath names a measurement file that asks for simulate mode:
/// its key is "SIMULATE" in any case.
bool IsSimulatePath(const QByteArray& mvxPath);

/// The source that feeds a measurement called \p name in simulate mode,
/// chosen by its first three letters in any case: "COS" 0, "SIN" 1, "SQR" 2,
/// "TRI" 3, "SAW" 4, "RAN" 5, anything else a random draw (255).
int SourceForName(const QByteArray& name);

}  // namespace vexa::server
