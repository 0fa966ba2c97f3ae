// bench_replay: writes a recording of 8 names at 10 Hz (24 hours by
// default, 6.9 million values) into a folder, then times the replay on it:
// opening, seeks to places spread over the whole recording, and playing at
// 100 times the recorded pace, measuring how far the values stored lag
// behind the replay clock. bench/replay runs it in a temporary folder.
//
//   bench_replay --folder DIR [--hours H] [--play-seconds S] [--seeks N]

#include "BenchError.h"

#include "server/engine/ServerLog.h"
#include "server/inputs/ValueTable.h"
#include "server/recording/RecordingSchema.h"
#include "server/replay/ReplayInput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using vexa::bench::BenchError;

constexpr int kNames = 8;
constexpr double kRateHz = 10.0;
constexpr double kSpeed = 100.0;
/// 2025-12-09 00:00:00 UTC.
constexpr double kStart = 1765238400.0;
constexpr int kSecondsPerHour = 3600;
/// How often the lag is looked at while playing.
constexpr int kLagProbeMs = 50;
/// The values written in one transaction.
constexpr int kRowsPerTransaction = 100000;

struct Options {
    std::string folder;
    double hours = 24.0;
    double playSeconds = 10.0;
    int seeks = 20;
};

/// Logs nothing: the bench reports its own figures.
class QuietLog : public vexa::server::ServerLog {
public:
    void LogLine(const QString&) override {}
};

Options ReadOptions(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        const QString& value = arguments[i + 1];
        if (name == QLatin1String("--folder"))
            options.folder = value.toStdString();
        else if (name == QLatin1String("--hours"))
            options.hours = value.toDouble();
        else if (name == QLatin1String("--play-seconds"))
            options.playSeconds = value.toDouble();
        else if (name == QLatin1String("--seeks"))
            options.seeks = value.toInt();
        else
            throw BenchError("unknown option " + name.toStdString());
    }
    if (options.folder.empty() || options.hours <= 0 || options.playSeconds <= 0 || options.seeks <= 0)
        throw BenchError("usage: bench_replay --folder DIR [--hours H] [--play-seconds S] [--seeks N]");
    return options;
}

void Check(int status, sqlite3* database, const char* what)
{
    if (status != SQLITE_OK && status != SQLITE_DONE)
        throw BenchError(std::string(what) + ": " + sqlite3_errmsg(database));
}

/// Writes the recording as the recorder lays it out; returns its row count.
std::int64_t WriteRecording(const std::string& path, double hours)
{
    sqlite3* opened = nullptr;
    const int status = sqlite3_open(path.c_str(), &opened);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> database(opened, &sqlite3_close);
    Check(status, database.get(), "open");
    const std::string setUp = std::string("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;")
                              + vexa::server::recording::kSchema
                              + "INSERT INTO info VALUES('format', '1'), ('started', '2025-12-09T00:00:00.000Z'),"
                                " ('program', 'vexalink bench'), ('mode', 'inputs'), ('part', '1');";
    Check(sqlite3_exec(database.get(), setUp.c_str(), nullptr, nullptr, nullptr), database.get(), "schema");
    for (int name = 0; name < kNames; ++name) {
        const std::string insert =
            "INSERT INTO names VALUES(" + std::to_string(name + 1) + ", 'rig.channel" + std::to_string(name) + "');";
        Check(sqlite3_exec(database.get(), insert.c_str(), nullptr, nullptr, nullptr), database.get(), "names");
    }
    sqlite3_stmt* prepared = nullptr;
    Check(sqlite3_prepare_v2(database.get(), "INSERT INTO samples VALUES(?1, ?2, ?3, NULL)", -1, &prepared, nullptr),
          database.get(), "prepare");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> insert(prepared, &sqlite3_finalize);
    const auto steps = std::int64_t(hours * kSecondsPerHour * kRateHz);
    std::int64_t rows = 0;
    Check(sqlite3_exec(database.get(), "BEGIN", nullptr, nullptr, nullptr), database.get(), "begin");
    for (std::int64_t step = 0; step < steps; ++step) {
        const double time = kStart + double(step) / kRateHz;
        for (int name = 0; name < kNames; ++name) {
            sqlite3_reset(insert.get());
            sqlite3_bind_double(insert.get(), 1, time);
            sqlite3_bind_int(insert.get(), 2, name + 1);
            sqlite3_bind_double(insert.get(), 3, 100.0 * std::sin(double(step) / 50.0 + name));
            Check(sqlite3_step(insert.get()), database.get(), "insert");
            if (++rows % kRowsPerTransaction == 0)
                Check(sqlite3_exec(database.get(), "COMMIT; BEGIN", nullptr, nullptr, nullptr), database.get(),
                      "commit");
        }
    }
    Check(sqlite3_exec(database.get(), "COMMIT", nullptr, nullptr, nullptr), database.get(), "commit");
    return rows;
}

double Milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void Run(const Options& options)
{
    const std::string path = options.folder + "/2025-12-09_00-00-00" + vexa::server::recording::kExtension;
    QElapsedTimer timer;
    timer.start();
    const std::int64_t rows = WriteRecording(path, options.hours);
    std::printf("recording: %lld values of %d names at %.0f Hz over %.1f h, written in %.1f s\n",
                static_cast<long long>(rows), kNames, kRateHz, options.hours, Milliseconds(timer) / 1000.0);

    vexa::server::ValueTable table;
    QuietLog log;
    vexa::server::ReplayInput replay(0, table, log);
    timer.restart();
    if (!replay.Open(QString::fromStdString(path)))
        throw BenchError("open: " + replay.lastError().toStdString());
    const double openMs = Milliseconds(timer);

    // Seeks spread over the whole recording, in an order that jumps about.
    std::mt19937 random(20251209);
    const vexa::server::TimeRange range = replay.range();
    std::uniform_real_distribution<double> place(range.from, range.to);
    std::vector<double> seekMs;
    for (int i = 0; i < options.seeks; ++i) {
        const double target = place(random);
        timer.restart();
        replay.Seek(target);
        seekMs.push_back(Milliseconds(timer));
        if (!replay.isOpen())
            throw BenchError("seek: " + replay.lastError().toStdString());
    }
    std::sort(seekMs.begin(), seekMs.end());

    // Play at 100x from the middle; the lag is how far the replay clock,
    // which moves on only as the values up to it are stored, trails the
    // pace of 100 recorded seconds a second.
    replay.Seek(range.from + (range.to - range.from) / 2);
    replay.setSpeed(kSpeed);
    const std::uint64_t storedBefore = std::as_const(replay).counters().messages;
    const double playFrom = replay.position();
    double worstLag = 0.0;
    QElapsedTimer pace;
    QTimer probe;
    probe.setInterval(kLagProbeMs);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double due = playFrom + Milliseconds(pace) / 1000.0 * kSpeed;
        worstLag = std::max(worstLag, due - replay.position());
    });
    QTimer::singleShot(int(options.playSeconds * 1000), QCoreApplication::instance(), &QCoreApplication::quit);
    QElapsedTimer played;
    played.start();
    pace.start();
    replay.Play();
    probe.start();
    QCoreApplication::exec();
    replay.Pause();
    const double playedSeconds = Milliseconds(played) / 1000.0;
    const double recorded = replay.position() - playFrom;
    const std::uint64_t stored = std::as_const(replay).counters().messages - storedBefore;

    std::printf("\n| measure | figure | limit |\n|---|---|---|\n");
    std::printf("| open | %.1f ms | 1000 ms |\n", openMs);
    std::printf("| seek, median of %d | %.1f ms | |\n", options.seeks, seekMs[seekMs.size() / 2]);
    std::printf("| seek, longest of %d | %.1f ms | 200 ms |\n", options.seeks, seekMs.back());
    std::printf("| play at %.0fx: recorded seconds per second | %.1f | %.0f |\n", kSpeed, recorded / playedSeconds,
                kSpeed);
    std::printf("| play at %.0fx: values stored per second | %.0f | %.0f |\n", kSpeed, double(stored) / playedSeconds,
                kSpeed * kRateHz * kNames);
    std::printf("| play at %.0fx: largest lag behind the pace | %.2f recorded s | one tick, %.1f s |\n",
                kSpeed, worstLag, kSpeed * vexa::server::ReplayInput::kTickMs / 1000.0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    try {
        Run(ReadOptions(QCoreApplication::arguments()));
    } catch (const BenchError& error) {
        std::fprintf(stderr, "bench_replay: %s\n", error.what());
        return 1;
    }
    return 0;
}
