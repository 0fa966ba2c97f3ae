#include "RecentFiles.h"

#include "DisplayFormat.h"
#include "ProfileStore.h"
#include "ProfileWriteBatch.h"

#include "platform/AnsiText.h"

#include <algorithm>
#include <filesystem>

namespace vexa {

namespace {

std::string EntryKey(int number)
{
    return NumberedKey("File", number);
}

}  // namespace

RecentFiles::RecentFiles(std::string settingsFile) : m_settingsFile(std::move(settingsFile)) {}

std::vector<std::string> RecentFiles::entries() const
{
    std::vector<std::string> paths;
    for (int n = 1; n <= kMaxEntries; ++n) {
        std::string path = profile::ReadString(kSection, EntryKey(n), "", m_settingsFile);
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    }
    return paths;
}

void RecentFiles::store(const std::vector<std::string>& paths)
{
    const ProfileWriteBatch batch(m_settingsFile);
    for (int n = 1; n <= kMaxEntries; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const std::string stored = profile::ReadString(kSection, EntryKey(n), "", m_settingsFile);
        if (i < paths.size()) {
            if (stored != paths[i])
                profile::WriteString(kSection, EntryKey(n), paths[i], m_settingsFile);
        } else if (!stored.empty()) {
            profile::DeleteKey(kSection, EntryKey(n), m_settingsFile);
        }
    }
}

void RecentFiles::cleanUp(const FileExists& exists)
{
    std::vector<std::string> paths = entries();
    std::erase_if(paths, [&](const std::string& path) { return !exists(path); });
    store(paths);
}

void RecentFiles::cleanUp()
{
    cleanUp([](const std::string& path) {
        std::error_code ignored;
        return std::filesystem::exists(path, ignored);
    });
}

void RecentFiles::add(const std::string& path)
{
    if (path.empty())
        return;
    std::vector<std::string> paths = entries();
    std::erase(paths, path);
    paths.insert(paths.begin(), path);
    if (paths.size() > kMaxEntries)
        paths.resize(kMaxEntries);
    store(paths);
}

std::vector<RecentFiles::MenuItem> RecentFiles::buildMenu(std::set<int> usedIds)
{
    m_commandIds.fill(0);
    m_commandPaths.fill({});
    std::vector<MenuItem> items;
    const std::vector<std::string> paths = entries();
    int candidate = kFirstCommandId;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        while (usedIds.count(candidate) != 0)
            ++candidate;
        usedIds.insert(candidate);
        QString shown = FromLocalPath(paths[i]);
        shown.replace("&", "&&");
        items.push_back({candidate, QString("&%1 %2").arg(i + 1).arg(shown), paths[i]});
        m_commandIds[i] = candidate;
        m_commandPaths[i] = paths[i];
    }
    return items;
}

std::optional<std::string> RecentFiles::commandPath(int commandId) const
{
    for (std::size_t i = 0; i < m_commandIds.size(); ++i) {
        if (m_commandIds[i] != 0 && m_commandIds[i] == commandId)
            return m_commandPaths[i];
    }
    return std::nullopt;
}

}  // namespace vexa
