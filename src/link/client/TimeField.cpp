#include "TimeField.h"

#include <QTime>

#include <algorithm>
#include <cmath>

namespace vexa::link {

namespace {

constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr int kMillisecondsPerSecond = 1000;
constexpr double kSecondsPerMillisecond = 0.001;
constexpr long long kMillisecondsPerDay = static_cast<long long>(kSecondsPerDay) * kMillisecondsPerSecond;

}  // namespace

bool IsServerTime(double timeOfDay)
{
    // NaN fails both comparisons.
    return timeOfDay >= 0.0 && timeOfDay < kSecondsPerDay;
}

TimeReading InterpretTimeField(double timeOfDay, double localSecondsOfDay)
{
    TimeReading reading;
    if (IsServerTime(timeOfDay)) {
        // The server's time is split by truncation, field by field.
        reading.remote = true;
        reading.secondsOfDay = timeOfDay;
        reading.hours = static_cast<int>(timeOfDay / kSecondsPerHour);
        const double afterHours = timeOfDay - double(kSecondsPerHour) * reading.hours;
        reading.minutes = static_cast<int>(afterHours / kSecondsPerMinute);
        const double remainder = afterHours - double(kSecondsPerMinute) * reading.minutes;
        reading.seconds = static_cast<int>(remainder);
        reading.milliseconds = static_cast<int>((remainder - reading.seconds) * kMillisecondsPerSecond);
        return reading;
    }
    // The local clock has whole milliseconds; rounding to them keeps a value
    // such as .123 from showing as .122 after the sum in seconds.
    long long total = std::isfinite(localSecondsOfDay)
                          ? std::llround(localSecondsOfDay * kMillisecondsPerSecond)
                          : 0;
    total = std::clamp(total, 0LL, kMillisecondsPerDay - 1);
    reading.secondsOfDay = localSecondsOfDay;
    reading.milliseconds = static_cast<int>(total % kMillisecondsPerSecond);
    const long long wholeSeconds = total / kMillisecondsPerSecond;
    reading.seconds = static_cast<int>(wholeSeconds % kSecondsPerMinute);
    reading.minutes = static_cast<int>(wholeSeconds / kSecondsPerMinute % kSecondsPerMinute);
    reading.hours = static_cast<int>(wholeSeconds / kSecondsPerHour);
    return reading;
}

double LocalSecondsOfDay()
{
    const QTime now = QTime::currentTime();
    return double(now.hour()) * kSecondsPerHour + double(now.minute()) * kSecondsPerMinute +
           now.second() + now.msec() * kSecondsPerMillisecond;
}

QString TimeFieldText(const TimeReading& reading)
{
    return QString::asprintf("%s: %2.2d:%2.2d:%2.2d.%3.3d", reading.remote ? "Remote Time" : "PC Time",
                             reading.hours, reading.minutes, reading.seconds, reading.milliseconds);
}

}  // namespace vexa::link
