// The display under full load: 60 time history graphs, each updated every
// 50 ms by a data server in simulate mode, all open at once in one view.
// Measures, over a fixed window, the display's CPU time (user + system, from
// /proc/<pid>/stat) as a share of one core, and how many rows each graph
// appended, which shows whether every graph kept its rate.
//
// The display runs inside this program: the real frame window of vexaview,
// started with "-F <file> -V <view>" as on its command line, so that the
// graphs' datasets can be read. With --external the real vexaview program is
// then run on the same files too, and its CPU time read from outside.
//
// Usage: bench_live --bin-dir DIR --work DIR [--transport dde|tcp] [--port N]
//                   [--seconds S] [--external]
// DIR/vexalink (and vexaview for --external) must be built. XDG_CONFIG_HOME
// and XDG_RUNTIME_DIR must name private directories, and for the local path
// a session bus must run: bench/live sets all of that up and runs this
// program once per transport.

#include "app/FrameWindow.h"
#include "document/GraphTable.h"
#include "graphs/GraphWindow.h"
#include "graphs/GraphWindows.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "link/client/LinkSettings.h"
#include "link/client/ServerStarter.h"
#include "platform/MessageHandler.h"
#include "platform/SettingsLocation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using vexa::kMaxGraphs;

// What is measured.
constexpr int kGraphCount = kMaxGraphs;
constexpr int kUpdatePeriodMs = 50;
constexpr double kDefaultSeconds = 20.0;
/// The display may use at most this share of one core.
constexpr double kCpuTarget = 0.25;
/// A graph keeps its rate when it appended at least this share of the rows
/// its update period allows.
constexpr double kRateTarget = 0.95;
/// Time for every graph to have connected and drawn its first rows before
/// the window opens.
constexpr int kWarmUpMs = 3000;

// The display file.
constexpr const char* kDisplayFileName = "SIMULATE.dsp";
constexpr const char* kMeasurementFileName = "SIMULATE.mvx";
constexpr const char* kViewTitle = "Live";
/// The first three letters of a name pick the server's generator.
constexpr std::array<const char*, 6> kGenerators = {"COS", "SIN", "SQR", "TRI", "SAW", "RAN"};
constexpr int kMaxMeasurements = vexa::kMaxMeasurementsPerGraph;
/// The graphs sit in a grid of small windows that fills the window area.
constexpr int kGridColumns = 10;
constexpr int kGridRows = kGraphCount / kGridColumns;
constexpr int kCellWidth = 128;
constexpr int kCellHeight = 160;
constexpr int kAreaWidth = kGridColumns * kCellWidth;
constexpr int kAreaHeight = kGridRows * kCellHeight;
/// Room for the frame's menu and status bars around the window area.
constexpr int kFrameBarsHeight = 80;
/// The screen of the offscreen platform, larger than the frame, as a
/// desktop's would be.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1500;

// Processes.
constexpr const char* kServerProgram = "vexalink";
constexpr const char* kDisplayProgram = "vexaview";
constexpr int kServerStartMs = 10000;
constexpr int kGraphsOpenMs = 20000;
constexpr int kProcessEndMs = 10000;
constexpr int kPollMs = 50;
constexpr int kDdePath = 109;
constexpr int kTcpPath = 110;
constexpr const char* kLoopback = "127.0.0.1";

// /proc/<pid>/stat: utime and stime are fields 14 and 15, counted from 1;
// after the command name in parentheses the fields start at number 3.
constexpr int kFirstFieldAfterName = 3;
constexpr int kUserTimeField = 14;
constexpr int kSystemTimeField = 15;

struct Options {
    QString binDir;
    QString workDir;
    bool tcp = false;
    int port = 0;
    double seconds = kDefaultSeconds;
    bool external = false;
};

[[noreturn]] void Fail(const std::string& message)
{
    std::fprintf(stderr, "bench_live: %s\n", message.c_str());
    std::exit(1);
}

Options ParseOptions(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                Fail(name.toStdString() + " needs a value");
            return arguments[++i];
        };
        if (name == QLatin1String("--bin-dir"))
            options.binDir = value();
        else if (name == QLatin1String("--work"))
            options.workDir = value();
        else if (name == QLatin1String("--transport")) {
            const QString transport = value();
            if (transport != QLatin1String("dde") && transport != QLatin1String("tcp"))
                Fail("--transport is dde or tcp");
            options.tcp = transport == QLatin1String("tcp");
        } else if (name == QLatin1String("--port"))
            options.port = value().toInt();
        else if (name == QLatin1String("--seconds"))
            options.seconds = value().toDouble();
        else if (name == QLatin1String("--external"))
            options.external = true;
        else
            Fail("unknown option " + name.toStdString());
    }
    if (options.binDir.isEmpty() || options.workDir.isEmpty())
        Fail("usage: bench_live --bin-dir DIR --work DIR [--transport dde|tcp] [--port N] [--seconds S] "
             "[--external]");
    if (options.tcp && (options.port <= 0 || options.port > 65535))
        Fail("--transport tcp needs --port 1..65535");
    if (options.seconds <= 0)
        Fail("--seconds must be positive");
    return options;
}

// ---- The files ---------------------------------------------------------

using Keys = std::vector<std::pair<std::string, std::string>>;
using Sections = std::vector<std::pair<std::string, Keys>>;

/// Writes a profile file as the programs write them: CRLF line ends.
void WriteProfile(const std::string& path, const Sections& sections)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& [section, keys] : sections) {
        out << '[' << section << "]\r\n";
        for (const auto& [key, value] : keys)
            out << key << '=' << value << "\r\n";
        out << "\r\n";
    }
    if (!out.flush())
        Fail("cannot write " + path);
}

std::string MeasurementName(int generator, int number)
{
    return std::string(kGenerators[static_cast<std::size_t>(generator)]) + "_" + std::to_string(number);
}

/// Every generator feeds kMaxMeasurements names. The odd ones are converted
/// by coefficients, the even ones shown raw, so both kinds are in the load.
Sections MeasurementSections()
{
    constexpr int kSquare = 2;
    constexpr int kSawtooth = 4;
    Sections sections;
    for (int generator = 0; generator < static_cast<int>(kGenerators.size()); ++generator) {
        const bool positive = generator == kSquare || generator == kSawtooth;
        for (int number = 1; number <= kMaxMeasurements; ++number) {
            Keys keys = {{"L", positive ? "0.0" : "-100.0"}, {"H", "100.0"}, {"U", "counts"},
                         {"D", "Generated load"}};
            if (number % 2 == 1) {
                keys.emplace_back("E", "Coefficients");
                keys.emplace_back("0", "0.0");
                keys.emplace_back("1", "1.0");
            } else {
                keys.emplace_back("E", "Raw");
            }
            sections.emplace_back(MeasurementName(generator, number), std::move(keys));
        }
    }
    return sections;
}

std::string GraphTitle(int graph)
{
    char title[32];
    std::snprintf(title, sizeof title, "Live %02d", graph + 1);
    return title;
}

std::string GridPlacement(int graph)
{
    std::ostringstream placement;
    placement << (graph % kGridColumns) * kCellWidth << ' ' << (graph / kGridColumns) * kCellHeight << ' '
              << kCellWidth << ' ' << kCellHeight;
    return placement.str();
}

/// Graph i shows 1 + i % 8 measurements of generator i % 6, with the High
/// and Low alarms on, so that alarm evaluation is part of the load.
Sections DisplaySections()
{
    Sections sections;
    Keys view = {{"T", kViewTitle}};
    for (int graph = 0; graph < kGraphCount; ++graph) {
        Keys keys = {{"T", GraphTitle(graph)},
                     {"P", "TimeHistory"},
                     {"WC", "Proportional"},
                     {"UP", std::to_string(kUpdatePeriodMs)},
                     {"AH", "0.1 0.0"},
                     {"A2", "1,12,High,80"},
                     {"A3", "1,11,Low,-80"}};
        const int count = 1 + graph % kMaxMeasurements;
        const int generator = graph % static_cast<int>(kGenerators.size());
        for (int number = 1; number <= count; ++number)
            keys.emplace_back("M" + std::to_string(number), MeasurementName(generator, number));
        keys.emplace_back("R", GridPlacement(graph));
        sections.emplace_back(vexa::GraphSectionName(graph + 1), std::move(keys));
        view.emplace_back("W" + std::to_string(graph + 1), GraphTitle(graph));
        view.emplace_back("R" + std::to_string(graph + 1), GridPlacement(graph));
    }
    sections.emplace_back(vexa::ViewSectionName(1), std::move(view));
    return sections;
}

void WriteSettings(const Options& options)
{
    Keys display = {{vexa::link::kSourceKey, std::to_string(options.tcp ? vexa::link::kSourceEthernet
                                                                        : vexa::link::kSourceDde)},
                    {vexa::app::FrameWindow::kStartServerKey, "0"}};
    Keys server = {{"DataPath", std::to_string(options.tcp ? kTcpPath : kDdePath)}};
    if (options.tcp) {
        display.emplace_back(vexa::link::kHostKey, kLoopback);
        display.emplace_back(vexa::link::kPortKey, std::to_string(options.port));
        server.emplace_back("Port", std::to_string(options.port));
    }
    WriteProfile(vexa::SettingsFilePath(), {{vexa::link::kLinkSection, display}, {"VEXA-Com", server}});
}

/// The offscreen platform with a screen of kScreenWidth x kScreenHeight,
/// for this program and the ones it starts.
void UseOffscreenScreen(const QString& workDir)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    const std::string config = (workDir + QStringLiteral("/screen.json")).toStdString();
    std::ofstream out(config, std::ios::trunc);
    out << R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": )" << kScreenWidth
        << R"(, "height": )" << kScreenHeight << R"(, "logicalDpi": 96}]})" << '\n';
    if (!out.flush())
        Fail("cannot write " + config);
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str());
}

// ---- Measuring ---------------------------------------------------------

/// User plus system CPU time of process \p pid in seconds.
std::optional<double> CpuSeconds(qint64 pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat))
        return std::nullopt;
    // The command name may hold blanks and parentheses; it ends at the last ')'.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    long long user = -1;
    long long system = -1;
    for (int number = kFirstFieldAfterName; number <= kSystemTimeField && fields >> field; ++number) {
        if (number == kUserTimeField)
            user = std::stoll(field);
        else if (number == kSystemTimeField)
            system = std::stoll(field);
    }
    if (user < 0 || system < 0)
        return std::nullopt;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double CpuSecondsOrFail(qint64 pid, const char* what)
{
    const std::optional<double> seconds = CpuSeconds(pid);
    if (!seconds)
        Fail(std::string("cannot read the CPU time of ") + what);
    return *seconds;
}

/// Runs the event loop until \p done answers true, looking every kPollMs, or
/// until \p timeoutMs have passed. The result is \p done's last answer.
bool RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.hasExpired(timeoutMs))
            loop.quit();
    });
    poll.start();
    loop.exec();
    return done();
}

void RunFor(int ms)
{
    QEventLoop loop;
    // A coarse timer of this length may end 5% early.
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Message boxes would stop the run, waiting for a person: each one is
/// printed and dismissed, and the run reports that it saw them.
class MessagePrinter : public vexa::MessageHandler {
public:
    vexa::MessageAnswer show(const vexa::MessageRequest& request) override
    {
        ++m_count;
        std::fprintf(stderr, "bench_live: message box \"%s\": %s\n", qPrintable(request.caption),
                     qPrintable(request.text));
        return vexa::DismissAnswer(request.buttons);
    }
    void beep() override {}
    int count() const { return m_count; }

private:
    int m_count = 0;
};

struct Window {
    QElapsedTimer clock;
    double displayCpu = 0;
    double serverCpu = 0;
};

Window OpenWindow(qint64 displayPid, qint64 serverPid)
{
    Window window;
    window.displayCpu = CpuSecondsOrFail(displayPid, "the display");
    window.serverCpu = CpuSecondsOrFail(serverPid, "the server");
    window.clock.start();
    return window;
}

void PrintShare(const char* what, double cpuSeconds, double wallSeconds, bool withTarget)
{
    const double share = cpuSeconds / wallSeconds;
    std::printf("  %-22s CPU %6.2f s in %5.2f s = %5.1f%% of one core", what, cpuSeconds, wallSeconds,
                share * 100.0);
    if (withTarget)
        std::printf(" (target at most %.0f%%: %s)", kCpuTarget * 100.0, share <= kCpuTarget ? "met" : "MISSED");
    std::printf("\n");
}

/// Rows appended so far by each graph's dataset; -1 for a graph without one.
std::vector<std::int64_t> AppendedRows(const vexa::graphs::GraphWindows& windows)
{
    std::vector<std::int64_t> rows;
    for (int index = 0; index < kGraphCount; ++index) {
        const vexa::graphs::GraphWindow* window = windows.graphWindow(index);
        const bool hasDataset = window != nullptr && window->resources().dataset;
        rows.push_back(hasDataset ? window->resources().dataset->appendedRows() : -1);
    }
    return rows;
}

int OpenGraphCount(const vexa::GraphTable& graphs)
{
    int open = 0;
    for (int index = 0; index < kGraphCount; ++index)
        open += graphs.isOpen(index) ? 1 : 0;
    return open;
}

/// The display inside this program. True when both targets were met.
bool MeasureInProcess(const Options& options, qint64 serverPid, const QString& commandLine)
{
    vexa::app::FrameWindow frame(vexa::SettingsFilePath(), vexa::app::FrameWindow::LoadIcon());
    frame.resize(kAreaWidth, kAreaHeight + kFrameBarsHeight);
    frame.start(commandLine);
    if (!RunUntil([&] { return OpenGraphCount(frame.probe().graphTable) == kGraphCount; }, kGraphsOpenMs))
        Fail("only " + std::to_string(OpenGraphCount(frame.probe().graphTable)) + " of " +
             std::to_string(kGraphCount) + " graphs opened");
    RunFor(kWarmUpMs);

    const QSize area = frame.centralWidget()->size();
    const std::vector<std::int64_t> before = AppendedRows(frame.probe().graphWindows);
    const Window window = OpenWindow(getpid(), serverPid);
    RunFor(static_cast<int>(options.seconds * 1000.0));
    const double wall = static_cast<double>(window.clock.nsecsElapsed()) / 1e9;
    const double displayCpu = CpuSecondsOrFail(getpid(), "the display") - window.displayCpu;
    const double serverCpu = CpuSecondsOrFail(serverPid, "the server") - window.serverCpu;
    const std::vector<std::int64_t> after = AppendedRows(frame.probe().graphWindows);

    std::vector<std::int64_t> rows;
    for (int index = 0; index < kGraphCount; ++index)
        rows.push_back(before[static_cast<std::size_t>(index)] < 0 || after[static_cast<std::size_t>(index)] < 0
                           ? 0
                           : after[static_cast<std::size_t>(index)] - before[static_cast<std::size_t>(index)]);
    std::vector<std::int64_t> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    const double expected = wall * 1000.0 / kUpdatePeriodMs;
    const bool rateKept = static_cast<double>(sorted.front()) >= kRateTarget * expected;
    const int slowest = static_cast<int>(std::min_element(rows.begin(), rows.end()) - rows.begin());

    std::printf("display in this process (window area %dx%d):\n", area.width(), area.height());
    PrintShare("display", displayCpu, wall, true);
    PrintShare("server", serverCpu, wall, false);
    std::printf("  rows per graph: min %lld (%s), median %lld, max %lld; expected %.0f\n",
                static_cast<long long>(sorted.front()), GraphTitle(slowest).c_str(),
                static_cast<long long>(sorted[sorted.size() / 2]), static_cast<long long>(sorted.back()), expected);
    std::printf("  every graph kept its rate (at least %.0f%% of the rows): %s\n", kRateTarget * 100.0,
                rateKept ? "yes" : "NO");
    frame.close();
    return rateKept && displayCpu / wall <= kCpuTarget;
}

/// The real vexaview program on the same files, its frame as large as the
/// one in this process (Qt's own geometry option); only its CPU time can be
/// read from outside. True when the CPU target was met.
bool MeasureExternal(const Options& options, qint64 serverPid, const QStringList& arguments)
{
    QProcess display;
    display.setProgram(QDir(options.binDir).filePath(QString::fromLatin1(kDisplayProgram)));
    display.setArguments(QStringList{QStringLiteral("-qwindowgeometry"),
                                     QStringLiteral("%1x%2+0+0").arg(kAreaWidth).arg(kAreaHeight + kFrameBarsHeight)} +
                         arguments);
    display.setWorkingDirectory(options.workDir);
    display.setProcessChannelMode(QProcess::ForwardedChannels);
    display.start();
    if (!display.waitForStarted())
        Fail("cannot start " + display.program().toStdString());
    // Its graphs open during its start; the warm-up covers that too.
    RunFor(kWarmUpMs + kWarmUpMs);
    if (display.state() != QProcess::Running)
        Fail("vexaview ended early");

    const Window window = OpenWindow(display.processId(), serverPid);
    RunFor(static_cast<int>(options.seconds * 1000.0));
    const double wall = static_cast<double>(window.clock.nsecsElapsed()) / 1e9;
    const double displayCpu = CpuSecondsOrFail(display.processId(), "vexaview") - window.displayCpu;
    const double serverCpu = CpuSecondsOrFail(serverPid, "the server") - window.serverCpu;

    std::printf("vexaview as its own process (pid %lld, frame %dx%d):\n",
                static_cast<long long>(display.processId()), kAreaWidth, kAreaHeight + kFrameBarsHeight);
    PrintShare("vexaview", displayCpu, wall, true);
    PrintShare("server", serverCpu, wall, false);
    display.terminate();
    if (!display.waitForFinished(kProcessEndMs))
        Fail("vexaview did not end on SIGTERM");
    return displayCpu / wall <= kCpuTarget;
}

}  // namespace

int main(int argc, char** argv)
{
    // The options are read before the application exists, because the
    // platform it uses depends on the work folder.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    const Options options = ParseOptions(rawArguments);
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME") || qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        Fail("XDG_CONFIG_HOME and XDG_RUNTIME_DIR must name private directories (bench/live sets them)");
    UseOffscreenScreen(options.workDir);
    QApplication application(argc, argv);
    MessagePrinter messages;
    vexa::SetMessageHandler(&messages);

    // The display's file name runs up to a "-V"; a relative name keeps the
    // work folder's path out of it.
    if (!QDir::setCurrent(options.workDir))
        Fail("cannot enter " + options.workDir.toStdString());
    WriteProfile(kMeasurementFileName, MeasurementSections());
    WriteProfile(kDisplayFileName, DisplaySections());
    WriteSettings(options);

    QProcess server;
    server.setProgram(QDir(options.binDir).filePath(QString::fromLatin1(kServerProgram)));
    server.setArguments({QStringLiteral("--minimized")});
    server.setProcessChannelMode(QProcess::ForwardedChannels);
    server.start();
    if (!server.waitForStarted())
        Fail("cannot start " + server.program().toStdString());
    if (!RunUntil([] { return vexa::link::IsServerRunning(); }, kServerStartMs))
        Fail("the server did not come up");

    const QStringList displayArguments = {QStringLiteral("-F"), QString::fromLatin1(kDisplayFileName),
                                          QStringLiteral("-V"), QString::fromLatin1(kViewTitle)};
    std::printf("bench_live: %d time history graphs (1 to %d measurements each), update period %d ms, %s\n",
                kGraphCount, kMaxMeasurements, kUpdatePeriodMs,
                options.tcp ? qPrintable(QStringLiteral("TCP on %1:%2").arg(kLoopback).arg(options.port))
                            : "DDE on the session bus");
    bool met = MeasureInProcess(options, server.processId(), displayArguments.join(QLatin1Char(' ')));
    if (options.external)
        met = MeasureExternal(options, server.processId(), displayArguments) && met;
    if (messages.count() > 0)
        std::printf("  %d message box(es) were shown during the run (see above)\n", messages.count());

    vexa::SetMessageHandler(nullptr);
    server.terminate();
    if (!server.waitForFinished(kProcessEndMs))
        Fail("the server did not end on SIGTERM");
    std::printf("targets %s\n", met && messages.count() == 0 ? "met" : "MISSED");
    return 0;
}
