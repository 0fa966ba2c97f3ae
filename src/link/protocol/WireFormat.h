#pragma once

#include <QByteArray>
#include <QLatin1StringView>

#include <cstddef>
#include <cstdint>

/// The sizes, message bytes and names of the protocol between the display
/// program and the data server, shared by both programs.
namespace vexa::link {

/// Width of one measurement name field: 32 characters and a NUL.
constexpr int kNameBytes = 33;
/// Width of the measurement file path field: 259 characters and a NUL.
constexpr int kPathBytes = 260;
/// The path and the count together fill exactly eight name fields.
constexpr int kHeaderNameSlots = 8;
constexpr int kLayoutHeaderBytes = kHeaderNameSlots * kNameBytes;  // 264
constexpr int kCountOffset = kPathBytes;
/// Longest text a name field can carry.
constexpr int kMaxNameLength = kNameBytes - 1;
/// Longest text the path field can carry.
constexpr int kMaxPathLength = kPathBytes - 1;

/// The display program's layout block has room for 480 names; its name list
/// takes at most 479.
constexpr int kDisplayLayoutNames = 480;
/// The server keeps one layout block with room for 600 names.
constexpr int kServerLayoutNames = 600;

/// Bytes of a layout block or layout message body holding \p names names.
constexpr int LayoutBytesFor(int names) { return (names + kHeaderNameSlots) * kNameBytes; }
/// Bytes of a data sample holding \p values values.
constexpr int SampleBytesFor(int values) { return 8 + 8 * values; }

constexpr int kDisplayLayoutBytes = LayoutBytesFor(kDisplayLayoutNames);  // 16104
constexpr int kServerLayoutBytes = LayoutBytesFor(kServerLayoutNames);    // 20064
constexpr int kDisplaySampleBytes = SampleBytesFor(kDisplayLayoutNames);  // 3848
constexpr int kServerSampleBytes = SampleBytesFor(kServerLayoutNames);    // 4808

/// The command bytes of the TCP stream.
constexpr char kSampleRequest = '?';
constexpr char kLayoutCommand = 'M';

/// The most the server reads from one connection in one go.
constexpr int kServerReadLimit = kServerLayoutBytes - 1;  // 20063

/// The opaque format number of every transfer on the local bus.
constexpr std::uint32_t kTransferFormat = 128;
/// The acknowledgement of a poke that was processed.
constexpr std::uint32_t kPokeAcknowledged = 0x8000;

/// The conversation names, compared without regard to case.
inline constexpr QLatin1StringView kServiceName{"VEXA-Com"};
inline constexpr QLatin1StringView kTopicName{"VEXA-Display"};
/// The display program spells its topic this way.
inline constexpr QLatin1StringView kClientTopicName{"Vexa-Display"};
inline constexpr QLatin1StringView kControlItem{"VEXAControl"};
inline constexpr QLatin1StringView kDataItem{"VEXAData"};

/// Where the server is found on the session bus.
inline constexpr QLatin1StringView kBusName{"org.vexa.Com"};
inline constexpr QLatin1StringView kBusPath{"/org/vexa/Com"};
inline constexpr QLatin1StringView kBusInterface{"org.vexa.Dde"};
inline constexpr QLatin1StringView kBusRefusedError{"org.vexa.Dde.Error.Refused"};
inline constexpr QLatin1StringView kBusNoDataError{"org.vexa.Dde.Error.NoData"};

/// The server's window title, by whose presence marker the display program
/// knows that a server runs.
inline constexpr QLatin1StringView kServerWindowTitle{"VEXA-Display Data Server"};

/// Little-endian field access, the same on every host.
std::int32_t ReadInt32(const char* bytes);
void WriteInt32(char* bytes, std::int32_t value);
double ReadDouble(const char* bytes);
void WriteDouble(char* bytes, double value);

/// The text of a NUL-terminated field of \p width bytes: up to its first NUL,
/// and never more than width - 1 characters when it has none.
QByteArray ReadTextField(const char* field, int width);
/// Writes \p text into a field of \p width bytes, cut at width - 1
/// characters and zero-padded.
void WriteTextField(char* field, int width, const QByteArray& text);

/// True when \p a and \p b name the same conversation name.
bool SameDdeName(const QString& a, QLatin1StringView b);

}  // namespace vexa::link
