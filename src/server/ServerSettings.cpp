#include "server/ServerSettings.h"

#include "document/ProfileStore.h"
#include "server/engine/DataPath.h"

#include <string>
#include <utility>

namespace vexa::server {

static_assert(ServerSettings::kDefaultDataPath == kDataPathDde);

ServerSettings::ServerSettings(std::string file) : m_file(std::move(file)) {}

int ServerSettings::dataPath() const
{
    return profile::ReadInt(kSection, kDataPathKey, kDefaultDataPath, m_file);
}

bool ServerSettings::setDataPath(int dataPath)
{
    return WriteNumber(kDataPathKey, dataPath);
}

int ServerSettings::port() const
{
    return profile::ReadInt(kSection, kPortKey, kDefaultPort, m_file);
}

bool ServerSettings::setPort(int port)
{
    return WriteNumber(kPortKey, port);
}

bool ServerSettings::WriteNumber(const char* key, int value)
{
    // std::to_string of an int is its "%d" form.
    return profile::WriteString(kSection, key, std::to_string(value), m_file);
}

}  // namespace vexa::server
