#pragma once

#include <QByteArray>

namespace vexa::test {

/// A UDP port on the loopback interface that nothing uses at the time of
/// asking.
int FreeUdpPort();

/// Sends \p datagram to \p port on the loopback interface; false when it
/// could not be sent whole.
bool SendLoopbackDatagram(int port, const QByteArray& datagram);

}  // namespace vexa::test
