#include "platform/SettingsLocation.h"

#include "ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>

namespace vexa {
namespace {

/// The permission bits of \p path, or -1 when it is not a directory.
int DirectoryMode(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

TEST(SettingsLocation, UsesXdgConfigHomeAndCreatesItPrivately)
{
    test::ScratchDir scratch;
    const std::string config = scratch.path("a/b/config");
    test::ScopedEnvironment xdg("XDG_CONFIG_HOME", QByteArray::fromStdString(config));

    EXPECT_EQ(SettingsFilePath(), config + "/VexaDisplay.ini");
    EXPECT_EQ(DirectoryMode(config), 0700);
    EXPECT_EQ(DirectoryMode(scratch.path("a")), 0700);
}

TEST(SettingsLocation, TrailingSlashOfXdgConfigHomeIsNotDoubled)
{
    test::ScratchDir scratch;
    test::ScopedEnvironment xdg("XDG_CONFIG_HOME", QByteArray::fromStdString(scratch.path("c/")));
    EXPECT_EQ(SettingsFilePath(), scratch.path("c/VexaDisplay.ini"));
}

TEST(SettingsLocation, FallsBackToDotConfigInHomeWithoutAnAbsoluteXdgConfigHome)
{
    const struct {
        const char* label;
        std::optional<QByteArray> xdg;
    } cases[] = {
        {"unset", std::nullopt},
        {"empty", QByteArray("")},
        {"relative", QByteArray("relative/config")},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.label);
        test::ScratchDir home;
        test::ScopedEnvironment homeVariable("HOME", QByteArray::fromStdString(home.path("user")));
        test::ScopedEnvironment xdg("XDG_CONFIG_HOME", each.xdg);

        EXPECT_EQ(SettingsFilePath(), home.path("user/.config/VexaDisplay.ini"));
        EXPECT_EQ(DirectoryMode(home.path("user/.config")), 0700);
    }
}

TEST(SettingsLocation, ExistingDirectoryKeepsItsPermissions)
{
    test::ScratchDir scratch;
    const std::string config = scratch.path("shared");
    ASSERT_EQ(::mkdir(config.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(config.c_str(), 0755), 0);
    test::ScopedEnvironment xdg("XDG_CONFIG_HOME", QByteArray::fromStdString(config));

    EXPECT_EQ(SettingsFilePath(), config + "/VexaDisplay.ini");
    EXPECT_EQ(DirectoryMode(config), 0755);
}

}  // namespace
}  // namespace vexa
