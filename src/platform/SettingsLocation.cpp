#include "SettingsLocation.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vexa {

namespace {

/// Settings can hold paths of the user's files, so a configuration
/// directory we create is private to the user.
constexpr mode_t kNewDirectoryMode = 0700;

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string HomeDirectory()
{
    std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
            home = entry->pw_dir;
    }
    return home;
}

/// The configuration directory. A relative XDG_CONFIG_HOME is invalid and
/// ignored, as the base-directory rules demand.
std::string ConfigDirectory()
{
    const std::string configured = EnvironmentValue("XDG_CONFIG_HOME");
    if (!configured.empty() && configured.front() == '/')
        return configured;
    return HomeDirectory() + "/.config";
}

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

/// mkdir -p: creates every missing directory of \p path. A failure is left
/// to show when the settings file is written.
void MakeDirectories(const std::string& path)
{
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string prefix = path.substr(0, end);
        const bool made = ::mkdir(prefix.c_str(), kNewDirectoryMode) == 0;
        if (!made && errno != EEXIST && !IsDirectory(prefix))
            return;
        if (end == std::string::npos)
            return;
    }
}

}  // namespace

std::string SettingsFilePath()
{
    std::string directory = ConfigDirectory();
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    if (!IsDirectory(directory))
        MakeDirectories(directory);
    const bool isRoot = directory == "/";
    return directory + (isRoot ? "" : "/") + kSettingsFileName;
}

}  // namespace vexa
