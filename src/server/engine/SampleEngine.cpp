#include "server/engine/SampleEngine.h"

#include <algorithm>
#include <ctime>

#include "platform/AnsiText.h"
#include "server/engine/DataPath.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace vexa::server {

namespace {

/// The local time of day with milliseconds. The calendar conversion, which
/// consults the time zone files, runs once a second; within the second
/// only the milliseconds move. A sample request does not pay for it.
QTime LocalTimeOfDay()
{
    static std::time_t cachedSecond = -1;
    static QTime cachedTime;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec != cachedSecond) {
        std::tm local{};
        localtime_r(&now.tv_sec, &local);
        cachedSecond = now.tv_sec;
        cachedTime = QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59));
    }
    return cachedTime.addMSecs(int(now.tv_nsec / 1000000));
}

}  // namespace

namespace {

constexpr char kNoPath[] = "<none>";
constexpr char kNameHeading[] = "Name";
/// Names are padded to the widest a name field can hold, so the values line up.
constexpr int kNameColumn = link::kMaxNameLength;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kTimeOfDayOff = -1.0;
constexpr char kMostSignificant = 'M';
constexpr char kLeastSignificant = 'L';

/// printf-style formatting into 8-bit bytes, as long as the text needs.
[[gnu::format(printf, 1, 2)]] QByteArray Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    QByteArray text;
    if (length > 0) {
        std::vector<char> buffer(size_t(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text = QByteArray(buffer.data(), length);
    }
    va_end(args);
    return text;
}

}  // namespace

SampleEngine::SampleEngine(ServerLog& log, int dataPath, QObject* parent)
    : QObject(parent),
      m_log(log),
      m_transportLabel(TransportLabel(dataPath).toLatin1()),
      m_clock(&LocalTimeOfDay)
{
    m_fastTimer.setInterval(kFastTickMs);
    m_squareTimer.setInterval(kSquareTickMs);
    connect(&m_fastTimer, &QTimer::timeout, this, &SampleEngine::FastTick);
    connect(&m_squareTimer, &QTimer::timeout, this, &SampleEngine::SquareTick);
}

void SampleEngine::ProcessLayout()
{
    Log(Format("\n%s: Measurement list received from client:", m_transportLabel.constData()));
    const QByteArray path = m_layout.path();
    Log(Format("\tMVX File: %s\n\tNumber Of Measurements: %d", path.isEmpty() ? kNoPath : path.constData(),
               int(m_layout.count())));
    if (!m_layout.isCountValid()) {
        // A negative count is as unusable as one beyond the block's room;
        // clearing leaves an empty path, so the simulate check changes nothing.
        Log(Format("ERROR: Invalid setup received from VEXA-Display.\n"
                   "The maximum number of measurements that can be defined is %d.",
                   link::kServerLayoutNames));
        m_layout.clear();
    } else {
        for (int i = 0; i < m_layout.count(); ++i)
            Log(Format("\t\t%d:\t%s", i + 1, m_layout.name(i).constData()));
    }
    Log(QByteArray());
    CheckSimulate();
    if (m_live != nullptr)
        m_live->BindLayout(m_layout, measurementCount());
    if (m_faults != nullptr)
        m_faults->BindLayout(m_layout, measurementCount());
}

void SampleEngine::ReceiveLayout(const char* bytes, qint64 length)
{
    m_layout.assign(bytes, length);
    ProcessLayout();
}

void SampleEngine::CheckSimulate()
{
    const QByteArray path = m_layout.path();
    if (path.isEmpty())
        return;
    if (IsSimulatePath(path))
        StartSimulate();
    else
        StopSimulate();
    if (m_simulating)
        AssignSources();
}

void SampleEngine::StartSimulate()
{
    if (m_simulating)
        return;
    Log("SIMULATE MODE ON");
    m_simulating = true;
    m_fastTimer.start();
    m_squareTimer.start();
}

void SampleEngine::StopSimulate()
{
    if (!m_simulating)
        return;
    Log("SIMULATE MODE OFF");
    m_simulating = false;
    StopTimers();
}

void SampleEngine::AssignSources()
{
    const int count = measurementCount();
    for (int i = 0; i < count; ++i)
        m_sources[size_t(i)] = SourceForName(m_layout.name(i));
}

void SampleEngine::setLiveValues(LiveValues* live)
{
    m_live = live;
    if (m_live != nullptr)
        m_live->BindLayout(m_layout, measurementCount());
}

void SampleEngine::setClock(std::function<QTime()> clock)
{
    m_clock = clock ? std::move(clock) : std::function<QTime()>(&LocalTimeOfDay);
}

void SampleEngine::setFaults(SampleFaults* faults)
{
    m_faults = faults;
    if (m_faults != nullptr)
        m_faults->BindLayout(m_layout, measurementCount());
}

void SampleEngine::SampleStep()
{
    const bool live = m_live != nullptr && m_live->hasLiveSources();
    if (m_simulating || live) {
        if (m_timeOfDayOn)
            StampTime();
        const std::int64_t now = live ? MonotonicMs() : 0;
        const int count = measurementCount();
        const bool tapping = m_simulating && m_generatorTap && m_tappedStep != m_generatorStep;
        m_tappedStep = m_generatorStep;
        for (int i = 0; i < count; ++i) {
            if (live) {
                if (const std::optional<double> value = m_live->LiveValueAt(i, now)) {
                    m_sample.setValue(i, *value);
                    continue;
                }
                if (!m_simulating) {
                    // Shown as missing until a source feeds the name.
                    m_sample.setValue(i, std::numeric_limits<double>::quiet_NaN());
                    continue;
                }
            }
            const int from = m_sources[size_t(i)];
            const double simulated = from == kRandomSource ? RandomDraw() : m_generators.output(from);
            m_sample.setValue(i, m_faults != nullptr ? m_faults->Apply(i, simulated) : simulated);
            if (tapping) {
                const QByteArray name = m_layout.name(i);
                m_generatorTap(std::string_view(name.constData(), std::size_t(name.size())), m_sample.value(i));
            }
        }
    }
    if (m_verbose) {
        Log(Format("\n%s: VEXA-Display requests next data sample:\n", m_transportLabel.constData()));
        ListMeasurements();
    }
}

void SampleEngine::StampTime()
{
    const QTime now = m_clock();
    m_lastStamp = {now.hour(), now.minute(), now.second(), now.msec()};
    m_sample.setTimeOfDay(m_lastStamp.hours * kSecondsPerHour + m_lastStamp.minutes * kSecondsPerMinute
                          + m_lastStamp.seconds + m_lastStamp.milliseconds / kMillisecondsPerSecond);
}

QByteArray SampleEngine::SampleBytes() const
{
    return m_sample.wireBytes(measurementCount());
}

QByteArrayView SampleEngine::SampleView() const
{
    return QByteArrayView(m_sample.data(), link::SampleBytesFor(measurementCount()));
}

QByteArray SampleEngine::LayoutBytes() const
{
    return QByteArray(m_layout.data(), m_layout.size());
}

void SampleEngine::ListMeasurements()
{
    if (m_timeOfDayOn) {
        Log(Format("Time Of Day: %2.2d:%2.2d:%2.2d.%3.3d", m_lastStamp.hours, m_lastStamp.minutes,
                   m_lastStamp.seconds, m_lastStamp.milliseconds));
    }
    Log(Format("#\tAddress\t%-*s\tValue", kNameColumn, kNameHeading));
    const int count = measurementCount();
    for (int i = 0; i < count; ++i) {
        Log(Format("%d:\t%.5d\t%-*s\t%.4f", i + 1, m_sources[size_t(i)], kNameColumn,
                   m_layout.name(i).constData(), m_sample.value(i)));
    }
}

void SampleEngine::MeasurementInformation()
{
    const QByteArray path = m_layout.path();
    if (path.isEmpty()) {
        Log("Measurement Data File Setup has not been set up");
        return;
    }
    Log(Format("\nSetup Pathname: %s", path.constData()));
    Log(Format("Number of Measurements: %d\n", int(m_layout.count())));
    ListMeasurements();
}

void SampleEngine::ListDecomControl()
{
    if (m_decom.wordsPerFrame == 0) {
        Log("Decom Control has not been set up");
        return;
    }
    Log(Format("WordsPerFrame = %d", int(m_decom.wordsPerFrame)));
    Log(Format("WordSize = %d", int(m_decom.wordSize)));
    Log(Format("BitOrder = %cSB",
               m_decom.bitOrder == DecomControl::kMostSignificantBitFirst ? kMostSignificant : kLeastSignificant));
    // The record has room for 1024 words; a larger frame lists those it holds.
    const int words = std::min<int>(m_decom.wordsPerFrame, DecomControl::kWords);
    for (int i = 0; i < words; ++i)
        Log(Format("%.3d\t%.2x\t%s", i + 1, unsigned(m_decom.addresses[size_t(i)]), m_decom.name(i).constData()));
}

void SampleEngine::SetTimeOfDay(bool on)
{
    m_timeOfDayOn = on;
    if (!on)
        m_sample.setTimeOfDay(kTimeOfDayOff);
}

int SampleEngine::source(int index) const
{
    if (index < 0 || index >= int(m_sources.size()))
        return 0;
    return m_sources[size_t(index)];
}

void SampleEngine::FastTick()
{
    m_generators.AdvanceFast(RandomDraw());
    ++m_generatorStep;
    if (m_faults != nullptr)
        m_faults->Advance();
}

void SampleEngine::SquareTick()
{
    m_generators.ToggleSquare();
}

bool SampleEngine::areTimersActive() const
{
    return m_fastTimer.isActive() && m_squareTimer.isActive();
}

void SampleEngine::StopTimers()
{
    m_fastTimer.stop();
    m_squareTimer.stop();
}

int SampleEngine::measurementCount() const
{
    return std::clamp<int>(m_layout.count(), 0, m_layout.capacity());
}

void SampleEngine::Log(const QByteArray& text)
{
    m_log.LogLine(FromAnsi(std::string_view(text.constData(), size_t(text.size()))));
}

}  // namespace vexa::server
