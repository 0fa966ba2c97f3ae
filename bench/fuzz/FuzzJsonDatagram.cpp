// Feeds arbitrary bytes to the JSON input as one datagram.

#include "FuzzSupport.h"

#include "server/inputs/JsonFlatten.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vexa;
    fuzz::CheckingSink sink;
    const server::ParseCounts counts =
        server::ParseJsonDatagram(std::string_view(reinterpret_cast<const char*>(data), size), sink);
    sink.Check(counts);
    // A datagram is one message, taken whole or refused whole.
    if (counts.messages != 1 || (counts.errors == 1 && counts.values != 0))
        std::abort();
    return 0;
}
