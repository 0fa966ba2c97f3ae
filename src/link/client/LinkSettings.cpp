#include "LinkSettings.h"

#include "document/ProfileStore.h"

#include <string>

namespace vexa::link {

namespace {

/// What "DataSource" reads as when the file has none; it lies outside the
/// known sources and so becomes the local path.
constexpr int kNoSourceValue = 0;
/// The host is read as into a buffer of 50 characters.
constexpr std::size_t kHostBufferSize = kMaxHostLength + 1;

bool IsKnownSource(int source)
{
    return source >= kSourceDde && source <= kSourceNone;
}

}  // namespace

LinkSettings LoadLinkSettings(const std::string& settingsFile)
{
    LinkSettings settings;
    const int source = profile::ReadInt(kLinkSection, kSourceKey, kNoSourceValue, settingsFile);
    settings.source = IsKnownSource(source) ? source : kSourceDde;
    if (settings.source == kSourceEthernet) {
        // Only the low 16 bits of whatever number the file holds make the port,
        // as with any 16-bit port field.
        const int port = profile::ReadInt(kLinkSection, kPortKey, kDefaultPort, settingsFile);
        settings.port = static_cast<std::uint16_t>(static_cast<unsigned>(port));
        settings.host = profile::ReadString(kLinkSection, kHostKey, kDefaultHost, settingsFile,
                                            kHostBufferSize);
    }
    return settings;
}

bool StoreLinkSettings(const LinkSettings& settings, const std::string& settingsFile)
{
    if (!profile::WriteString(kLinkSection, kSourceKey, std::to_string(settings.source), settingsFile))
        return false;
    if (settings.source != kSourceEthernet)
        return true;
    const std::string host = settings.host.substr(0, kMaxHostLength);
    return profile::WriteString(kLinkSection, kPortKey, std::to_string(settings.port), settingsFile) &&
           profile::WriteString(kLinkSection, kHostKey, host, settingsFile);
}

}  // namespace vexa::link
