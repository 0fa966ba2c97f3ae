// Loads a running data server's live inputs and reads back what it counted.
//
// Line protocol: sends lines of 8 fields each over loopback UDP at a steady
// rate (100,000 lines a second unless told), packed into datagrams as a
// feeding agent packs them, while 64 TCP clients ask for samples 20 times a
// second each. The server's CPU time over the run is read from /proc.
//
// MQTT: publishes messages at a steady rate (20,000 a second unless told) to
// the broker the server subscribes to, while the broker's own subscribing
// client, mosquitto_sub, takes the same topics from the same broker; what
// each of the two received is compared.
//
// At the end the server is asked to end, and the totals it logs for each
// input (what its Sources window counts) are read from its log file. Without
// a log file the line protocol load alone runs, and the server is left
// running: a load for another benchmark (bench/sample_rtt --inputs loaded).
//
// Usage: bench_ingest --server-pid PID --server-port N --line-udp PORT
//                     [--log-file PATH] [--broker PORT]
//                     [--duration S] [--lines-per-second N] [--datagram-bytes N]
//                     [--mqtt-duration S] [--messages-per-second N]
//                     [--clients N] [--requests-per-second N]
// bench/ingest starts the server and the broker and runs this program.

#include "BenchError.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"

#include <mosquitto.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern char** environ;

namespace {

namespace link = vexa::link;
using Clock = std::chrono::steady_clock;

constexpr int kFieldsPerLine = 8;
/// Distinct measurements the lines cycle through: 8,000 names in all.
constexpr int kMeasurements = 1000;
/// Names each sample client asks for.
constexpr int kLayoutNames = 8;
/// Distinct MQTT topics the messages cycle through.
constexpr int kTopics = 100;
constexpr const char* kTopicFilter = "bench/#";
/// A datagram no larger than what a feeding agent sends by default.
constexpr int kDefaultDatagramBytes = 512;
/// How often the sender catches up with its rate.
constexpr auto kSendTick = std::chrono::milliseconds(1);
/// After the load, time for what is under way to arrive before counting.
constexpr auto kSettleTime = std::chrono::seconds(1);
constexpr int kAnswerTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 10000;
constexpr double kMaxCpuShare = 0.5;
constexpr double kMinMqttRatio = 1.0;

using vexa::bench::BenchError;
using vexa::bench::SystemError;

struct Options {
    int serverPid = 0;
    int serverPort = 0;
    std::string logFile;
    int lineUdpPort = 0;
    int brokerPort = 0;
    double durationSeconds = 30;
    long linesPerSecond = 100000;
    int datagramBytes = kDefaultDatagramBytes;
    double mqttDurationSeconds = 10;
    long messagesPerSecond = 20000;
    int clients = 64;
    int requestsPerSecond = 20;
};

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

/// The server's user and system CPU time so far, in seconds.
double ProcessCpuSeconds(int pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name is in parentheses and may hold blanks: count from after it.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        throw BenchError("cannot read /proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // state is field 3; utime and stime are fields 14 and 15.
    unsigned long long utime = 0, stime = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14)
            utime = std::stoull(field);
        if (number == 15)
            stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

/// The drops the system counted on the UDP socket bound to \p port.
unsigned long long UdpSocketDrops(int port)
{
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line);
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    unsigned long long drops = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local;
        fields >> slot >> local;
        if (local.size() < 5 || local.substr(local.size() - 5) != wanted)
            continue;
        std::string column;
        std::vector<std::string> columns;
        while (fields >> column)
            columns.push_back(column);
        if (!columns.empty())
            drops += std::stoull(columns.back());
    }
    return drops;
}

/// One sample client: a TCP connection with a layout of live names that
/// asks for a sample at its own times and reads each answer whole.
class SampleClient {
public:
    SampleClient(int port, const std::string& layoutMessage, int answerBytes) : m_answerBytes(answerBytes)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = Loopback(port);
        if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            throw BenchError(SystemError("connect to the server"));
        const int on = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (::send(m_fd, layoutMessage.data(), layoutMessage.size(), MSG_NOSIGNAL) != ssize_t(layoutMessage.size()))
            throw BenchError(SystemError("send the layout"));
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    }
    ~SampleClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SampleClient(SampleClient&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)), m_answerBytes(other.m_answerBytes), m_received(other.m_received),
          m_waiting(other.m_waiting), m_sentAt(other.m_sentAt), m_answers(other.m_answers)
    {
    }
    SampleClient(const SampleClient&) = delete;
    SampleClient& operator=(const SampleClient&) = delete;
    SampleClient& operator=(SampleClient&&) = delete;

    int fd() const { return m_fd; }
    bool isWaiting() const { return m_waiting; }
    long answers() const { return m_answers; }

    void Request(Clock::time_point now)
    {
        const char request = link::kSampleRequest;
        if (::send(m_fd, &request, 1, MSG_NOSIGNAL) != 1)
            throw BenchError(SystemError("send a sample request"));
        m_waiting = true;
        m_sentAt = now;
    }
    /// Reads what has come; true once the answer is whole.
    bool Read()
    {
        char buffer[8192];
        const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return false;
        if (got <= 0)
            throw BenchError(got == 0 ? "the server closed a sample connection" : SystemError("recv"));
        m_received += int(got);
        if (m_received > m_answerBytes)
            throw BenchError("a sample answer longer than " + std::to_string(m_answerBytes) + " bytes");
        if (m_received < m_answerBytes)
            return false;
        m_received = 0;
        m_waiting = false;
        ++m_answers;
        return true;
    }
    bool isOverdue(Clock::time_point now) const
    {
        return m_waiting && now - m_sentAt > std::chrono::milliseconds(kAnswerTimeoutMs);
    }

private:
    int m_fd = -1;
    int m_answerBytes;
    int m_received = 0;
    bool m_waiting = false;
    Clock::time_point m_sentAt;
    long m_answers = 0;
};

std::string LayoutMessage()
{
    link::LayoutBlock layout(link::kDisplayLayoutNames);
    layout.setPath("/bench/ingest.mvx");
    layout.setCount(kLayoutNames);
    for (int i = 0; i < kLayoutNames; ++i)
        layout.setName(i, "bench" + QByteArray::number(i * 97) + ".f" + QByteArray::number(i));
    const QByteArray message = link::BuildLayoutMessage(layout);
    return std::string(message.constData(), std::size_t(message.size()));
}

/// Line protocol as a feeding agent writes it: tags, 8 float fields and a
/// time stamp in nanoseconds.
std::string Line(long number)
{
    char line[256];
    const int measurement = int(number % kMeasurements);
    const double base = double(number % 100000) / 8.0;
    const long long stamp = 1700000000000000000LL + number * 10000LL;
    const int length = std::snprintf(line, sizeof line,
                                     "bench%d,host=ingest,rack=r%d f0=%.3f,f1=%.3f,f2=%.3f,f3=%.3f,f4=%.3f,f5=%.3f,"
                                     "f6=%.3f,f7=%.3f %lld\n",
                                     measurement, measurement % 10, base, base + 1, base + 2, base + 3, base + 4,
                                     base + 5, base + 6, base + 7, stamp);
    return std::string(line, std::size_t(length));
}

struct LineResult {
    long lines = 0;
    long datagrams = 0;
    long answers = 0;
    double seconds = 0;
    double serverCpuSeconds = 0;
};

LineResult RunLineLoad(const Options& options)
{
    const std::string layout = LayoutMessage();
    const int answerBytes = link::SampleBytesFor(kLayoutNames);
    std::vector<SampleClient> clients;
    clients.reserve(std::size_t(options.clients));
    for (int i = 0; i < options.clients; ++i)
        clients.emplace_back(options.serverPort, layout, answerBytes);

    const int sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = Loopback(options.lineUdpPort);
    if (sender < 0 || ::connect(sender, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0)
        throw BenchError(SystemError("UDP socket"));

    // Every client asks at its own phase of the period, as displays started
    // at different times do.
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / options.requestsPerSecond));
    std::vector<Clock::time_point> nextRequest(clients.size());
    std::vector<pollfd> polled(clients.size());

    LineResult result;
    const double cpuBefore = ProcessCpuSeconds(options.serverPid);
    const Clock::time_point start = Clock::now();
    const auto duration = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.durationSeconds));
    const long totalLines = long(options.linesPerSecond * options.durationSeconds);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        nextRequest[i] = start + period * long(i) / long(clients.size());
        polled[i] = {clients[i].fd(), POLLIN, 0};
    }

    // Lines due are packed into the datagram being filled, which goes out
    // when the next line would not fit (or after the last line).
    std::string datagram;
    std::string pending = Line(0);
    if (pending.size() > std::size_t(options.datagramBytes))
        throw BenchError("a line is longer than a datagram");
    const auto sendDatagram = [&] {
        if (::send(sender, datagram.data(), datagram.size(), 0) != ssize_t(datagram.size()))
            throw BenchError(SystemError("send a datagram"));
        ++result.datagrams;
        datagram.clear();
    };
    for (;;) {
        const Clock::time_point now = Clock::now();
        const bool sending = result.lines < totalLines;
        if (!sending && now - start >= duration)
            break;
        // Catch up with the rate: the lines due by now.
        const long due = std::min(totalLines, long(std::chrono::duration<double>(now - start).count() * double(options.linesPerSecond)));
        while (result.lines < due) {
            if (datagram.size() + pending.size() > std::size_t(options.datagramBytes))
                sendDatagram();
            datagram += pending;
            pending = Line(++result.lines);
        }
        if (result.lines >= totalLines && !datagram.empty())
            sendDatagram();
        Clock::time_point wake = now + kSendTick;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            if (!clients[i].isWaiting() && now >= nextRequest[i]) {
                clients[i].Request(now);
                nextRequest[i] += period;
                if (nextRequest[i] < now)
                    nextRequest[i] = now + period;  // a late answer skips the turns it missed
            }
            if (clients[i].isOverdue(now))
                throw BenchError("no sample answer within " + std::to_string(kAnswerTimeoutMs / 1000) + " s");
            if (!clients[i].isWaiting())
                wake = std::min(wake, nextRequest[i]);
        }
        // Rounded up, so that the sender sleeps rather than spins.
        const int timeoutMs = int(std::max<long long>(
            0, std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()).count()));
        if (::poll(polled.data(), polled.size(), timeoutMs) < 0 && errno != EINTR)
            throw BenchError(SystemError("poll"));
        for (std::size_t i = 0; i < clients.size(); ++i) {
            if (polled[i].revents != 0)
                clients[i].Read();
        }
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.serverCpuSeconds = ProcessCpuSeconds(options.serverPid) - cpuBefore;
    for (const SampleClient& client : clients)
        result.answers += client.answers();
    ::close(sender);
    return result;
}

/// mosquitto_sub, started by this program, its output counted line by line.
class Subscriber {
public:
    explicit Subscriber(int brokerPort)
    {
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
            throw BenchError(SystemError("pipe"));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        const std::string port = std::to_string(brokerPort);
        const char* arguments[] = {"mosquitto_sub", "-h", "127.0.0.1", "-p", port.c_str(), "-t", kTopicFilter, nullptr};
        const int spawned = posix_spawnp(&m_pid, "mosquitto_sub", &actions, nullptr,
                                         const_cast<char* const*>(arguments), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        m_fd = pipeEnds[0];
        if (spawned != 0)
            throw BenchError(std::string("cannot start mosquitto_sub: ") + std::strerror(spawned));
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    }
    ~Subscriber()
    {
        Stop();
        ::close(m_fd);
    }

    int fd() const { return m_fd; }
    long lines() const { return m_lines; }
    void Read()
    {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                return;
            m_lines += std::count(buffer, buffer + got, '\n');
        }
    }
    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = 0;
        Read();
    }

private:
    pid_t m_pid = 0;
    int m_fd = -1;
    long m_lines = 0;
};

struct MqttResult {
    long published = 0;
    long subscriberReceived = 0;
    double seconds = 0;
};

MqttResult RunMqttLoad(const Options& options)
{
    mosquitto_lib_init();
    Subscriber subscriber(options.brokerPort);
    mosquitto* publisher = mosquitto_new(nullptr, true, nullptr);
    if (publisher == nullptr || mosquitto_connect(publisher, "127.0.0.1", options.brokerPort, 60) != MOSQ_ERR_SUCCESS)
        throw BenchError("cannot connect the publisher to the broker on port " + std::to_string(options.brokerPort));
    // The CONNACK, and time for mosquitto_sub to subscribe.
    const Clock::time_point settleUntil = Clock::now() + kSettleTime;
    while (Clock::now() < settleUntil)
        mosquitto_loop(publisher, 100, 1);

    MqttResult result;
    const long total = long(options.messagesPerSecond * options.mqttDurationSeconds);
    const Clock::time_point start = Clock::now();
    char payload[64];
    std::vector<std::string> topics;
    for (int i = 0; i < kTopics; ++i)
        topics.push_back("bench/m" + std::to_string(i));
    pollfd polled[2] = {{mosquitto_socket(publisher), POLLIN, 0}, {subscriber.fd(), POLLIN, 0}};
    while (result.published < total) {
        const Clock::time_point now = Clock::now();
        const long due = std::min(total, long(std::chrono::duration<double>(now - start).count() * double(options.messagesPerSecond)));
        for (; result.published < due; ++result.published) {
            const int length = std::snprintf(payload, sizeof payload, "%.3f", double(result.published % 100000) / 8.0);
            const int published = mosquitto_publish(publisher, nullptr, topics[std::size_t(result.published % kTopics)].c_str(),
                                                    length, payload, 0, false);
            if (published != MOSQ_ERR_SUCCESS)
                throw BenchError(std::string("publish: ") + mosquitto_strerror(published));
        }
        polled[0].events = short(POLLIN | (mosquitto_want_write(publisher) ? POLLOUT : 0));
        ::poll(polled, 2, int(std::chrono::duration_cast<std::chrono::milliseconds>(kSendTick).count()));
        if (polled[0].revents & POLLOUT)
            mosquitto_loop_write(publisher, 1);
        if (polled[0].revents & POLLIN)
            mosquitto_loop_read(publisher, 1);
        if (polled[1].revents != 0)
            subscriber.Read();
        mosquitto_loop_misc(publisher);
    }
    // What is still queued goes out, then everything under way arrives.
    while (mosquitto_want_write(publisher))
        mosquitto_loop(publisher, 100, 1);
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const Clock::time_point drainUntil = Clock::now() + kSettleTime;
    while (Clock::now() < drainUntil) {
        ::poll(&polled[1], 1, 100);
        subscriber.Read();
    }
    subscriber.Stop();
    result.subscriberReceived = subscriber.lines();
    mosquitto_disconnect(publisher);
    mosquitto_destroy(publisher);
    return result;
}

/// Asks the server to end and waits until it has.
void StopServer(int pid)
{
    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0 || ::kill(pid, SIGTERM) != 0)
        throw BenchError(SystemError("stop the server"));
    pollfd gone{pidfd, POLLIN, 0};
    const int ended = ::poll(&gone, 1, kStopTimeoutMs);
    ::close(pidfd);
    if (ended <= 0)
        throw BenchError("the server did not end within " + std::to_string(kStopTimeoutMs / 1000) + " s");
}

/// The totals the server logged at its end for each input, by input name.
std::map<std::string, std::map<std::string, unsigned long long>> ReadTotals(const std::string& logFile)
{
    std::ifstream log(logFile);
    std::map<std::string, std::map<std::string, unsigned long long>> totals;
    const std::regex totalsLine(R"(^([^:]+): (\d+ messages, .*)$)");
    const std::regex count(R"((\d+) ([a-z ]+))");
    std::string line;
    while (std::getline(log, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, totalsLine))
            continue;
        auto& input = totals[match[1]];
        const std::string counts = match[2];
        for (auto it = std::sregex_iterator(counts.begin(), counts.end(), count); it != std::sregex_iterator(); ++it)
            input[(*it)[2]] = std::stoull((*it)[1]);
    }
    return totals;
}

double ParseDouble(const char* option, const char* text, double lowest = 0, bool lowestAllowed = false)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > lowest || (lowestAllowed && value == lowest)))
        throw BenchError(std::string(option) + ": not a number " + (lowestAllowed ? "of 0 or more" : "above 0") + ": "
                         + text);
    return value;
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--server-pid")
            options.serverPid = int(ParseDouble(argv[i], value));
        else if (option == "--server-port")
            options.serverPort = int(ParseDouble(argv[i], value));
        else if (option == "--log-file")
            options.logFile = value;
        else if (option == "--line-udp")
            options.lineUdpPort = int(ParseDouble(argv[i], value));
        else if (option == "--broker")
            options.brokerPort = int(ParseDouble(argv[i], value));
        else if (option == "--duration")
            options.durationSeconds = ParseDouble(argv[i], value);
        else if (option == "--lines-per-second")
            options.linesPerSecond = long(ParseDouble(argv[i], value));
        else if (option == "--datagram-bytes")
            options.datagramBytes = int(ParseDouble(argv[i], value));
        else if (option == "--mqtt-duration")
            options.mqttDurationSeconds = ParseDouble(argv[i], value);
        else if (option == "--messages-per-second")
            options.messagesPerSecond = long(ParseDouble(argv[i], value));
        else if (option == "--clients")
            options.clients = int(ParseDouble(argv[i], value, 0, true));
        else if (option == "--requests-per-second")
            options.requestsPerSecond = int(ParseDouble(argv[i], value));
        else
            throw BenchError("unknown option " + std::string(option));
    }
    if (argc % 2 == 0)
        throw BenchError("every option needs a value");
    if (options.serverPid <= 0 || options.serverPort <= 0 || options.lineUdpPort <= 0)
        throw BenchError("usage: bench_ingest --server-pid PID --server-port N --line-udp PORT [--log-file PATH] "
                         "[--broker PORT] [--duration S] ...");
    return options;
}

const char* Verdict(bool met)
{
    return met ? "PASS" : "FAIL";
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = ParseOptions(argc, argv);
        std::printf("line protocol over UDP: %ld lines/s of %d fields in datagrams of up to %d bytes for %.0f s; "
                    "%d TCP clients asking for samples %d times a second\n",
                    options.linesPerSecond, kFieldsPerLine, options.datagramBytes, options.durationSeconds,
                    options.clients, options.requestsPerSecond);
        std::fflush(stdout);
        const LineResult lines = RunLineLoad(options);
        if (options.logFile.empty()) {
            // A load for another benchmark: the server goes on.
            std::printf("%ld lines sent in %.1f s\n", lines.lines, lines.seconds);
            return EXIT_SUCCESS;
        }
        const unsigned long long socketDrops = UdpSocketDrops(options.lineUdpPort);
        MqttResult mqtt;
        if (options.brokerPort > 0) {
            std::printf("MQTT: %ld messages/s for %.0f s, QoS 0, to %d topics; mosquitto_sub on the same broker\n",
                        options.messagesPerSecond, options.mqttDurationSeconds, kTopics);
            std::fflush(stdout);
            mqtt = RunMqttLoad(options);
        }
        StopServer(options.serverPid);
        auto totals = ReadTotals(options.logFile);

        auto& udp = totals["Line protocol over UDP"];
        const unsigned long long valuesSent = (unsigned long long)(lines.lines) * kFieldsPerLine;
        const double cpuShare = lines.serverCpuSeconds / lines.seconds;
        std::printf("\n| lines sent | datagrams | values sent | values counted | parse errors | kernel drops (server / "
                    "/proc/net/udp) | server CPU, share of one core | samples answered |\n");
        std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
        std::printf("| %ld | %ld | %llu | %llu | %llu | %llu / %llu | %.2f | %ld (%.0f/s) |\n", lines.lines,
                    lines.datagrams, valuesSent, udp["values"], udp["parse errors"], udp["kernel drops"], socketDrops,
                    cpuShare, lines.answers, double(lines.answers) / lines.seconds);
        const bool noneLost = udp["values"] == valuesSent && udp["kernel drops"] == 0 && socketDrops == 0;
        std::printf("\nvalues counted = values sent, kernel drops 0: %s\n", Verdict(noneLost));
        std::printf("server CPU %.2f of one core (target <= %.1f): %s\n", cpuShare, kMaxCpuShare,
                    Verdict(cpuShare <= kMaxCpuShare));
        bool met = noneLost && cpuShare <= kMaxCpuShare;
        if (options.brokerPort > 0) {
            const unsigned long long received = totals["MQTT"]["messages"];
            const double ratio = mqtt.subscriberReceived > 0 ? double(received) / double(mqtt.subscriberReceived) : 0;
            std::printf("\n| MQTT messages published | received by vexalink | received by mosquitto_sub | ratio |\n");
            std::printf("|---:|---:|---:|---:|\n");
            std::printf("| %ld (%.0f/s) | %llu | %ld | %.3f |\n", mqtt.published, double(mqtt.published) / mqtt.seconds,
                        received, mqtt.subscriberReceived, ratio);
            std::printf("\nvexalink / mosquitto_sub %.3f (target >= %.1f): %s\n", ratio, kMinMqttRatio,
                        Verdict(ratio >= kMinMqttRatio));
            met = met && ratio >= kMinMqttRatio;
        }
        return met ? EXIT_SUCCESS : EXIT_FAILURE;
    } catch (const BenchError& error) {
        std::fprintf(stderr, "bench_ingest: %s\n", error.what());
        return 2;
    }
}
