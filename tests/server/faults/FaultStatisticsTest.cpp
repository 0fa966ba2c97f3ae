// Faults at work on the sample engine's simulated values, for fixed seeds:
// the counts of chance events within a few standard deviations of the
// binomial's mean, the times of dropouts and stuck values to the step, the
// drift's slope by a least-squares fit, the noise's standard deviation, and
// the generators' own sequence untouched.

#include "../engine/EngineTestSupport.h"
#include "FaultTestSupport.h"

#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"
#include "server/faults/FaultInjector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

namespace vexa::server {
namespace {

using test::RecordingLog;
using test::SendLayout;

constexpr char kSimulatePath[] = "/data/SIMULATE.mvx";
/// A count of chance events lies within this many standard deviations of
/// its mean; a sound generator falls outside about once in 16,000 runs,
/// and these seeds are fixed, so a run that passes passes every time.
constexpr double kSigmas = 4.0;

/// An engine in simulate mode whose timers are stopped, so that the test
/// takes every step itself, with \p faults in force.
class FaultedEngine {
public:
    FaultedEngine(const std::vector<const char*>& faults, std::uint32_t seed, const std::vector<QByteArray>& names)
        : m_engine(m_log, kDataPathTcpIp)
    {
        m_injector.setConfig(FaultsOf(faults, seed));
        m_engine.setFaults(&m_injector);
        m_engine.SeedRandom(1);
        SendLayout(m_engine, kSimulatePath, names);
        m_engine.StopTimers();
    }
    /// One fast tick and one sample: the values of every name.
    std::vector<double> Step()
    {
        m_engine.FastTick();
        m_engine.SampleStep();
        std::vector<double> values;
        for (int i = 0; i < m_engine.layout().count(); ++i)
            values.push_back(m_engine.sample().value(i));
        return values;
    }
    SampleEngine& engine() { return m_engine; }

private:
    RecordingLog m_log;
    FaultInjector m_injector;
    SampleEngine m_engine;
};

/// The lengths of the runs of steps for which \p in holds.
std::vector<int> RunLengths(const std::vector<bool>& in)
{
    std::vector<int> runs;
    int length = 0;
    for (const bool each : in) {
        if (each) {
            ++length;
        } else if (length > 0) {
            runs.push_back(length);
            length = 0;
        }
    }
    if (length > 0)
        runs.push_back(length);
    return runs;
}

/// Checks that \p events chance events out of \p trials are within kSigmas
/// of the binomial's mean for \p chance.
void ExpectBinomialCount(int events, int trials, double chance)
{
    const double mean = trials * chance;
    const double sigma = std::sqrt(trials * chance * (1.0 - chance));
    EXPECT_NEAR(events, mean, kSigmas * sigma) << events << " events in " << trials << " trials";
}

TEST(FaultStatistics, SpikesComeWithTheirChanceAndOnlyOnTheNamesTheyMatch)
{
    constexpr int kSteps = 4000;
    constexpr double kChance = 0.05;
    constexpr double kSize = 50.0;
    FaultedEngine faulted({"SIN*:spike=0.05,50"}, 7, {"SIN1", "sine_two", "COS1"});
    int spikes = 0;
    int spikesOnBoth = 0;
    for (int step = 0; step < kSteps; ++step) {
        const std::vector<double> values = faulted.Step();
        const double sine = faulted.engine().generatorOutput(SignalGenerators::kSine);
        const double jump = values[0] - sine;
        ASSERT_TRUE(jump == 0.0 || std::fabs(jump - kSize) < 1e-9) << "step " << step << ": " << jump;
        if (jump != 0.0)
            ++spikes;
        if (jump != 0.0 && values[1] != sine)
            ++spikesOnBoth;
        ASSERT_EQ(values[2], faulted.engine().generatorOutput(SignalGenerators::kCosine)) << "step " << step;
    }
    ExpectBinomialCount(spikes, kSteps, kChance);
    // Each name draws its own spikes: both at once as often as chance says.
    ExpectBinomialCount(spikesOnBoth, kSteps, kChance * kChance);
}

TEST(FaultStatistics, DropoutsAreNanForTheirTimeAndStartWithTheirChance)
{
    constexpr int kSteps = 6000;
    constexpr double kChance = 0.02;
    constexpr int kDropoutSteps = 5;  // 0.5 s of 0.1 s steps
    FaultedEngine faulted({"ran*:dropout=0.02,0.5"}, 11, {"RAN1"});
    std::vector<bool> dropped;
    for (int step = 0; step < kSteps; ++step) {
        const double value = faulted.Step()[0];
        dropped.push_back(std::isnan(value));
        if (!dropped.back()) {
            ASSERT_EQ(value, faulted.engine().generatorOutput(SignalGenerators::kRandom)) << "step " << step;
        }
    }
    int starts = 0;
    int droppedSteps = 0;
    for (const int run : RunLengths(dropped)) {
        // A dropout may start again on the step after one ends.
        EXPECT_EQ(run % kDropoutSteps, 0) << "a run of " << run << " NaN steps";
        starts += run / kDropoutSteps;
        droppedSteps += run;
    }
    // A new dropout can start on each step none is running: the steps that
    // were not dropped and the first step of every dropout.
    ExpectBinomialCount(starts, kSteps - droppedSteps + starts, kChance);
}

TEST(FaultStatistics, AStuckValueIsFrozenForItsTimeAtTheValueItStuckAt)
{
    constexpr int kSteps = 6000;
    constexpr double kChance = 0.01;
    constexpr int kStuckSteps = 30;  // 3 s
    FaultedEngine faulted({"SIN*:stuck=0.01,3"}, 5, {"SIN1"});
    std::vector<bool> frozen;
    double previous = std::nan("");
    double stuckAt = std::nan("");
    for (int step = 0; step < kSteps; ++step) {
        const double value = faulted.Step()[0];
        const double sine = faulted.engine().generatorOutput(SignalGenerators::kSine);
        // The sine moves on every step, so a value equal to the last one is frozen.
        frozen.push_back(value == previous);
        if (!frozen.back()) {
            ASSERT_EQ(value, sine) << "step " << step;
            stuckAt = value;
        } else {
            ASSERT_EQ(value, stuckAt) << "step " << step;
        }
        previous = value;
    }
    int starts = 0;
    int stuckSteps = 0;
    for (const int run : RunLengths(frozen)) {
        // The first step of a stuck time shows the value it sticks at; the
        // other steps repeat it.
        EXPECT_EQ((run + 1) % kStuckSteps, 0) << "a run of " << run << " repeated values";
        starts += (run + 1) / kStuckSteps;
        stuckSteps += run + 1;
    }
    EXPECT_GT(starts, 0);
    ExpectBinomialCount(starts, kSteps - stuckSteps + starts, kChance);
}

TEST(FaultStatistics, ADriftsSlopeFittedThroughRandomValuesIsItsRate)
{
    constexpr int kSteps = 3000;
    constexpr double kRate = 2.0;  // units per second
    FaultedEngine faulted({"RAN*:drift=2"}, 3, {"RAN1"});
    std::vector<double> times;
    std::vector<double> values;
    for (int step = 0; step < kSteps; ++step) {
        values.push_back(faulted.Step()[0]);
        times.push_back((step + 1) * FaultInjector::kStepSeconds);
    }
    const double meanTime = std::accumulate(times.begin(), times.end(), 0.0) / kSteps;
    const double meanValue = std::accumulate(values.begin(), values.end(), 0.0) / kSteps;
    double sxx = 0.0;
    double sxy = 0.0;
    for (int i = 0; i < kSteps; ++i) {
        sxx += (times[size_t(i)] - meanTime) * (times[size_t(i)] - meanTime);
        sxy += (times[size_t(i)] - meanTime) * (values[size_t(i)] - meanValue);
    }
    // The random generator is uniform from -100 to 100; the slope's
    // standard error follows from its spread.
    const double spread = 200.0 / std::sqrt(12.0);
    EXPECT_NEAR(sxy / sxx, kRate, kSigmas * spread / std::sqrt(sxx));
    EXPECT_NEAR(meanValue - sxy / sxx * meanTime, 0.0,
                kSigmas * spread * std::sqrt(1.0 / kSteps + meanTime * meanTime / sxx))
        << "the drift starts from the value itself";
}

TEST(FaultStatistics, NoiseHasItsStandardDeviationAndNoBias)
{
    constexpr int kSteps = 4000;
    constexpr double kSigma = 5.0;
    // The square wave stands at 0 until its slow tick, which never comes here.
    FaultedEngine faulted({"SQR*:noise=5", "*TWO:noise=5"}, 9, {"SQR1", "SIN_TWO"});
    double sum = 0.0;
    double squares = 0.0;
    double product = 0.0;
    for (int step = 0; step < kSteps; ++step) {
        const std::vector<double> values = faulted.Step();
        const double other = values[1] - faulted.engine().generatorOutput(SignalGenerators::kSine);
        sum += values[0];
        squares += values[0] * values[0];
        product += values[0] * other;
    }
    const double mean = sum / kSteps;
    const double deviation = std::sqrt(squares / kSteps - mean * mean);
    EXPECT_NEAR(mean, 0.0, kSigmas * kSigma / std::sqrt(double(kSteps)));
    EXPECT_NEAR(deviation, kSigma, kSigmas * kSigma / std::sqrt(2.0 * kSteps));
    // Two names' noises are independent: their correlation is near 0.
    EXPECT_NEAR(product / kSteps / (kSigma * kSigma), 0.0, kSigmas / std::sqrt(double(kSteps)));
}

TEST(FaultStatistics, FaultsRepeatForASeedAndLeaveTheGeneratorsAlone)
{
    constexpr int kSteps = 300;
    const std::vector<const char*> faults = {"SIN*:noise=3", "SIN*:spike=0.2,10", "*:dropout=0.05,0.3"};
    const std::vector<QByteArray> names = {"SIN1", "RAN1", "PRESSURE"};
    FaultedEngine first(faults, 21, names);
    FaultedEngine again(faults, 21, names);
    FaultedEngine otherSeed(faults, 22, names);
    // A name's faults depend on the seed and its name, not on the layout.
    FaultedEngine moreNames(faults, 21, {"COS_EXTRA", "SIN1", "RAN1", "PRESSURE"});
    FaultedEngine none({}, 21, names);
    int differences = 0;
    for (int step = 0; step < kSteps; ++step) {
        const std::vector<double> values = first.Step();
        const std::vector<double> repeated = again.Step();
        const std::vector<double> shifted = moreNames.Step();
        const std::vector<double> plain = none.Step();
        const double sine = otherSeed.Step()[0];
        for (size_t i = 0; i < names.size(); ++i) {
            ASSERT_EQ(std::isnan(values[i]), std::isnan(repeated[i])) << step;
            if (!std::isnan(values[i])) {
                ASSERT_EQ(values[i], repeated[i]) << step;
                ASSERT_EQ(values[i], shifted[i + 1]) << step;
                // Without a dropout, RAN1 and the random draw of PRESSURE are
                // the generators' own numbers, as if no fault were set.
                if (i > 0) {
                    ASSERT_EQ(values[i], plain[i]) << step;
                }
            }
        }
        differences += sine != values[0] ? 1 : 0;
    }
    EXPECT_GT(differences, kSteps / 2) << "another seed gives other faults";
}

TEST(FaultStatistics, ANewLayoutStartsEveryFaultAfresh)
{
    FaultedEngine faulted({"COS*:drift=10"}, 1, {"COS1"});
    for (int step = 0; step < 10; ++step)
        faulted.Step();
    const double cosine = faulted.engine().generatorOutput(SignalGenerators::kCosine);
    EXPECT_NEAR(faulted.engine().sample().value(0) - cosine, 10.0, 1e-9) << "10 steps of 1 unit each";
    SendLayout(faulted.engine(), kSimulatePath, {"COS1"});
    EXPECT_NEAR(faulted.Step()[0] - faulted.engine().generatorOutput(SignalGenerators::kCosine), 1.0, 1e-9);
}

}  // namespace
}  // namespace vexa::server
