// Feeds arbitrary bytes to the server's stream dispatch and layout parser,
// cut into reads of arbitrary sizes, the way a TCP connection delivers them.
// The first bytes of each input choose the read sizes.

#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"
#include "server/StreamDispatch.h"
#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"
#include "server/engine/ServerLog.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class DiscardingLog : public vexa::server::ServerLog {
public:
    void LogLine(const QString& text) override { m_characters += std::size_t(text.size()); }

private:
    std::size_t m_characters = 0;
};

int g_argc = 1;
char g_name[] = "fuzz_stream_dispatch";
char* g_argv[] = {g_name, nullptr};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static QCoreApplication application(g_argc, g_argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vexa;
    if (size < 2) {
        return 0;
    }
    DiscardingLog log;
    server::SampleEngine engine(log, data[0] % 2 ? server::kDataPathDde : server::kDataPathTcpIp);
    engine.setVerbose(data[1] & 1);
    engine.SeedRandom(1);
    link::TcpMessageFramer framer(link::kServerLayoutNames);
    std::size_t answered = 0;
    const server::AnswerSender send = [&answered](QByteArrayView answer) {
        // Every answer is the time and one value per name in force.
        if (answer.size() < link::SampleBytesFor(0) || answer.size() > link::kServerSampleBytes ||
            (answer.size() - link::SampleBytesFor(0)) % 8 != 0) {
            std::abort();
        }
        answered += std::size_t(answer.size());
        return (answered & 1) == 0;
    };

    const std::uint8_t* bytes = data + 2;
    std::size_t left = size - 2;
    const std::size_t readSize = std::size_t(data[1] >> 1) * 97 + 1;
    while (left > 0) {
        const std::size_t chunk = std::min({left, readSize, std::size_t(framer.room())});
        framer.append(reinterpret_cast<const char*>(bytes), qint64(chunk));
        bytes += chunk;
        left -= chunk;
        server::DispatchMessages(framer, engine, log, send);
        if (framer.pending() > framer.capacity() || !engine.layout().isCountValid()) {
            std::abort();
        }
        engine.FastTick();
    }

    // The same bytes as a poke of the layout on the local bus.
    engine.ReceiveLayout(reinterpret_cast<const char*>(data), qint64(size));
    engine.SampleStep();
    engine.ListMeasurements();
    engine.MeasurementInformation();
    if (!engine.layout().isCountValid() || engine.SampleBytes().size() > link::kServerSampleBytes) {
        std::abort();
    }
    return 0;
}
