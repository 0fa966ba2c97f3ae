#pragma once

#include "link/protocol/DataSample.h"
#include "link/protocol/LayoutBlock.h"
#include "link/protocol/WireFormat.h"
#include "server/engine/DecomControl.h"
#include "server/engine/LiveValues.h"
#include "server/engine/PortableRandom.h"
#include "server/engine/SampleFaults.h"
#include "server/engine/ServerLog.h"
#include "server/engine/SignalGenerators.h"
#include "server/engine/SourceSelection.h"

#include <QByteArray>
#include <QObject>
#include <QTime>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

namespace vexa::server {

/// The data side of the server: the layout the display program sent last,
/// the data sample that answers its requests, the source of every value,
/// the signal generators of simulate mode and the listings for the log.
///
/// Simulate mode is chosen by the measurement file's name; while it is on,
/// two timers drive the generators and every sample step fills the sample
/// from them. Outside simulate mode the sample is left as it stands, unless
/// live inputs are configured: then every name is answered from live data,
/// and in simulate mode the names a live source has fed keep their live
/// values among the simulated ones.
class SampleEngine : public QObject {
    Q_OBJECT

public:
    /// Period of the timer that advances the fast generators.
    static constexpr int kFastTickMs = 100;
    /// Period of the timer that flips the square wave.
    static constexpr int kSquareTickMs = 1000;
    /// The source index of a fresh random draw on every request.
    static constexpr int kRandomSource = kRandomDrawSource;

    /// An engine that writes to \p log; \p dataPath picks the transport word
    /// ("DDE" or "Ethernet") of its log lines.
    SampleEngine(ServerLog& log, int dataPath, QObject* parent = nullptr);

    /// The layout block; a transport copies a received layout into it and
    /// then calls ProcessLayout.
    link::LayoutBlock& layout() { return m_layout; }
    const link::LayoutBlock& layout() const { return m_layout; }
    const link::DataSample& sample() const { return m_sample; }

    /// Handles the layout now in layout(): logs its header and names (or
    /// refuses and clears a block whose count lies outside 0 to 600), then
    /// switches simulate mode by the measurement file's name and, in simulate
    /// mode, gives every name its source.
    void ProcessLayout();
    /// Copies \p length received bytes (the layout without its command byte)
    /// into the layout block, zeroing the rest, and processes it.
    void ReceiveLayout(const char* bytes, qint64 length);

    /// Brings the sample up to date for a request: in simulate mode, or with
    /// live inputs configured, it takes the time of day (when that is on)
    /// and every value from its source. A name a live source has fed gets
    /// its live value (NaN once stale); any other name gets its generator's
    /// value in simulate mode and NaN outside it. In verbose mode it then
    /// logs the request and the measurement listing.
    void SampleStep();
    /// The 8 + 8 x count bytes that answer a sample request.
    QByteArray SampleBytes() const;
    /// The same bytes where the engine keeps them, valid until the next
    /// sample step or layout.
    QByteArrayView SampleView() const;
    /// The whole layout block, 20064 bytes.
    QByteArray LayoutBytes() const;

    /// Logs the last time stamp (when time of day is on), a header and one
    /// line per measurement with its source and current value.
    void ListMeasurements();
    /// Logs the measurement file's path, the count and the listing, or that
    /// no layout has been set up.
    void MeasurementInformation();
    /// Logs the decom control record, or that it has not been set up.
    void ListDecomControl();

    /// Switches the time stamp on or off; switching it off sets the
    /// sample's time to -1.0 at once.
    void SetTimeOfDay(bool on);
    bool isTimeOfDayOn() const { return m_timeOfDayOn; }
    void setVerbose(bool on) { m_verbose = on; }
    bool isVerbose() const { return m_verbose; }

    bool isSimulating() const { return m_simulating; }
    /// The source index of layout position \p index; 0 outside the table.
    int source(int index) const;
    /// The current output of generator \p generator (0 to 5); 0 for any other.
    double generatorOutput(int generator) const { return m_generators.output(generator); }
    /// The generators' angle in degrees.
    double angle() const { return m_generators.angle(); }

    /// The fast timer's step: advances the angle, cosine, sine, triangle,
    /// sawtooth and random outputs.
    void FastTick();
    /// The slow timer's step: flips the square wave.
    void SquareTick();
    /// True while both timers run.
    bool areTimersActive() const;
    /// Stops both timers (the server does so when it exits).
    void StopTimers();

    /// Starts the random sequence for \p seed.
    void SeedRandom(unsigned seed) { m_random.seed(seed); }
    /// The random generator's next number, 0 to 32767.
    int NextRandom() { return m_random.next(); }
    /// A random value from -100 to +100.
    double RandomDraw() { return m_random.draw(); }

    /// Answers layout names from \p live (nullptr for none); the engine does
    /// not own it, and tells it every layout it takes.
    void setLiveValues(LiveValues* live);
    /// Makes simulated values misbehave as \p faults say (nullptr for
    /// none); the engine does not own them, and tells them every layout it
    /// takes and every fast tick.
    void setFaults(SampleFaults* faults);

    /// Hands \p tap the values the generators give, once per generator
    /// step: those of the first sample step after each step. An empty
    /// function for none.
    void setGeneratorTap(std::function<void(std::string_view name, double value)> tap) { m_generatorTap = std::move(tap); }

    /// Replaces the clock that gives the local time of day (with
    /// milliseconds) for the time stamp; an empty one puts the system's
    /// clock back.
    void setClock(std::function<QTime()> clock);

    /// The decom control record, zero at start.
    DecomControl& decomControl() { return m_decom; }
    const DecomControl& decomControl() const { return m_decom; }

private:
    /// The last time stamp, kept for the listing.
    struct TimeStamp {
        std::int32_t hours = 0;
        std::int32_t minutes = 0;
        std::int32_t seconds = 0;
        std::int32_t milliseconds = 0;
    };

    void CheckSimulate();
    void StartSimulate();
    void StopSimulate();
    void AssignSources();
    void StampTime();
    /// The count in force, held to the block's capacity.
    int measurementCount() const;
    /// Writes one text of 8-bit bytes to the log.
    void Log(const QByteArray& text);

    ServerLog& m_log;
    QByteArray m_transportLabel;
    link::LayoutBlock m_layout{link::kServerLayoutNames};
    link::DataSample m_sample{link::kServerLayoutNames};
    std::array<std::int32_t, link::kServerLayoutNames> m_sources{};
    SignalGenerators m_generators;
    PortableRandom m_random;
    TimeStamp m_lastStamp;
    DecomControl m_decom;
    bool m_simulating = false;
    bool m_timeOfDayOn = true;
    bool m_verbose = false;
    QTimer m_fastTimer;
    QTimer m_squareTimer;
    std::function<QTime()> m_clock;
    LiveValues* m_live = nullptr;
    std::function<void(std::string_view, double)> m_generatorTap;
    /// Generator steps taken, and the step last handed to the tap.
    std::uint64_t m_generatorStep = 0;
    std::uint64_t m_tappedStep = ~std::uint64_t(0);
    SampleFaults* m_faults = nullptr;
};

}  // namespace vexa::server
