// Feeds arbitrary bytes to the line protocol parser: once whole, as a
// datagram brings them, and once through the line gatherer of a TCP
// connection in reads of a size the first byte chooses.

#include "FuzzSupport.h"

#include "server/inputs/LineAssembler.h"
#include "server/inputs/LineProtocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vexa;
    if (size < 1)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    fuzz::CheckingSink whole;
    whole.Check(server::ParseLineProtocol(bytes, whole));

    fuzz::CheckingSink streamed;
    server::ParseCounts counts;
    server::LineAssembler lines;
    const server::LineAssembler::LinesHandler parse = [&](std::string_view complete) {
        counts += server::ParseLineProtocol(complete, streamed);
    };
    const std::size_t readSize = std::size_t(data[0]) * 37 + 1;
    for (std::size_t at = 0; at < bytes.size(); at += readSize)
        counts.oversize += lines.Append(bytes.substr(at, std::min(readSize, bytes.size() - at)), parse);
    lines.Finish(parse);
    streamed.Check(counts);
    // However the bytes came, the same lines hold the same values, unless a
    // line was over the limit (gathered, it is dropped; whole, it is counted).
    if (counts.oversize == 0 && streamed.values() != whole.values())
        std::abort();
    return 0;
}
