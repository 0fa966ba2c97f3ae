// Times the profile store on a display file of the size the display program
// works with: key reads (the first of them parsing the file) and key writes
// (each one replacing the file). Usage: bench_profile [directory]; the file
// is made in a fresh directory below the given one (default: the system's
// temporary directory) and removed afterwards.

#include "document/Definitions.h"
#include "document/ProfileStore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace profile = vexa::profile;
using vexa::DeleteGraph;

constexpr int kGraphs = 60;
constexpr int kViews = 20;
constexpr int kGraphsPerView = 20;
constexpr int kAlarms = 7;
constexpr int kMeasurements = 8;
constexpr int kDataColours = 8;
constexpr int kReads = 2000;
constexpr int kWrites = 200;
constexpr int kRounds = 7;
constexpr std::size_t kCapacity = 100;  // the callers' usual buffer
constexpr std::size_t kReadStride = 7;  // coprime to the key count, to spread the reads
constexpr std::size_t kWriteStride = 13;
constexpr double kReadTargetMs = 50;
constexpr double kWriteTargetMs = 200;
// Not a stated target: a delete should feel instant in the editor.
constexpr double kDeleteTargetMs = 50;

const char* const kTypes[] = {"TimeHistory", "XYPlot", "FixedTabular", "ScrollingTabular",
                              "HorizontalBarGraph", "VerticalBarGraph", "Meter", "Arc Meter",
                              "Pie Meter", "Annunciator"};
const char* const kAlarmTexts[] = {"OK", "High", "Low", "High High", "Low Low", "Rate", "Deviation"};

std::string GraphTitle(int graph)
{
    return "Engine " + std::to_string(graph % 4 + 1) + " coolant and oil circuit, sensor group "
        + std::to_string(graph);
}

using KeyList = std::vector<std::pair<std::string, std::string>>;

// A display file as the editors write it, and the section and key of every
// line in it.
std::string MakeDisplayFile(KeyList& keys)
{
    std::string file;
    std::string section;
    const auto add = [&](const std::string& key, const std::string& value) {
        file += key + "=" + value + "\r\n";
        keys.emplace_back(section, key);
    };
    for (int graph = 1; graph <= kGraphs; ++graph) {
        section = "W" + std::to_string(graph);
        file += "[" + section + "]\r\n";
        add("T", GraphTitle(graph));
        add("P", kTypes[graph % std::size(kTypes)]);
        add("WC", "Proportional");
        add("UP", std::to_string(100 * (graph % 10 + 1)));
        add("AH", "0.1 0.0");
        for (int alarm = 1; alarm <= kAlarms; ++alarm) {
            std::string value = std::to_string(alarm % 2) + "," + std::to_string(alarm + 9) + ","
                + kAlarmTexts[alarm - 1];
            if (alarm > 1)
                value += "," + std::to_string(alarm * 12.5);
            add("A" + std::to_string(alarm), value);
        }
        for (int m = 1; m <= kMeasurements; ++m)
            add("M" + std::to_string(m), "ENG" + std::to_string(graph % 4 + 1) + "_TEMP_" + std::to_string(m));
        add("R", std::to_string(graph * 11 % 800) + " " + std::to_string(graph * 17 % 600) + " 320 240");
        add("WB", "7");
        add("PC", "1");
        add("GF", "Arial,8,0,0");
        add("LF", "Arial,8,0,4");
        add("TF", "Arial,10,1,2");
        for (int c = 1; c <= kDataColours; ++c)
            add("DC" + std::to_string(c), std::to_string((graph + c) % 20));
        file += "\r\n";
    }
    for (int view = 1; view <= kViews; ++view) {
        section = "V" + std::to_string(view);
        file += "[" + section + "]\r\n";
        add("T", "Test bench overview, run configuration " + std::to_string(view));
        for (int k = 1; k <= kGraphsPerView; ++k)
            add("W" + std::to_string(k), GraphTitle((view + k) % kGraphs + 1));
        for (int k = 1; k <= kGraphsPerView; ++k)
            add("R" + std::to_string(k), std::to_string(k * 40) + " " + std::to_string(k * 30) + " 320 240");
        file += "\r\n";
    }
    return file;
}

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRow(const char* what, int count, const std::vector<double>& times, double target)
{
    const double best = *std::min_element(times.begin(), times.end());
    const double median = Median(times);
    std::printf("%-34s %6d %10.2f %10.2f %10.2f %8.0f  %s\n", what, count, best, median,
                1000.0 * median / count, target, median <= target ? "ok" : "SLOW");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path base = argc > 1 ? std::filesystem::path(argv[1])
                                                : std::filesystem::temp_directory_path();
    std::string pattern = (base / "bench-profile-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror(pattern.c_str());
        return EXIT_FAILURE;
    }
    const std::filesystem::path directory = pattern;
    const std::string file = (directory / "bench.dsp").string();

    KeyList keys;
    const std::string contents = MakeDisplayFile(keys);

    std::vector<double> readTimes;
    std::vector<double> writeTimes;
    std::vector<double> deleteTimes;
    std::size_t checksum = 0;  // keeps the reads from being optimised away
    for (int round = 0; round < kRounds; ++round) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
        profile::Flush(file);  // drops the parsed copy: the first read parses

        const Clock::time_point readStart = Clock::now();
        for (int i = 0; i < kReads; ++i) {
            const auto& [section, key] = keys[i * kReadStride % keys.size()];
            checksum += profile::ReadString(section, key, "", file, kCapacity).size();
        }
        readTimes.push_back(MillisecondsSince(readStart));

        const Clock::time_point writeStart = Clock::now();
        for (int i = 0; i < kWrites; ++i) {
            const auto& [section, key] = keys[i * kWriteStride % keys.size()];
            if (!profile::WriteString(section, key, "value " + std::to_string(round * kWrites + i), file)) {
                std::fprintf(stderr, "write failed: %s\n", profile::LastError().c_str());
                return EXIT_FAILURE;
            }
        }
        writeTimes.push_back(MillisecondsSince(writeStart));

        // Deleting the first graph moves the 59 behind it and rewrites every view.
        const Clock::time_point deleteStart = Clock::now();
        DeleteGraph(1, file);
        deleteTimes.push_back(MillisecondsSince(deleteStart));
    }

    std::printf("display file: %zu bytes, %zu keys, %d graph and %d view sections\n", contents.size(),
                keys.size(), kGraphs, kViews);
    std::printf("directory:    %s\n", directory.c_str());
    std::printf("rounds:       %d (checksum %zu)\n\n", kRounds, checksum);
    std::printf("%-34s %6s %10s %10s %10s %8s\n", "operation", "count", "best ms", "median ms", "us/op",
                "target");
    PrintRow("read keys (first read parses)", kReads, readTimes, kReadTargetMs);
    PrintRow("write keys (each replaces file)", kWrites, writeTimes, kWriteTargetMs);
    PrintRow("delete graph 1 of 60 (renumber)", 1, deleteTimes, kDeleteTargetMs);

    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return EXIT_SUCCESS;
}
