// Times the sample round trip of a running data server over TCP, next to a
// Redis server answering PING as the yardstick for what a small
// request-and-answer server achieves on the same machine. Both are driven by
// the same code: each connection has one request outstanding at a time, and
// every connection is served from this one thread through poll().
//
// Usage: bench_sample_rtt [--vexalink-port N] [--redis-port N]
//                         [--duration S] [--rounds N]
// Both servers must already listen on the loopback address; bench/sample_rtt
// starts them and runs this program.

#include "BenchError.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace {

namespace link = vexa::link;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultVexalinkPort = 1000;  // the data server's own default
constexpr int kDefaultRedisPort = 6379;
constexpr double kDefaultDurationSeconds = 3.0;
constexpr long kDefaultRounds = 20000;
// Round trips made and thrown away before the latency is measured, so that
// the first target timed does not pay for cold caches and a sleeping CPU.
constexpr long kUntimedRounds = 2000;

constexpr int kSmallLayoutNames = 8;
// The most names the display program's name list takes.
constexpr int kLargeLayoutNames = link::kDisplayLayoutNames - 1;
// A path whose file name starts with SIMULATE puts the server into simulate
// mode, where the three letters that start each name pick its generator.
constexpr const char* kSimulatePath = "/tmp/SIMULATE.mvx";
constexpr std::array<const char*, 6> kGenerators = {"COS", "SIN", "SQR", "TRI", "SAW", "RAN"};

constexpr std::string_view kPingRequest = "PING\r\n";
constexpr std::string_view kPongAnswer = "+PONG\r\n";

// Every figure is taken in this many slices, the targets in turn, so that a
// burst of load elsewhere on the machine does not fall on one target alone.
constexpr int kSlices = 3;

constexpr std::array<int, 3> kClientCounts = {1, 8, 64};
constexpr int kWidestClientCount = kClientCounts.back();

// The server answers no layout, so there is nothing to wait for; the pause
// lets it take each layout as a message of its own before the first request.
constexpr auto kLayoutSettleTime = std::chrono::milliseconds(100);
// A round trip that takes this long means the server is not answering.
constexpr int kAnswerTimeoutMs = 10000;
// After the warm-up round, bytes beyond the expected answer would show up
// within this time.
constexpr int kTrailingBytesWaitMs = 100;
constexpr int kReceiveSlackBytes = 64;

// The rows of the table, in this order; the targets are judged on the first
// against the reference.
enum TargetRow : std::size_t { kSmallLayoutTarget, kLargeLayoutTarget, kReferenceTarget, kTargetCount };

constexpr double kLatencyPercentile = 0.99;
constexpr double kMaxLatencyRatio = 1.2;
constexpr double kMinThroughputRatio = 1.0;

using vexa::bench::BenchError;
using vexa::bench::SystemError;

/// A file descriptor, closed with the object.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd& operator=(UniqueFd&&) = delete;

    int get() const { return m_fd; }

private:
    int m_fd;
};

/// One TCP connection to a server on the loopback address.
class Connection {
public:
    /// Connects, then writes \p greeting (if any) with one blocking send
    /// before the socket turns non-blocking for the measurement.
    Connection(int port, const std::string& greeting) : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        if (fd() < 0)
            throw BenchError(SystemError("socket"));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            throw BenchError(SystemError("connect to port " + std::to_string(port)));
        const int on = 1;
        ::setsockopt(fd(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (!greeting.empty())
            sendWhole(greeting);
        ::fcntl(fd(), F_SETFL, ::fcntl(fd(), F_GETFL) | O_NONBLOCK);
    }

    int fd() const { return m_fd.get(); }

    /// Writes \p bytes with one send call; a short write is a failure, since
    /// the server takes each read as one message.
    void sendWhole(std::string_view bytes) const
    {
        const ssize_t sent = ::send(fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0)
            throw BenchError(SystemError("send"));
        if (std::size_t(sent) != bytes.size())
            throw BenchError("send wrote " + std::to_string(sent) + " of " + std::to_string(bytes.size())
                             + " bytes");
    }

private:
    UniqueFd m_fd;
};

/// A server under test: what each new connection sends first (the layout,
/// which gets no answer), the request and the length of its answer.
struct Target {
    std::string label;
    int port;
    std::string greeting;
    std::string request;
    int answerBytes;
};

/// When a run ends: after \p roundsPerClient answers on every connection,
/// or once \p duration has passed, whichever comes first.
struct StopRule {
    long roundsPerClient = std::numeric_limits<long>::max();
    Clock::duration duration = Clock::duration::max();
};

struct RunResult {
    std::vector<double> latenciesUs;
    double seconds = 0;
};

/// Keeps one request outstanding on every connection, each sent as soon as
/// the previous answer is whole, and records every round trip. An answer
/// that grows beyond the expected length, a closed connection or a server
/// silent for too long ends the benchmark.
RunResult RunRoundTrips(const std::vector<Connection>& connections, std::string_view request,
                        int answerBytes, const StopRule& stop)
{
    struct Pending {
        Clock::time_point sentAt;
        int received = 0;
        long answers = 0;
        bool done = false;
    };
    std::vector<pollfd> polled(connections.size());
    std::vector<Pending> pending(connections.size());
    std::vector<char> buffer(std::size_t(answerBytes) + kReceiveSlackBytes);
    RunResult result;

    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline =
        stop.duration == Clock::duration::max() ? Clock::time_point::max() : start + stop.duration;
    for (std::size_t i = 0; i < connections.size(); ++i) {
        polled[i] = {connections[i].fd(), POLLIN, 0};
        pending[i].sentAt = Clock::now();
        connections[i].sendWhole(request);
    }

    std::size_t active = connections.size();
    while (active > 0) {
        const int ready = ::poll(polled.data(), polled.size(), kAnswerTimeoutMs);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            throw BenchError(SystemError("poll"));
        }
        if (ready == 0) {
            const auto partial = std::max_element(pending.begin(), pending.end(),
                [](const Pending& a, const Pending& b) { return a.received < b.received; });
            const std::string silence = "nothing within " + std::to_string(kAnswerTimeoutMs / 1000) + " s";
            if (partial->received == 0)
                throw BenchError("no answer: " + silence);
            throw BenchError("answer of " + std::to_string(partial->received) + " bytes, expected "
                             + std::to_string(answerBytes) + " (then " + silence + ")");
        }
        const Clock::time_point now = Clock::now();
        const bool overdue = now >= deadline;
        for (std::size_t i = 0; i < polled.size(); ++i) {
            if (polled[i].revents == 0 || pending[i].done)
                continue;
            Pending& state = pending[i];
            const ssize_t got = ::recv(polled[i].fd, buffer.data(), buffer.size(), 0);
            if (got < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                    continue;
                throw BenchError(SystemError("recv"));
            }
            if (got == 0)
                throw BenchError("the server closed the connection after " + std::to_string(state.received)
                                 + " of " + std::to_string(answerBytes) + " answer bytes");
            state.received += int(got);
            if (state.received > answerBytes)
                throw BenchError("answer of at least " + std::to_string(state.received) + " bytes, expected "
                                 + std::to_string(answerBytes));
            if (state.received < answerBytes)
                continue;

            const auto roundTrip = std::chrono::duration<double, std::micro>(now - state.sentAt);
            result.latenciesUs.push_back(roundTrip.count());
            state.received = 0;
            if (++state.answers >= stop.roundsPerClient || overdue) {
                state.done = true;
                polled[i].fd = -1;  // poll() skips negative descriptors
                --active;
                continue;
            }
            state.sentAt = Clock::now();
            connections[i].sendWhole(request);
        }
        if (overdue)
            break;
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

/// Opens \p count connections to \p target, then runs one checked round on
/// each: every answer must have exactly the expected length, with nothing
/// trailing behind it.
std::vector<Connection> OpenWarmConnections(const Target& target, int count)
{
    std::vector<Connection> connections;
    connections.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        connections.emplace_back(target.port, target.greeting);
    if (!target.greeting.empty())
        std::this_thread::sleep_for(kLayoutSettleTime);

    StopRule oneRound;
    oneRound.roundsPerClient = 1;
    RunRoundTrips(connections, target.request, target.answerBytes, oneRound);

    std::vector<pollfd> polled;
    for (const Connection& connection : connections)
        polled.push_back({connection.fd(), POLLIN, 0});
    if (::poll(polled.data(), polled.size(), kTrailingBytesWaitMs) > 0)
        throw BenchError("bytes beyond the expected answer of " + std::to_string(target.answerBytes)
                         + " bytes");
    return connections;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(fraction * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

/// What one target gathered over the slices: every timed round trip on the
/// single connection, and one answers/s figure per slice and client count.
struct Samples {
    std::vector<double> latenciesUs;
    std::array<std::vector<double>, kClientCounts.size()> answersPerSecond;
};

/// One slice of every figure for \p target: \p rounds timed round trips on
/// one connection, then \p duration of traffic for each client count.
void MeasureSlice(const Target& target, long rounds, Clock::duration duration, Samples& samples)
{
    {
        const std::vector<Connection> single = OpenWarmConnections(target, 1);
        StopRule untimed;
        untimed.roundsPerClient = kUntimedRounds;
        RunRoundTrips(single, target.request, target.answerBytes, untimed);
        StopRule byRounds;
        byRounds.roundsPerClient = rounds;
        const RunResult latency = RunRoundTrips(single, target.request, target.answerBytes, byRounds);
        samples.latenciesUs.insert(samples.latenciesUs.end(), latency.latenciesUs.begin(),
                                   latency.latenciesUs.end());
    }
    for (std::size_t i = 0; i < kClientCounts.size(); ++i) {
        const std::vector<Connection> clients = OpenWarmConnections(target, kClientCounts[i]);
        StopRule byTime;
        byTime.duration = duration;
        const RunResult run = RunRoundTrips(clients, target.request, target.answerBytes, byTime);
        samples.answersPerSecond[i].push_back(double(run.latenciesUs.size()) / run.seconds);
    }
}

/// The layout message for \p names simulated measurements: COS1, SIN2, SQR3, …
std::string SimulateLayoutMessage(int names)
{
    link::LayoutBlock layout(link::kDisplayLayoutNames);
    layout.setPath(kSimulatePath);
    layout.setCount(names);
    for (int i = 0; i < names; ++i) {
        const QByteArray generator = kGenerators[std::size_t(i) % kGenerators.size()];
        layout.setName(i, generator + QByteArray::number(i + 1));
    }
    const QByteArray message = link::BuildLayoutMessage(layout);
    return std::string(message.constData(), std::size_t(message.size()));
}

Target VexalinkTarget(int port, int names)
{
    const QByteArray request = link::BuildSampleRequest();
    return {"vexalink (" + std::to_string(names) + " names)", port, SimulateLayoutMessage(names),
            std::string(request.constData(), std::size_t(request.size())), link::SampleBytesFor(names)};
}

Target RedisTarget(int port)
{
    return {"redis PING", port, {}, std::string(kPingRequest), int(kPongAnswer.size())};
}

struct Options {
    int vexalinkPort = kDefaultVexalinkPort;
    int redisPort = kDefaultRedisPort;
    double durationSeconds = kDefaultDurationSeconds;
    long rounds = kDefaultRounds;
};

constexpr const char* kUsage =
    "usage: bench_sample_rtt [--vexalink-port N] [--redis-port N] [--duration S] [--rounds N]\n";

long ParseNumber(const char* option, const char* text, long low, long high)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high)
        throw BenchError(std::string(option) + ": not a number from " + std::to_string(low) + " to "
                         + std::to_string(high) + ": " + text);
    return value;
}

Options ParseOptions(int argc, char** argv)
{
    constexpr long kMaxPort = 65535;
    constexpr double kMaxDurationSeconds = 3600;
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc)
            throw BenchError(std::string(kUsage));
        const char* value = argv[++i];
        if (option == "--vexalink-port") {
            options.vexalinkPort = int(ParseNumber(argv[i - 1], value, 1, kMaxPort));
        } else if (option == "--redis-port") {
            options.redisPort = int(ParseNumber(argv[i - 1], value, 1, kMaxPort));
        } else if (option == "--rounds") {
            options.rounds = ParseNumber(argv[i - 1], value, 1, std::numeric_limits<int>::max());
        } else if (option == "--duration") {
            char* end = nullptr;
            options.durationSeconds = std::strtod(value, &end);
            if (end == value || *end != '\0' || !(options.durationSeconds > 0)
                || options.durationSeconds > kMaxDurationSeconds)
                throw BenchError("--duration: not a number of seconds above 0: " + std::string(value));
        } else {
            throw BenchError("unknown option " + std::string(option) + "\n" + kUsage);
        }
    }
    return options;
}

void PrintRatio(const char* what, double ratio, const char* comparison, double target, bool met)
{
    std::printf("%s: %.2f (target %s %.1f) %s\n", what, ratio, comparison, target, met ? "PASS" : "FAIL");
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = ParseOptions(argc, argv);
        const auto duration = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(options.durationSeconds));
        const std::array<Target, kTargetCount> targets = {
            VexalinkTarget(options.vexalinkPort, kSmallLayoutNames),
            VexalinkTarget(options.vexalinkPort, kLargeLayoutNames),
            RedisTarget(options.redisPort),
        };

        std::printf("%ld timed round trips on one connection for the latency, %.1f s of traffic for each "
                    "answers/s figure,\nin %d slices taken in turn from every target (answers/s: the median "
                    "slice); one request outstanding per client\n\n",
                    options.rounds, options.durationSeconds, kSlices);
        std::array<Samples, targets.size()> samples;
        const long sliceRounds = std::max(options.rounds / kSlices, 1L);
        for (int slice = 0; slice < kSlices; ++slice) {
            for (std::size_t i = 0; i < targets.size(); ++i) {
                try {
                    MeasureSlice(targets[i], sliceRounds, duration / kSlices, samples[i]);
                } catch (const BenchError& error) {
                    throw BenchError(targets[i].label + " on port " + std::to_string(targets[i].port) + ": "
                                     + error.what());
                }
            }
        }

        struct Figures {
            double medianUs;
            double p99Us;
            std::array<double, kClientCounts.size()> answersPerSecond;
        };
        std::array<Figures, targets.size()> figures;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            figures[i].medianUs = Median(samples[i].latenciesUs);
            figures[i].p99Us = Percentile(samples[i].latenciesUs, kLatencyPercentile);
            for (std::size_t j = 0; j < kClientCounts.size(); ++j)
                figures[i].answersPerSecond[j] = Median(samples[i].answersPerSecond[j]);
        }

        std::printf("| target | answer bytes | median µs | p99 µs | answers/s, %d client | %d clients "
                    "| %d clients |\n",
                    kClientCounts[0], kClientCounts[1], kClientCounts[2]);
        std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const Figures& row = figures[i];
            std::printf("| %s | %d | %.1f | %.1f | %.0f | %.0f | %.0f |\n", targets[i].label.c_str(),
                        targets[i].answerBytes, row.medianUs, row.p99Us, row.answersPerSecond[0],
                        row.answersPerSecond[1], row.answersPerSecond[2]);
        }
        std::printf("\n");

        const Figures& small = figures[kSmallLayoutTarget];
        const Figures& reference = figures[kReferenceTarget];
        const double latencyRatio = small.medianUs / reference.medianUs;
        const double throughputRatio = small.answersPerSecond.back() / reference.answersPerSecond.back();
        const std::string versus = targets[kSmallLayoutTarget].label + " / " + targets[kReferenceTarget].label;
        const std::string latencyWhat = "median latency, " + versus;
        PrintRatio(latencyWhat.c_str(), latencyRatio, "<=", kMaxLatencyRatio,
                   latencyRatio <= kMaxLatencyRatio);
        const std::string throughputWhat =
            "answers/s at " + std::to_string(kWidestClientCount) + " clients, " + versus;
        PrintRatio(throughputWhat.c_str(), throughputRatio, ">=", kMinThroughputRatio,
                   throughputRatio >= kMinThroughputRatio);
    } catch (const BenchError& error) {
        std::fprintf(stderr, "bench_sample_rtt: %s\n", error.what());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
