#pragma once

#include <string>

namespace vexa::server {

/// The server's two settings, kept in their own section of the settings file
/// that it shares with the display program. Both act only from the server's
/// next start.
class ServerSettings {
public:
    static constexpr const char* kSection = "VEXA-Com";
    static constexpr const char* kDataPathKey = "DataPath";
    static constexpr const char* kPortKey = "Port";
    /// The data path when the file names none: DDE.
    static constexpr int kDefaultDataPath = 109;
    static constexpr int kDefaultPort = 1000;

    /// The settings kept in \p file.
    explicit ServerSettings(std::string file);

    const std::string& file() const { return m_file; }

    /// The "DataPath" value: 109 DDE, 110 TCP/IP, or whatever else the file holds.
    int dataPath() const;
    /// Writes "DataPath"; false when the file could not be written.
    bool setDataPath(int dataPath);

    /// The "Port" value, the TCP port to listen on.
    int port() const;
    /// Writes "Port"; false when the file could not be written.
    bool setPort(int port);

private:
    bool WriteNumber(const char* key, int value);

    std::string m_file;
};

}  // namespace vexa::server
