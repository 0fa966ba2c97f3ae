// Checks the demo's display and measurement files against what the programs
// make of them: that the server feeds every measurement from the generator
// its name asks for and the converted values stay on the graph's scale, that
// every graph is one the display can open, that the enabled alarm limits are
// reached by the generators, and that the views tile the window area, the
// first with one graph of every type.

#include "document/AlarmEntry.h"
#include "document/DisplayFormat.h"
#include "document/Placement.h"
#include "document/ProfileStore.h"
#include "platform/InstalledFonts.h"
#include "server/engine/SignalGenerators.h"
#include "server/engine/SourceSelection.h"

#include <gtest/gtest.h>

#include <QRect>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vexa {
namespace {

using server::SignalGenerators;

const std::string kDisplayFile = std::string(VEXA_EXAMPLES_DIR) + "/SIMULATE.dsp";
const std::string kMeasurementFile = std::string(VEXA_EXAMPLES_DIR) + "/SIMULATE.mvx";

/// The window area the views are laid out for.
constexpr int kAreaWidth = 1280;
constexpr int kAreaHeight = 1000;
constexpr int kFewestGraphsPerView = 3;
constexpr int kMostGraphsPerView = 4;
constexpr int kFastestUpdateMs = 100;
constexpr int kSlowestUpdateMs = 1000;
/// Enough fast ticks for a whole period of every generator (the cosine's is
/// the longest, 361 ticks), and a slow tick every ten of them.
constexpr int kTicks = 400;
constexpr int kTicksPerSecond = 10;
constexpr double kRandomExtreme = SignalGenerators::kAmplitude;
/// Converted ranges are compared to a hundredth of their span.
constexpr double kRangeTolerance = 0.01;

/// What each measurement of the file is meant to be: its source in simulate
/// mode and the span of its converted values (as the README lists them).
struct Intended {
    const char* name;
    int source;
    double low;
    double high;
};

constexpr int kRandomDraw = server::kRandomDrawSource;
const std::array<Intended, 18> kIntended = {{
    {"SINE", SignalGenerators::kSine, -100, 100},
    {"COSINE", SignalGenerators::kCosine, -100, 100},
    {"SQR_WAVE", SignalGenerators::kSquare, 0, 100},
    {"TRIANGLE", SignalGenerators::kTriangle, -100, 100},
    {"SAWTOOTH", SignalGenerators::kSawtooth, 0, 100},
    {"RANDOM", SignalGenerators::kRandom, -100, 100},
    {"SIN_OIL_TEMP", SignalGenerators::kSine, -30, 70},
    {"COS_COOLANT_TEMP", SignalGenerators::kCosine, 50, 194},
    {"RAN_AMBIENT_TEMP", SignalGenerators::kRandom, 10, 20},
    {"TRI_LINE_PRESSURE", SignalGenerators::kTriangle, 1, 9},
    {"SAW_ACCUM_PRESSURE", SignalGenerators::kSawtooth, 2, 8},
    {"SQR_PUMP_SETPOINT", SignalGenerators::kSquare, 4, 8},
    {"SIN_FLOW_RATE", SignalGenerators::kSine, 20, 100},
    {"SAW_TANK_LEVEL", SignalGenerators::kSawtooth, 0, 100},
    {"TRI_VALVE_OPENING", SignalGenerators::kTriangle, 0, 100},
    {"MOTOR_CURRENT", kRandomDraw, 5, 15},
    {"BEARING_VIBRATION", kRandomDraw, 1, 7},
    {"SUPPLY_VOLTAGE", kRandomDraw, 22, 26},
}};

struct Range {
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    void widen(double value)
    {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

/// Every value the server sends from \p source, by running its generators.
std::vector<double> SourceValues(int source)
{
    if (source == kRandomDraw)
        return {-kRandomExtreme, kRandomExtreme};
    SignalGenerators generators;
    std::vector<double> values;
    for (int tick = 1; tick <= kTicks; ++tick) {
        generators.AdvanceFast(tick % 2 == 0 ? kRandomExtreme : -kRandomExtreme);
        if (tick % kTicksPerSecond == 0)
            generators.ToggleSquare();
        values.push_back(generators.output(source));
    }
    return values;
}

double Number(const std::string& section, const std::string& key, const char* fallback, const std::string& file)
{
    return std::stod(profile::ReadString(section, key, fallback, file));
}

/// The measurement's engineering values: its coefficients applied to every
/// value its source sends (raw values unchanged).
Range ConvertedRange(const std::string& name, int source)
{
    std::array<double, 7> c{};
    const bool converted = profile::ReadString(name, "E", "Raw", kMeasurementFile) == "Coefficients";
    if (converted) {
        for (std::size_t k = 0; k < c.size(); ++k)
            c[k] = Number(name, std::to_string(k), "0.0", kMeasurementFile);
    }
    Range range;
    for (double x : SourceValues(source)) {
        double y = x;
        if (converted) {
            y = 0;
            for (auto k = c.rbegin(); k != c.rend(); ++k)
                y = y * x + *k;
        }
        range.widen(y);
    }
    return range;
}

struct Graph {
    std::string section;
    std::string title;
    int type = kNoGraphType;
    std::vector<std::string> measurements;
};

std::vector<Graph> Graphs()
{
    std::vector<Graph> graphs;
    for (int number = 1; number <= kMaxGraphs; ++number) {
        Graph graph;
        graph.section = GraphSectionName(number);
        if (profile::ListKeys(graph.section, kDisplayFile).empty())
            break;
        graph.title = profile::ReadString(graph.section, "T", "", kDisplayFile);
        graph.type = GraphTypeFromName(profile::ReadString(graph.section, "P", "", kDisplayFile));
        for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
            const std::string name = profile::ReadString(graph.section, NumberedKey("M", k), "", kDisplayFile);
            if (name.empty())
                break;
            graph.measurements.push_back(name);
        }
        graphs.push_back(graph);
    }
    return graphs;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ExampleFiles, AreWindowsTextWithCrLfLineEnds)
{
    for (const std::string& file : {kDisplayFile, kMeasurementFile}) {
        const std::string bytes = FileBytes(file);
        ASSERT_FALSE(bytes.empty()) << file;
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            if (bytes[at] == '\n') {
                ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << file << ": bare LF at byte " << at;
            }
        }
    }
    // The degree sign is the single Windows-1252 byte, not a UTF-8 pair.
    EXPECT_EQ(profile::ReadString("SIN_OIL_TEMP", "U", "", kMeasurementFile), "\xB0"
                                                                                "C");
    EXPECT_EQ(profile::ReadString("COS_COOLANT_TEMP", "U", "", kMeasurementFile), "\xB0"
                                                                                    "F");
}

TEST(MeasurementFile, EveryMeasurementIsFedAsIntendedAndStaysWithinItsRange)
{
    std::set<std::string> intended;
    for (const Intended& measurement : kIntended) {
        SCOPED_TRACE(measurement.name);
        intended.insert(measurement.name);
        ASSERT_FALSE(profile::ListKeys(measurement.name, kMeasurementFile).empty());
        EXPECT_EQ(server::SourceForName(measurement.name), measurement.source);

        const Range values = ConvertedRange(measurement.name, measurement.source);
        const double tolerance = kRangeTolerance * (measurement.high - measurement.low);
        EXPECT_NEAR(values.low, measurement.low, tolerance);
        EXPECT_NEAR(values.high, measurement.high, tolerance);
        EXPECT_GE(values.low, Number(measurement.name, "L", "0.0", kMeasurementFile));
        EXPECT_LE(values.high, Number(measurement.name, "H", "100.0", kMeasurementFile));
        EXPECT_FALSE(profile::ReadString(measurement.name, "U", "", kMeasurementFile).empty());
        EXPECT_FALSE(profile::ReadString(measurement.name, "D", "", kMeasurementFile).empty());
    }
    const std::vector<std::string> sections = profile::ListSections(kMeasurementFile);
    EXPECT_EQ(std::set<std::string>(sections.begin(), sections.end()), intended);
}

TEST(DisplayFile, EveryGraphCanBeOpenedAndDrawsItsMeasurementsInDistinctColours)
{
    const std::vector<Graph> graphs = Graphs();
    ASSERT_GE(graphs.size(), 4u);
    std::set<std::string> titles;
    for (const Graph& graph : graphs) {
        SCOPED_TRACE(graph.section);
        EXPECT_FALSE(graph.title.empty());
        EXPECT_TRUE(titles.insert(graph.title).second) << "duplicate title " << graph.title;
        EXPECT_NE(graph.type, kNoGraphType);
        EXPECT_EQ(profile::ReadString(graph.section, "WC", "", kDisplayFile), kDefaultCharacteristicName);
        const int period = profile::ReadInt(graph.section, "UP", 0, kDisplayFile);
        EXPECT_GE(period, kFastestUpdateMs);
        EXPECT_LE(period, kSlowestUpdateMs);

        ASSERT_GE(graph.measurements.size(), 1u);
        EXPECT_LE(static_cast<int>(graph.measurements.size()), MostMeasurementsOfType(graph.type));
        const int plot = profile::ReadInt(graph.section, "PC", kDefaultPlotBackground, kDisplayFile);
        std::set<int> colours;
        // Only the colours the type draws in must differ.
        const std::size_t drawn = std::min(graph.measurements.size(), std::size_t(DataColoursOfType(graph.type)));
        for (const std::string& name : graph.measurements)
            EXPECT_FALSE(profile::ListKeys(name, kMeasurementFile).empty()) << name << " is not defined";
        for (std::size_t k = 1; k <= drawn; ++k) {
            const int colour = profile::ReadInt(graph.section, NumberedKey("DC", static_cast<int>(k)),
                                                DefaultDataColour(static_cast<int>(k)), kDisplayFile);
            EXPECT_FALSE(ColourName(colour).empty()) << "DC" << k;
            if (graph.type == kTimeHistory || graph.type == kXYPlot) {
                EXPECT_NE(colour, plot) << "DC" << k << " is the plot background";
            }
            EXPECT_TRUE(colours.insert(colour).second) << "DC" << k << " repeats a colour";
        }
        // A face that is not installed would be dropped when the file opens.
        for (const char* key : {"GF", "LF", "TF"}) {
            const std::string value = profile::ReadString(graph.section, key, "", kDisplayFile);
            const std::string face = value.substr(0, value.find(','));
            EXPECT_TRUE(face.empty() || IsInstalledScalableFont(face)) << key << " face " << face;
        }
    }
}

TEST(DisplayFile, EnabledAlarmLimitsAreCrossedByTheGeneratorsAndLeftAgain)
{
    std::map<std::string, int> sources;
    for (const Intended& measurement : kIntended)
        sources[measurement.name] = measurement.source;

    int enabledLimits = 0;
    for (const Graph& graph : Graphs()) {
        Range graphValues;
        for (const std::string& name : graph.measurements) {
            const Range values = ConvertedRange(name, sources.at(name));
            graphValues.widen(values.low);
            graphValues.widen(values.high);
        }
        const double hysteresis = std::stod(profile::ReadString(graph.section, "AH", "0.1 0.0", kDisplayFile));
        for (int entry : {kAlarmHigh, kAlarmHighHigh, kAlarmLow, kAlarmLowLow}) {
            const AlarmEntry alarm = ReadAlarmEntry(graph.section, entry, kDisplayFile);
            if (!alarm.enabled)
                continue;
            SCOPED_TRACE(graph.section + " " + AlarmKey(entry));
            ++enabledLimits;
            const double limit = std::stod(alarm.limit);
            if (entry == kAlarmHigh || entry == kAlarmHighHigh) {
                EXPECT_GT(graphValues.high, limit);
                EXPECT_LE(graphValues.low, limit - hysteresis);
            } else {
                EXPECT_LT(graphValues.low, limit);
                EXPECT_GE(graphValues.high, limit + hysteresis);
            }
        }
    }
    EXPECT_GE(enabledLimits, 4);
}

TEST(DisplayFile, ViewsTileTheWindowAreaWithoutOverlap)
{
    std::map<std::string, int> types;
    for (const Graph& graph : Graphs())
        types[graph.title] = graph.type;

    int views = 0;
    for (int number = 1;; ++number) {
        const std::string section = ViewSectionName(number);
        if (profile::ReadString(section, "T", "", kDisplayFile).empty())
            break;
        ++views;
        SCOPED_TRACE(section);
        std::vector<QRect> windows;
        std::multiset<int> viewTypes;
        for (int k = 1; k <= kMaxGraphsPerView; ++k) {
            const std::string title = profile::ReadString(section, NumberedKey("W", k), "", kDisplayFile);
            if (title.empty())
                break;
            ASSERT_EQ(types.count(title), 1u) << title << " is not a graph";
            viewTypes.insert(types.at(title));
            const Placement placement = ReadPlacement(section, NumberedKey("R", k), kUseDefaultPlacement, kDisplayFile);
            const QRect window(placement.x, placement.y, placement.width, placement.height);
            EXPECT_TRUE(QRect(0, 0, kAreaWidth, kAreaHeight).contains(window)) << title;
            for (const QRect& other : windows)
                EXPECT_FALSE(window.intersects(other)) << title;
            windows.push_back(window);
        }
        if (number == 1) {
            // The demo's view: one graph of every type.
            std::multiset<int> everyType;
            for (int type = kTimeHistory; type <= kAnnunciator; ++type)
                everyType.insert(type);
            EXPECT_EQ(viewTypes, everyType);
            continue;
        }
        // The other views watch the signals over time.
        EXPECT_EQ(viewTypes.count(kTimeHistory), viewTypes.size());
        EXPECT_GE(static_cast<int>(windows.size()), kFewestGraphsPerView);
        EXPECT_LE(static_cast<int>(windows.size()), kMostGraphsPerView);
    }
    EXPECT_GE(views, 2);
}

}  // namespace
}  // namespace vexa
