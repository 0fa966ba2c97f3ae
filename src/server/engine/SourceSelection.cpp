#include "server/engine/SourceSelection.h"

#include "server/engine/SignalGenerators.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vexa::server {

namespace {

constexpr qsizetype kKeyLength = 8;
constexpr char kSimulateKey[] = "SIMULATE";
constexpr qsizetype kPrefixLength = 3;

constexpr std::array<std::pair<const char*, int>, SignalGenerators::kCount> kPrefixes{{
    {"COS", SignalGenerators::kCosine},
    {"SIN", SignalGenerators::kSine},
    {"SQR", SignalGenerators::kSquare},
    {"TRI", SignalGenerators::kTriangle},
    {"SAW", SignalGenerators::kSawtooth},
    {"RAN", SignalGenerators::kRandom},
}};

}  // namespace

QByteArray SimulateKey(const QByteArray& mvxPath)
{
    // A "." in a directory name must not cut the key short, so only the file
    // name is looked at.
    const qsizetype separator = std::max(mvxPath.lastIndexOf('/'), mvxPath.lastIndexOf('\\'));
    const QByteArray fileName = mvxPath.mid(separator + 1);
    const qsizetype dot = fileName.indexOf('.');
    const QByteArray stem = dot < 0 ? fileName : fileName.left(dot);
    if (stem.size() < kKeyLength)
        return {};
    return stem.right(kKeyLength);
}

bool IsSimulatePath(const QByteArray& mvxPath)
{
    return SimulateKey(mvxPath).compare(kSimulateKey, Qt::CaseInsensitive) == 0;
}

int SourceForName(const QByteArray& name)
{
    const QByteArray prefix = name.left(kPrefixLength);
    for (const auto& [letters, source] : kPrefixes) {
        if (prefix.compare(letters, Qt::CaseInsensitive) == 0)
            return source;
    }
    return kRandomDrawSource;
}

}  // namespace vexa::server
