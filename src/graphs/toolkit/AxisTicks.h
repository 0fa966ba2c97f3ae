#pragma once

#include <QString>

#include <vector>

/// Tick positions and tick labels of an axis.
namespace vexa::toolkit {

/// The most ticks an axis draws; a finer interval is coarsened by powers of
/// ten until the ticks fit.
inline constexpr int kMaxTicks = 200;
/// How many intervals an automatic tick interval divides a range into.
inline constexpr int kAutomaticTickIntervals = 5;

/// A round interval (1, 2 or 5 times a power of ten) near \p span / \p parts;
/// 0 when the span is empty or not finite.
double NiceTickInterval(double span, int parts);

/// The interval actually used for ticks every \p interval over \p span: an
/// interval that is zero, negative or not a number gives an automatic one,
/// one that would make more than kMaxTicks ticks is coarsened; 0 when no
/// ticks can be drawn.
double EffectiveTickInterval(double span, double interval);

/// Fills \p ticks (cleared first) with the values anchor + k * interval that
/// lie in [minimum, maximum] (either order), using EffectiveTickInterval.
/// Returns the interval used (0: no ticks).
double GenerateTicks(double minimum, double maximum, double anchor, double interval, std::vector<double>& ticks);

/// How many ticks apart labels of \p labelWidth pixels must be on ticks
/// \p tickSpacing pixels apart (at least 1).
int LabelStride(double labelWidth, double tickSpacing);

/// The number k of tick anchor + k * step (its parity decides which
/// labels a stride keeps, the same way wherever the axis has scrolled).
long long TickNumber(double tick, double anchor, double step);

/// The decimals that numbers at ticks of \p interval from \p anchor need to
/// read exactly (at most 6).
int TickDecimals(double interval, double anchor);

/// Seconds since midnight as "hh:mm:ss", wrapping at 24 hours.
QString ClockTimeText(double seconds);

}  // namespace vexa::toolkit
