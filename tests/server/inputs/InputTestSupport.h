#pragma once

#include "server/engine/ServerLog.h"
#include "server/inputs/ValueSink.h"
#include "support/RawTcpClient.h"
#include "support/RawTcpListener.h"
#include "support/RawUdp.h"
#include "support/ServerProcess.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cmath>
#include <functional>
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
/// The double of the eight bytes \p value, as a sample carries it.
double Number(const QByteArray& value);
/// True when the eight bytes \p value are a NaN.
inline bool IsNan(const QByteArray& value)
{
    return std::isnan(Number(value));
}

/// A client of the server's TCP path, as the display program is: it sends
/// a layout and asks for samples, blocking up to a time-out for each answer.
class SampleClient {
public:
    explicit SampleClient(int port);

    /// Sends the layout of \p names under \p path.
    bool SendLayout(const QByteArray& path, const QList<QByteArray>& names);
    /// The values of one sample, eight bytes each; empty when no whole
    /// answer came.
    std::vector<QByteArray> Sample();
    /// The time of day of the last sample, in seconds.
    double timeOfDay() const { return m_timeOfDay; }
    /// Asks for samples until \p done holds for one, for up to \p timeoutMs.
    bool WaitFor(const std::function<bool(const std::vector<QByteArray>& values)>& done, int timeoutMs);

private:
    vexa::test::RawTcpClient m_client;
    int m_count = 0;
    double m_timeOfDay = 0.0;
};

/// Asks \p client for samples until one carries exactly \p expected, for up
/// to \p timeoutMs; a failure names each value of the last sample that
/// differs, by its bytes.
void ExpectSampleBecomes(SampleClient& client, const std::vector<QByteArray>& expected, int timeoutMs);

using vexa::test::FreeUdpPort;
/// Sends \p datagram to \p port on the loopback interface.
inline bool SendDatagram(int port, const QByteArray& datagram)
{
    return vexa::test::SendLoopbackDatagram(port, datagram);
}

}  // namespace vexa::server::test
