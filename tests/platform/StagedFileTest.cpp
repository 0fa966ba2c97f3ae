#include "platform/StagedFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace vexa {
namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::size_t EntryCount(const std::string& directory)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory))
        ++count;
    return count;
}

TEST(StagedFile, ReplacesTheTargetOnlyOnCommitAndKeepsItsPermissions)
{
    test::ScratchDir dir;
    const std::string target = dir.path("data.ini");
    test::WriteFileBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    {
        StagedFile abandoned(target);
        EXPECT_EQ(abandoned.write("never"), 0);
        EXPECT_EQ(EntryCount(dir.path()), 2u);
    }
    EXPECT_EQ(test::ReadFileBytes(target), "old");
    EXPECT_EQ(EntryCount(dir.path()), 1u) << "an uncommitted file leaves nothing behind";

    StagedFile staged(target);
    staged.setModeForNewFile(0600);  // does not apply: the target exists
    EXPECT_EQ(staged.write("new"), 0);
    EXPECT_EQ(staged.commit(), 0);
    EXPECT_EQ(test::ReadFileBytes(target), "new");
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(StagedFile, NewFilesAndTargetsThatCannotBeReplaced)
{
    test::ScratchDir dir;
    StagedFile fresh(dir.path("fresh.ini"));
    fresh.setModeForNewFile(0604);
    EXPECT_EQ(fresh.write("x"), 0);
    EXPECT_EQ(fresh.commit(), 0);
    EXPECT_EQ(ModeOf(dir.path("fresh.ini")), 0604u);

    std::filesystem::create_directory(dir.path("folder"));
    StagedFile folder(dir.path("folder"));
    EXPECT_EQ(folder.error(), EISDIR);
    EXPECT_EQ(folder.write("x"), EISDIR);
    EXPECT_EQ(folder.commit(), EISDIR);

    StagedFile nowhere(dir.path("missing/file.ini"));
    EXPECT_EQ(nowhere.error(), ENOENT);
    EXPECT_EQ(nowhere.commit(), ENOENT);
}

}  // namespace
}  // namespace vexa
