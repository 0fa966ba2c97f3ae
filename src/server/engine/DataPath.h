#pragma once

#include <QString>

namespace vexa::server {

/// The server's data path setting; the values are the identifiers of the
/// menu items that choose them, and the settings file may hold any other
/// number, which starts no transport.
constexpr int kDataPathDde = 109;
constexpr int kDataPathTcpIp = 110;

/// The word that names the transport in log lines: "DDE" for the local bus,
/// "Ethernet" for everything else.
inline QString TransportLabel(int dataPath)
{
    return dataPath == kDataPathDde ? QStringLiteral("DDE") : QStringLiteral("Ethernet");
}

}  // namespace vexa::server
