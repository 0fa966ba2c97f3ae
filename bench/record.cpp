// Reads back what a recording server wrote under the ingest load, and sets
// beside it what the recorder's own writer manages on its own.
//
// bench/record runs the server with --record under the line protocol load
// of bench_ingest (800,000 values a second) and ends it; this program then
// reads the server's log and its recording files:
//   - values lost between input and file: the values the UDP input stored
//     (its totals line) less the rows in the recording's files;
//   - the event loop's longest stall while recording, as the server measured
//     it (a 10 ms precise timer's greatest lateness, in its stop line);
//   - the values written per second over the load.
// The reference: the same writer (same schema, pragmas, batch size and
// commit interval) fed batches in a plain loop, without the server, its
// thread or its queue, into a file beside the recording.
//
// Usage: bench_record --log-file PATH --folder DIR --duration S [--reference-values N]

#include "BenchError.h"

#include "server/recording/Recorder.h"
#include "server/recording/RecordingSchema.h"
#include "server/recording/RecordingWriter.h"

#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace recording = vexa::server::recording;
using vexa::bench::BenchError;
using Clock = std::chrono::steady_clock;

constexpr long long kMaxStallMs = 20;
/// Names the reference cycles through, as the ingest load's 8,000.
constexpr int kReferenceNames = 8000;
constexpr long long kDefaultReferenceValues = 10'000'000;

struct Options {
    std::string logFile;
    std::filesystem::path folder;
    double durationSeconds = 0;
    long long referenceValues = kDefaultReferenceValues;
};

/// What the server's log says.
struct ServerFigures {
    unsigned long long inputValues = 0;
    unsigned long long recordedValues = 0;
    unsigned long long dropped = 0;
    long long longestStallMs = -1;
    int parts = 0;
};

ServerFigures ReadLog(const std::string& path)
{
    std::ifstream log(path);
    if (!log)
        throw BenchError("cannot read the log " + path);
    const std::regex totals(R"(^Line protocol over UDP: \d+ messages, (\d+) values,.*)");
    const std::regex stopped(
        R"(^Recording stopped: (\d+) values in .*, (\d+) dropped; longest event-loop stall (-?\d+) ms$)");
    ServerFigures figures;
    std::string line;
    bool sawStop = false;
    while (std::getline(log, line)) {
        std::smatch match;
        if (std::regex_match(line, match, totals)) {
            figures.inputValues = std::stoull(match[1]);
        } else if (std::regex_match(line, match, stopped)) {
            figures.recordedValues = std::stoull(match[1]);
            figures.dropped = std::stoull(match[2]);
            figures.longestStallMs = std::stoll(match[3]);
            sawStop = true;
        } else if (line.starts_with("Recording ended: ")) {
            throw BenchError("the recording ended early: " + line);
        }
    }
    if (!sawStop)
        throw BenchError("the log has no line of the recording's end: " + path);
    return figures;
}

/// The rows in every recording file of \p folder.
unsigned long long CountRows(const std::filesystem::path& folder, int& files)
{
    unsigned long long rows = 0;
    files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != recording::kExtension)
            continue;
        sqlite3* db = nullptr;
        sqlite3_stmt* count = nullptr;
        if (sqlite3_open_v2(entry.path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK
            || sqlite3_prepare_v2(db, "SELECT count(*) FROM samples", -1, &count, nullptr) != SQLITE_OK
            || sqlite3_step(count) != SQLITE_ROW) {
            const std::string error = sqlite3_errmsg(db);
            sqlite3_finalize(count);
            sqlite3_close(db);
            throw BenchError("cannot count the rows of " + entry.path().string() + ": " + error);
        }
        rows += (unsigned long long)sqlite3_column_int64(count, 0);
        ++files;
        sqlite3_finalize(count);
        sqlite3_close(db);
    }
    return rows;
}

/// Values per second that the writer takes in a plain loop.
double ReferenceRate(const std::filesystem::path& folder, long long values)
{
    std::filesystem::remove_all(folder);
    recording::RecordingWriter::Setup setup;
    setup.folder = folder;
    setup.startedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    setup.program = "bench_record";
    setup.mode = "inputs";
    recording::RecordingWriter writer(setup);
    if (!writer.Open())
        throw BenchError(writer.error());

    const auto commitInterval = std::chrono::milliseconds(recording::Recorder::kCommitMs);
    const auto start = Clock::now();
    auto commitAt = start + commitInterval;
    double time = double(setup.startedMs) / 1000.0;
    long long written = 0;
    recording::RecordingBatch batch;
    for (int id = 1; id <= kReferenceNames; ++id)
        batch.names.emplace_back(id, "bench" + std::to_string(id / 8) + ".f" + std::to_string(id % 8));
    while (written < values) {
        batch.values.clear();
        for (std::size_t i = 0; i < recording::Recorder::kBatchValues && written < values; ++i, ++written) {
            time += 1.25e-6;
            batch.values.push_back({time, std::int32_t(written % kReferenceNames) + 1, double(written) * 0.001,
                                    std::nan("")});
        }
        if (!writer.Write(batch))
            throw BenchError(writer.error());
        batch.names.clear();
        if (Clock::now() >= commitAt) {
            if (!writer.Commit())
                throw BenchError(writer.error());
            commitAt = Clock::now() + commitInterval;
        }
    }
    if (!writer.Close())
        throw BenchError(writer.error());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::filesystem::remove_all(folder);
    return double(written) / seconds;
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--log-file")
            options.logFile = value;
        else if (option == "--folder")
            options.folder = value;
        else if (option == "--duration")
            options.durationSeconds = std::atof(value);
        else if (option == "--reference-values")
            options.referenceValues = std::atoll(value);
        else
            throw BenchError("unknown option " + std::string(option));
    }
    if (options.logFile.empty() || options.folder.empty() || options.durationSeconds <= 0
        || options.referenceValues <= 0)
        throw BenchError("usage: bench_record --log-file PATH --folder DIR --duration S [--reference-values N]");
    return options;
}

const char* Verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = ParseOptions(argc, argv);
        const ServerFigures server = ReadLog(options.logFile);
        int files = 0;
        const unsigned long long rows = CountRows(options.folder, files);
        const long long lost = (long long)server.inputValues - (long long)rows;
        std::printf("\n| values stored by the input | rows in the recording (%d files) | lost | dropped at the queue | "
                    "longest event-loop stall | values written per second |\n",
                    files);
        std::printf("|---:|---:|---:|---:|---:|---:|\n");
        std::printf("| %llu | %llu | %lld | %llu | %lld ms | %.0f |\n", server.inputValues, rows, lost, server.dropped,
                    server.longestStallMs, double(rows) / options.durationSeconds);
        std::fflush(stdout);

        const double reference =
            ReferenceRate(options.folder.parent_path() / "reference", options.referenceValues);
        std::printf("\n| reference: the writer alone, %lld values in batches of %zu | values written per second |\n",
                    options.referenceValues, recording::Recorder::kBatchValues);
        std::printf("|---|---:|\n");
        std::printf("| same schema, pragmas, batch size and commit interval, no server | %.0f |\n", reference);

        std::printf("\nno value lost between input and file: %s\n", Verdict(lost == 0 && server.dropped == 0));
        std::printf("longest event-loop stall %lld ms (target <= %lld): %s\n", server.longestStallMs, kMaxStallMs,
                    Verdict(server.longestStallMs >= 0 && server.longestStallMs <= kMaxStallMs));
        return lost == 0 && server.dropped == 0 && server.longestStallMs <= kMaxStallMs ? EXIT_SUCCESS : EXIT_FAILURE;
    } catch (const BenchError& error) {
        std::fprintf(stderr, "bench_record: %s\n", error.what());
        return 2;
    }
}
