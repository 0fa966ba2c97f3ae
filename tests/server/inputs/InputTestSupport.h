#pragma once

#include "server/engine/ServerLog.h"
#include "server/inputs/ValueSink.h"

#include <QByteArray>
#include <QStringList>

#include <cmath>
#include <string>
#include <vector>

namespace vexa::server::test {

/// One value a parser handed on.
struct SunkValue {
    std::string name;
    double value = 0.0;
    double sourceTime = 0.0;

    /// Same name, same bits of value and the same time (NaN equal to NaN).
    bool operator==(const SunkValue& other) const;
};

void PrintTo(const SunkValue& value, std::ostream* os);

/// A sink that keeps every value.
class RecordingSink : public ValueSink {
public:
    void Value(std::string_view name, double value, double sourceTime) override;
    std::vector<SunkValue> values;
};

/// A log that keeps every text.
class TextLog : public ServerLog {
public:
    void LogLine(const QString& text) override { texts.append(text); }
    QStringList texts;
};

/// The eight bytes of \p value, for byte-exact comparisons.
QByteArray DoubleBytes(double value);

/// Sends \p datagram to \p port on the loopback interface; false when it
/// could not be sent.
bool SendDatagram(int port, const QByteArray& datagram);
/// A free loopback UDP port at the time of asking.
int FreeUdpPort();

}  // namespace vexa::server::test
