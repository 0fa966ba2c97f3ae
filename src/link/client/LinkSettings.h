#pragma once

#include <cstdint>
#include <string>

namespace vexa::link {

/// Where the display program's data come from. The numbers are also the
/// identifiers of the data source dialog's radio buttons and the values of
/// the "DataSource" setting.
enum DataSource : int {
    kSourceDde = 249,
    kSourceEthernet = 250,
    kSourceNone = 251,
};

/// The settings section of the display program's data source.
inline constexpr const char* kLinkSection = "VEXA Display";
inline constexpr const char* kSourceKey = "DataSource";
inline constexpr const char* kHostKey = "Host";
inline constexpr const char* kPortKey = "Port";
inline constexpr const char* kDefaultHost = "localhost";
inline constexpr std::uint16_t kDefaultPort = 1000;
/// The longest host name kept.
inline constexpr std::size_t kMaxHostLength = 49;

/// The data source, and the Ethernet host and port.
struct LinkSettings {
    int source = kSourceDde;
    std::string host = kDefaultHost;
    std::uint16_t port = kDefaultPort;
    bool operator==(const LinkSettings&) const = default;
};

/// Reads "DataSource" (any value but 249 to 251, or none, is DDE), and for
/// Ethernet "Port" (its low 16 bits) and "Host" (cut at 49 characters).
LinkSettings LoadLinkSettings(const std::string& settingsFile);

/// Writes "DataSource", and for Ethernet also "Port" and "Host". False when
/// the file could not be written.
bool StoreLinkSettings(const LinkSettings& settings, const std::string& settingsFile);

}  // namespace vexa::link
