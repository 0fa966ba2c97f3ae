#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vexa {

/// The recently used display files, kept in the settings file under "File1"
/// (the most recent) to "File9" of section "VEXA-Display", and the command
/// identifiers of their menu items.
class RecentFiles {
public:
    static constexpr int kMaxEntries = 9;
    static constexpr int kFirstCommandId = 1025;
    static constexpr const char* kSection = "VEXA-Display";

    /// A menu item of the recent-files part of the File menu.
    struct MenuItem {
        int commandId = 0;
        QString text;  ///< "&n path", with any "&" of the path doubled
        std::string path;
    };

    using FileExists = std::function<bool(const std::string& path)>;

    explicit RecentFiles(std::string settingsFile);

    /// Deletes the entries whose file no longer exists and numbers the others
    /// densely from "File1" in their old order.
    void cleanUp(const FileExists& exists);
    void cleanUp();

    /// Puts \p path first; an equal entry (compared exactly) moves to the
    /// front, and the oldest entry goes when all nine are taken.
    void add(const std::string& path);

    /// The stored paths, most recent first.
    std::vector<std::string> entries() const;

    /// The menu items for the stored entries, each under the lowest free
    /// identifier above 1024 that is not in \p usedIds. The identifiers are
    /// remembered for commandPath().
    std::vector<MenuItem> buildMenu(std::set<int> usedIds);

    /// The path of the entry whose menu item has \p commandId, or nothing when
    /// the identifier belongs to no recent-file item.
    std::optional<std::string> commandPath(int commandId) const;

    const std::string& settingsFile() const { return m_settingsFile; }

private:
    void store(const std::vector<std::string>& paths);

    std::string m_settingsFile;
    std::array<int, kMaxEntries> m_commandIds{};
    std::array<std::string, kMaxEntries> m_commandPaths{};
};

}  // namespace vexa
