#include "document/ProfileStore.h"
#include "document/ProfileWriteBatch.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace vexa::profile {
namespace {

using namespace std::string_literals;
using test::ReadFileBytes;
using test::ScratchDir;
using test::WriteFileBytes;

constexpr const char* kDefault = "<default>";

std::vector<std::string> DirectoryEntries(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    return names;
}

// A file as the system's profile functions write it.
const std::string kWindowsFile =
    "[W1]\r\n"
    "T=Coolant\r\n"
    "P=TimeHistory\r\n"
    "\r\n"
    "[  Spaced Name\t]\r\n"
    "  Key One\t=  value with blanks  \r\n"
    "Double=\"quoted\"\r\n"
    "Single='quoted'\r\n"
    "Mixed=\"quoted'\r\n"
    "Lone=\"\r\n"
    "Inner=a \"b\" c\r\n"
    "Empty=\r\n"
    "Blank=   \r\n"
    "\r\n"
    "[\xC4\xD6\x8A\xD7]\r\n"
    "k=latin\r\n"
    "\r\n"
    "[Dup]\r\n"
    "a=first\r\n"
    "a=second\r\n"
    "\r\n"
    "[dup]\r\n"
    "a=other section\r\n"
    "b=only in the second\r\n";

TEST(ProfileStore, ReadsFilesAsWindowsWritesThem)
{
    ScratchDir dir;
    const std::string file = dir.path("windows.dsp");
    WriteFileBytes(file, kWindowsFile);

    const struct {
        const char* section;
        const char* key;
        std::string expected;
    } cases[] = {
        {"W1", "T", "Coolant"},
        {"w1", "t", "Coolant"},
        {"W1", "p", "TimeHistory"},
        {"W1", "Missing", kDefault},
        {"W2", "T", kDefault},
        {"Spaced Name", "Key One", "value with blanks"},
        {"  spaced name ", " key one ", "value with blanks"},
        {"Spaced Name", "Double", "quoted"},
        {"Spaced Name", "Single", "quoted"},
        {"Spaced Name", "Mixed", "\"quoted'"},
        {"Spaced Name", "Lone", "\""},
        {"Spaced Name", "Inner", "a \"b\" c"},
        {"Spaced Name", "Empty", ""},
        {"Spaced Name", "Blank", ""},
        {"\xE4\xF6\x9A\xD7", "K", "latin"},
        {"\xE4\xF6\x9A\xF7", "K", kDefault},  // the multiplication sign has no lower case
        {"DUP", "A", "first"},
        {"Dup", "b", kDefault},  // only the first of duplicate sections counts
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.section) + " / " + each.key);
        EXPECT_EQ(ReadString(each.section, each.key, kDefault, file), each.expected);
    }
}

TEST(ProfileStore, ReadsDamagedAndUnusualFiles)
{
    const struct {
        const char* name;
        std::string contents;
        const char* section;
        const char* key;
        std::string expected;
    } cases[] = {
        {"CR only", "[S]\rk=v\rx=2\r", "S", "x", "2"},
        {"LF only", "[S]\nk=v\n", "S", "k", "v"},
        {"mixed ends", "[A]\r\na=1\r[S]\nk=v\n\rx=3", "S", "x", "3"},
        {"no final end", "[S]\r\nk=last", "S", "k", "last"},
        {"line without =", "[S]\r\nk\r\nk=v\r\n", "S", "k", "v"},
        {"only a line without =", "[S]\r\nk\r\n", "S", "k", kDefault},
        {"comment", "[S]\r\n;k=hidden\r\n", "S", ";k", kDefault},
        {"indented comment", "[S]\r\n  ;k=hidden\r\n", "S", ";k", kDefault},
        {"key before any section", "k=v\r\n[S]\r\n", "S", "k", kDefault},
        {"text after the header", "[S] ; note\r\nk=v\r\n", "S", "k", "v"},
        {"last bracket ends the name", "[a]b]\r\nk=v\r\n", "a]b", "k", "v"},
        {"unclosed bracket is no header", "[S]\r\n[k=v\r\n", "S", "[k", "v"},
        {"equals in the value", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        {"NUL inside a value", "[S]\r\nk=a\0b\r\n"s, "S", "k", "a\0b"s},
        {"8-bit bytes kept", "[S]\r\nk=\xE9\x80\xFF\r\n", "S", "k", "\xE9\x80\xFF"},
        {"binary junk around", "\x01\x02\xFF\0\r\n[S]\r\n\x7F\x80\r\nk=v\r\n"s, "S", "k", "v"},
        {"empty file", "", "S", "k", kDefault},
    };
    ScratchDir dir;
    int number = 0;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        const std::string file = dir.path("case" + std::to_string(++number) + ".ini");
        WriteFileBytes(file, each.contents);
        EXPECT_EQ(ReadString(each.section, each.key, kDefault, file), each.expected);
    }
    EXPECT_EQ(ReadString("S", "k", kDefault, dir.path("missing.ini")), kDefault);
}

TEST(ProfileStore, SurvivesATenMegabyteLine)
{
    constexpr std::size_t kLineBytes = 10 * 1024 * 1024;
    ScratchDir dir;
    const std::string file = dir.path("huge.ini");
    const std::string huge(kLineBytes, 'x');
    WriteFileBytes(file, "[S]\r\nk=" + huge + "\r\nnext=1\r\n");

    EXPECT_EQ(ReadString("S", "k", "", file).size(), huge.size());
    EXPECT_EQ(ReadString("S", "k", "", file, 4), "xxx");
    EXPECT_EQ(ReadInt("S", "next", 0, file), 1);
    ASSERT_TRUE(WriteString("S", "next", "2", file));
    EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=" + huge + "\r\nnext=2\r\n");
}

TEST(ProfileStore, CutsValuesToCapacityLessOne)
{
    ScratchDir dir;
    const std::string file = dir.path("cut.ini");
    WriteFileBytes(file, "[S]\r\nk=abcdef\r\nq=\"quoted\"\r\n");

    const struct {
        const char* key;
        std::size_t capacity;
        const char* expected;
    } cases[] = {
        {"k", 0, ""},          {"k", 1, ""},         {"k", 2, "a"},       {"k", 6, "abcde"},
        {"k", 7, "abcdef"},    {"k", 100, "abcdef"}, {"k", kUnbounded, "abcdef"},
        {"q", 4, "quo"},       {"absent", 4, "def"}, {"absent", 1, ""},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.key) + " capacity " + std::to_string(each.capacity));
        EXPECT_EQ(ReadString("S", each.key, "default", file, each.capacity), each.expected);
    }
}

TEST(ProfileStore, ReadIntAcceptsTheDecimalForms)
{
    constexpr int kDefaultNumber = -99;
    const struct {
        const char* value;  // nullptr: the key is absent
        int expected;
    } cases[] = {
        {"42", 42},
        {"  17", 17},
        {"\t5", 5},
        {"-7", -7},
        {"+3", 3},
        {"12abc", 12},
        {"1 2", 1},
        {"abc", 0},
        {"-", 0},
        {"0x10", 0},
        {"'42'", 42},
        {"\"-8\"", -8},
        {"99999999999", std::numeric_limits<int>::max()},
        {"-99999999999", std::numeric_limits<int>::min()},
        {"2147483647", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"", kDefaultNumber},
        {"   ", kDefaultNumber},
        {nullptr, kDefaultNumber},
    };
    ScratchDir dir;
    const std::string file = dir.path("numbers.ini");
    for (const auto& each : cases) {
        SCOPED_TRACE(each.value ? each.value : "absent");
        WriteFileBytes(file, each.value ? "[S]\r\nn=" + std::string(each.value) + "\r\n" : "[S]\r\nm=1\r\n");
        EXPECT_EQ(ReadInt("S", "n", kDefaultNumber, file), each.expected);
    }
    EXPECT_EQ(ReadInt("S", "n", kDefaultNumber, dir.path("missing.ini")), kDefaultNumber);
}

TEST(ProfileStore, WritesExactCrlfBytes)
{
    const struct {
        const char* name;
        std::string before;  // empty: no file
        std::function<bool(const std::string&)> write;
        std::string after;
    } cases[] = {
        {"creates the file", "",
         [](const std::string& f) { return WriteString("S", "k", "v", f); }, "[S]\r\nk=v\r\n"},
        {"replaces a value, keeps the rest, turns LF into CRLF", "[S]\nk=old\nx = 1 \n",
         [](const std::string& f) { return WriteString("S", "k", "new", f); }, "[S]\r\nk=new\r\nx = 1 \r\n"},
        {"keeps the key's own spelling", "[Sec]\r\n  Key = 1\r\n",
         [](const std::string& f) { return WriteString("SEC", "KEY", "2", f); }, "[Sec]\r\nKey=2\r\n"},
        {"adds a key after the last key line", "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n",
         [](const std::string& f) { return WriteString("a", "z", "3", f); },
         "[A]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n"},
        {"adds a key to a section without keys", "[A]\r\n\r\n[B]\r\n",
         [](const std::string& f) { return WriteString("A", "k", "v", f); }, "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        {"appends a section after a blank line", "[A]\r\nx=1\r\n",
         [](const std::string& f) { return WriteString("B", "k", "v", f); }, "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"adds no second blank line", "[A]\r\nx=1\r\n\r\n",
         [](const std::string& f) { return WriteString("B", "k", "v", f); }, "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"ends an unfinished last line", "[A]\r\nx=1",
         [](const std::string& f) { return WriteString("B", "k", "v", f); }, "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"writes into the first of duplicate sections", "[D]\r\nk=1\r\n[d]\r\nk=2\r\n",
         [](const std::string& f) { return WriteString("D", "k", "3", f); }, "[D]\r\nk=3\r\n[d]\r\nk=2\r\n"},
        {"writes an empty value", "[S]\r\nk=v\r\n",
         [](const std::string& f) { return WriteString("S", "k", "", f); }, "[S]\r\nk=\r\n"},
        {"keeps unchanged lines byte for byte", "junk\r[S]\r\n\t;c=1\r\nraw \xFF\0line\r\nk=1\r\n"s,
         [](const std::string& f) { return WriteString("S", "k", "\xE9", f); },
         "junk\r\n[S]\r\n\t;c=1\r\nraw \xFF\0line\r\nk=\xE9\r\n"s},
        {"line ends in a value become blanks", "[S]\r\n",
         [](const std::string& f) { return WriteString("S", "k", "a\r\n[X]\nb", f); }, "[S]\r\nk=a  [X] b\r\n"},
        {"line ends in names become blanks", "",
         [](const std::string& f) { return WriteString("S\r\nT", "a\nb", "v", f); }, "[S  T]\r\na b=v\r\n"},
    };
    ScratchDir dir;
    int number = 0;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        const std::string file = dir.path("case" + std::to_string(++number) + ".ini");
        if (!each.before.empty())
            WriteFileBytes(file, each.before);
        EXPECT_TRUE(each.write(file));
        EXPECT_EQ(ReadFileBytes(file), each.after);
    }
}

TEST(ProfileStore, WrittenValuesReadBack)
{
    ScratchDir dir;
    const std::string file = dir.path("back.ini");
    ASSERT_TRUE(WriteString("S", "text", "Engine \xC4 1", file));
    ASSERT_TRUE(WriteString("S", "nul", "a\0b"s, file));
    ASSERT_TRUE(WriteString("S\r\nT", "k", "line\nend", file));
    EXPECT_EQ(ReadString("s", "TEXT", "", file), "Engine \xC4 1");
    EXPECT_EQ(ReadString("S", "nul", "", file), "a\0b"s);
    EXPECT_EQ(ReadString("S\r\nT", "k", "", file), "line end");
    EXPECT_EQ(ListSections(file), (std::vector<std::string>{"S", "S  T"}));
}

TEST(ProfileStore, RejectsNamesThatCannotBeStored)
{
    const struct {
        const char* section;
        const char* key;
    } cases[] = {
        {"", "k"}, {" \t", "k"}, {"S", ""}, {"S", "  "}, {"S", "a=b"}, {"S", ";k"}, {"S", "[k]"},
    };
    ScratchDir dir;
    const std::string file = dir.path("names.ini");
    const std::string before = "[S]\r\nk=v\r\n";
    WriteFileBytes(file, before);
    for (const auto& each : cases) {
        SCOPED_TRACE("'"s + each.section + "' / '" + each.key + "'");
        EXPECT_FALSE(WriteString(each.section, each.key, "x", file));
        EXPECT_EQ(LastError(), std::strerror(EINVAL));
        EXPECT_EQ(ReadFileBytes(file), before);
    }
    EXPECT_FALSE(WriteString("S", "", "x", dir.path("new.ini")));
    EXPECT_FALSE(test::FileExists(dir.path("new.ini")));
}

TEST(ProfileStore, DeleteKeyRemovesEveryLineOfTheKeyInTheFirstSection)
{
    ScratchDir dir;
    const std::string file = dir.path("keys.ini");
    WriteFileBytes(file, "[S]\r\nk=1\r\nx=2\r\nK = 3\r\n;k=4\r\n\r\n[s]\r\nk=5\r\n");

    EXPECT_TRUE(DeleteKey("s", "k", file));
    EXPECT_EQ(ReadFileBytes(file), "[S]\r\nx=2\r\n;k=4\r\n\r\n[s]\r\nk=5\r\n");
    EXPECT_EQ(ReadString("S", "k", kDefault, file), kDefault);

    const std::string unchanged = ReadFileBytes(file);
    EXPECT_TRUE(DeleteKey("S", "absent", file));
    EXPECT_TRUE(DeleteKey("Absent", "x", file));
    EXPECT_EQ(ReadFileBytes(file), unchanged);

    EXPECT_TRUE(DeleteKey("S", "k", dir.path("missing.ini")));
    EXPECT_FALSE(test::FileExists(dir.path("missing.ini")));
}

TEST(ProfileStore, DeleteSectionRemovesEveryCopyOfTheSection)
{
    ScratchDir dir;
    const std::string file = dir.path("sections.ini");
    WriteFileBytes(file, "top=1\r\n[W1]\r\nT=a\r\n\r\n[W2]\r\nT=b\r\n\r\n[w1]\r\nT=c\r\n\r\n[W3]\r\nT=d\r\n");

    EXPECT_TRUE(DeleteSection("W1", file));
    EXPECT_EQ(ReadFileBytes(file), "top=1\r\n[W2]\r\nT=b\r\n\r\n[W3]\r\nT=d\r\n");
    EXPECT_TRUE(ListKeys("W1", file).empty());
    EXPECT_EQ(ReadString("w1", "T", kDefault, file), kDefault);

    // Renumbering moves a section into the emptied number.
    ASSERT_TRUE(WriteString("W1", "T", "b", file));
    EXPECT_TRUE(DeleteSection("W2", file));
    EXPECT_EQ(ReadFileBytes(file), "top=1\r\n[W3]\r\nT=d\r\n\r\n[W1]\r\nT=b\r\n");

    const std::string unchanged = ReadFileBytes(file);
    EXPECT_TRUE(DeleteSection("W9", file));
    EXPECT_EQ(ReadFileBytes(file), unchanged);
}

TEST(ProfileStore, ListsKeysAndSectionsInFileOrder)
{
    ScratchDir dir;
    const std::string file = dir.path("lists.ini");
    WriteFileBytes(file,
                   "orphan=1\r\n"
                   "[Graphs]\r\n"
                   "T=1\r\n"
                   "; P=comment\r\n"
                   "no equals sign\r\n"
                   " M1 = x\r\n"
                   "t=duplicate\r\n"
                   "=no name\r\n"
                   "Empty=\r\n"
                   "[Nothing]\r\n"
                   "[]\r\n"
                   "[views]\r\n"
                   "W1=x\r\n"
                   "[GRAPHS]\r\n"
                   "Late=1\r\n");

    EXPECT_EQ(ListKeys("graphs", file), (std::vector<std::string>{"T", "M1", "Empty"}));
    EXPECT_EQ(ListKeys("Views", file), std::vector<std::string>{"W1"});
    EXPECT_TRUE(ListKeys("Nothing", file).empty());
    EXPECT_TRUE(ListKeys("Absent", file).empty());
    EXPECT_TRUE(ListKeys("", file).empty());
    EXPECT_EQ(ListSections(file), (std::vector<std::string>{"Graphs", "Nothing", "views"}));
    EXPECT_TRUE(ListSections(dir.path("missing.ini")).empty());
}

TEST(ProfileStore, RereadsAFileChangedByAnotherProcess)
{
    ScratchDir dir;
    const std::string file = dir.path("shared.ini");
    WriteFileBytes(file, "[S]\r\nk=one\r\n");
    ASSERT_EQ(ReadString("S", "k", "", file), "one");

    WriteFileBytes(file, "[S]\r\nk=second\r\n");  // in place
    EXPECT_EQ(ReadString("S", "k", "", file), "second");

    const std::string copy = dir.path("copy.ini");  // same size, replaced by a copy
    WriteFileBytes(copy, "[S]\r\nk=thirds\r\n");
    std::filesystem::rename(copy, file);
    EXPECT_EQ(ReadString("S", "k", "", file), "thirds");

    ASSERT_TRUE(WriteString("S", "k", "ours", file));
    WriteFileBytes(file, "[S]\r\nk=theirs again\r\n");
    EXPECT_EQ(ReadString("S", "k", "", file), "theirs again");

    std::filesystem::remove(file);
    EXPECT_EQ(ReadString("S", "k", kDefault, file), kDefault);
}

TEST(ProfileStore, FlushDropsTheParsedCopy)
{
    ScratchDir dir;
    const std::string file = dir.path("flush.ini");
    ASSERT_TRUE(WriteString("S", "k", "aaa", file));
    ASSERT_EQ(ReadString("S", "k", "", file), "aaa");

    // A change that leaves size and time stamp as they were is only seen
    // once the parsed copy is dropped.
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    WriteFileBytes(file, "[S]\r\nk=bbb\r\n");
    const struct timespec times[] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    Flush(file);
    EXPECT_EQ(ReadString("S", "k", "", file), "bbb");
    EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=bbb\r\n");

    Flush(dir.path("missing.ini"));
    EXPECT_FALSE(test::FileExists(dir.path("missing.ini")));
}

TEST(ProfileStore, FailedWriteLeavesTheOldFileAndTellsWhy)
{
    ScratchDir dir;
    const std::string missingDirectory = dir.path("no such directory/file.ini");
    EXPECT_FALSE(WriteString("S", "k", "v", missingDirectory));
    EXPECT_EQ(LastError(), std::strerror(ENOENT));

    const std::string directory = dir.path("folder.dsp");
    std::filesystem::create_directory(directory);
    WriteFileBytes(directory + "/inside", "kept");
    EXPECT_FALSE(WriteString("S", "k", "v", directory));
    EXPECT_EQ(LastError(), std::strerror(EISDIR));
    EXPECT_EQ(ReadFileBytes(directory + "/inside"), "kept");
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"folder.dsp"});
}

// Root is not stopped by permission bits, but the file size limit holds for
// everyone: it makes the write of the new contents fail half way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const struct rlimit limit = {bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(ProfileStore, WriteThatFailsHalfWayLeavesTheOldFile)
{
    constexpr rlim_t kLimit = 32;
    ScratchDir dir;
    const std::string file = dir.path("old.dsp");
    const std::string before = "[S]\r\nk=old\r\n";
    WriteFileBytes(file, before);
    ASSERT_EQ(ReadString("S", "k", "", file), "old");
    {
        const FileSizeLimit limit(kLimit);
        EXPECT_FALSE(WriteString("S", "k", std::string(kLimit, 'n'), file));
    }
    EXPECT_EQ(LastError(), std::strerror(EFBIG));
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(ReadString("S", "k", "", file), "old");
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"old.dsp"});
}

TEST(ProfileStore, WritesReplaceTheFileAndKeepItsPermissions)
{
    constexpr mode_t kOwnerReadWriteGroupRead = 0640;
    constexpr mode_t kPermissionBits = 07777;
    constexpr int kWrites = 20;
    ScratchDir dir;
    const std::string file = dir.path("perm.dsp");
    WriteFileBytes(file, "[S]\r\n");
    ASSERT_EQ(::chmod(file.c_str(), kOwnerReadWriteGroupRead), 0);

    for (int i = 0; i < kWrites; ++i)
        ASSERT_TRUE(WriteString("S", "k" + std::to_string(i % 3), std::to_string(i), file));
    ASSERT_TRUE(DeleteKey("S", "k0", file));

    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & kPermissionBits, kOwnerReadWriteGroupRead);
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"perm.dsp"});
    EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk1=19\r\nk2=17\r\n");
}

TEST(ProfileStore, WritesThroughASymlinkToTheFileItNames)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.path("real"));
    const std::string target = dir.path("real/target.ini");
    const std::string link = dir.path("link.ini");
    WriteFileBytes(target, "[S]\r\nk=1\r\n");
    std::filesystem::create_symlink("real/target.ini", link);

    ASSERT_TRUE(WriteString("S", "k", "2", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target), "[S]\r\nk=2\r\n");
    EXPECT_EQ(ReadString("S", "k", "", target), "2");
    EXPECT_EQ(DirectoryEntries(dir.path("real")), std::vector<std::string>{"target.ini"});

    const std::string dangling = dir.path("dangling.ini");
    std::filesystem::create_symlink("real/created.ini", dangling);
    ASSERT_TRUE(WriteString("S", "k", "3", dangling));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(ReadFileBytes(dir.path("real/created.ini")), "[S]\r\nk=3\r\n");
}

}  // namespace
}  // namespace vexa::profile

namespace vexa {
namespace {

TEST(ProfileWriteBatch, ChangesReachTheDiskOnceWhenTheBatchEnds)
{
    test::ScratchDir dir;
    const std::string file = dir.path("batch.ini");
    test::WriteFileBytes(file, "[A]\r\nx=1\r\n");
    {
        const ProfileWriteBatch outer(file);
        {
            const ProfileWriteBatch inner(file);
            ASSERT_TRUE(profile::WriteString("A", "y", "2", file));
            ASSERT_TRUE(profile::DeleteKey("A", "x", file));
        }
        EXPECT_EQ(test::ReadFileBytes(file), "[A]\r\nx=1\r\n") << "an inner batch does not write";
        EXPECT_EQ(profile::ReadString("A", "y", "", file), "2") << "reads see the held-back change";
        EXPECT_EQ(profile::ReadString("A", "x", "gone", file), "gone");
    }
    EXPECT_EQ(test::ReadFileBytes(file), "[A]\r\ny=2\r\n");

    // A flush in the middle of a batch writes what the batch held back.
    {
        const ProfileWriteBatch batch(file);
        ASSERT_TRUE(profile::WriteString("B", "z", "3", file));
        profile::Flush(file);
        EXPECT_EQ(test::ReadFileBytes(file), "[A]\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    }
    EXPECT_EQ(profile::ReadString("B", "z", "", file), "3");
}

}  // namespace
}  // namespace vexa
