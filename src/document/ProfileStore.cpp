#include "ProfileStore.h"

#include "IniFile.h"
#include "TextFields.h"

#include "platform/FileDescriptor.h"
#include "platform/StagedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unordered_map>

namespace vexa::profile {

namespace {

constexpr int kMaxSymlinkHops = 40;    // the kernel's own limit
constexpr std::size_t kReadChunk = 64 * 1024;

// What tells us that the file on disk is still the one we parsed: a replace
// by rename gives a new inode, a write in place a new size or time stamp.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    time_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& info)
{
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

FileIdentity IdentityOf(const std::string& file)
{
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? IdentityOf(info) : FileIdentity{};
}

struct CachedFile {
    FileIdentity identity;
    IniFile contents;
    int readError = 0;  ///< errno when the file exists but could not be read
    int deferredDepth = 0;  ///< open write batches
    bool dirty = false;     ///< changed while writes were held back
};

// Both programs run on one thread, so the cache needs no lock.
std::unordered_map<std::string, CachedFile>& Cache()
{
    static std::unordered_map<std::string, CachedFile> cache;
    return cache;
}

std::string& LastErrorText()
{
    static std::string text;
    return text;
}

bool Fail(int error)
{
    LastErrorText() = std::strerror(error);
    return false;
}


// The contents of a regular file together with the identity of what was
// read. A missing file, or anything that is no regular file, reads as an
// empty file; a file that exists but cannot be read also reads as empty,
// with the error kept so that no write replaces it.
CachedFile ReadFile(const std::string& file)
{
    CachedFile result;
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.isOpen()) {
        if (errno != ENOENT && errno != ENOTDIR)
            result.readError = errno;
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        result.readError = errno;
        return result;
    }
    result.identity = IdentityOf(info);
    if (!S_ISREG(info.st_mode))
        return result;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::array<char, kReadChunk> buffer;
    while (true) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.readError = errno;
            return result;
        }
        if (got == 0)
            break;
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    result.contents = IniFile(bytes);
    return result;
}

// The parsed file, read afresh when the file on disk is no longer the one we
// parsed (another process wrote it, or it was replaced by a copy).
CachedFile& Load(const std::string& file)
{
    auto& cache = Cache();
    const auto found = cache.find(file);
    // While writes are held back the cached contents are ahead of the disk.
    if (found != cache.end()
        && (found->second.deferredDepth > 0 || found->second.identity == IdentityOf(file)))
        return found->second;
    CachedFile& entry = cache[file];
    entry = ReadFile(file);
    return entry;
}

// The parsed file for a change. A file that exists but could not be read
// must not be replaced by the little we know of it.
CachedFile* LoadForChange(const std::string& file)
{
    CachedFile& entry = Load(file);
    if (entry.readError != 0) {
        Fail(entry.readError);
        return nullptr;
    }
    return &entry;
}

// The file a write replaces: through any symbolic links to the file they
// name, so that the link itself stays.
bool ResolveLinks(const std::string& file, std::filesystem::path& target)
{
    target = file;
    for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error))
            return true;
        const std::filesystem::path link = std::filesystem::read_symlink(target, error);
        if (error)
            return Fail(error.value());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return Fail(ELOOP);
}

// Writes the whole new contents beside the file and renames it over the
// file, so that a crash leaves either the old file or the new one, never
// half of it. Nothing is synced here: writes come key by key, and Flush()
// is what makes them durable.
bool ReplaceFile(const std::string& file, const std::string& bytes)
{
    std::filesystem::path target;
    if (!ResolveLinks(file, target))
        return false;
    StagedFile staged(target.string());
    staged.write(bytes);
    const int error = staged.commit();
    return error == 0 || Fail(error);
}

// Writes the changed contents of the cache entry out.
bool Store(const std::string& file, CachedFile& entry)
{
    if (entry.deferredDepth > 0) {
        entry.dirty = true;
        return true;
    }
    if (!ReplaceFile(file, entry.contents.toBytes())) {
        // The cached contents now differ from the file, which was left alone.
        Cache().erase(file);
        return false;
    }
    entry.identity = IdentityOf(file);
    return true;
}

std::string CutToCapacity(std::string_view value, std::size_t capacity)
{
    if (capacity == 0)
        return {};
    return std::string(value.substr(0, capacity - 1));
}

int SyncPath(const std::filesystem::path& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen())
        return errno;
    if (::fsync(fd.get()) != 0)
        return errno;
    return fd.close();
}

}  // namespace

std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue,
                       const std::string& file, std::size_t capacity)
{
    const std::optional<std::string_view> value = Load(file).contents.value(section, key);
    return CutToCapacity(value.value_or(defaultValue), capacity);
}

int ReadInt(std::string_view section, std::string_view key, int defaultValue, const std::string& file)
{
    const std::optional<std::string_view> value = Load(file).contents.value(section, key);
    return value.value_or("").empty() ? defaultValue : ParseLeadingInt(*value);
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                 const std::string& file)
{
    CachedFile* entry = LoadForChange(file);
    if (entry == nullptr)
        return false;
    if (!entry->contents.setValue(section, key, value))
        return Fail(EINVAL);
    return Store(file, *entry);
}

bool DeleteKey(std::string_view section, std::string_view key, const std::string& file)
{
    CachedFile* entry = LoadForChange(file);
    return entry != nullptr && (!entry->contents.removeKey(section, key) || Store(file, *entry));
}

bool DeleteSection(std::string_view section, const std::string& file)
{
    CachedFile* entry = LoadForChange(file);
    return entry != nullptr && (!entry->contents.removeSection(section) || Store(file, *entry));
}

std::vector<std::string> ListKeys(std::string_view section, const std::string& file)
{
    return Load(file).contents.keys(section);
}

std::vector<std::string> ListSections(const std::string& file)
{
    return Load(file).contents.sections();
}

void Flush(const std::string& file)
{
    // Changes that a batch still holds back reach the disk first.
    if (const auto found = Cache().find(file); found != Cache().end() && found->second.dirty) {
        found->second.deferredDepth = 0;
        found->second.dirty = false;
        Store(file, found->second);
    }
    Cache().erase(file);
    std::filesystem::path target;
    if (!ResolveLinks(file, target))
        return;
    std::error_code ignored;
    if (!std::filesystem::exists(target, ignored))
        return;
    // The rename of the last write is durable only once the directory is.
    const std::filesystem::path directory = target.has_parent_path() ? target.parent_path() : ".";
    if (const int error = SyncPath(target); error != 0)
        Fail(error);
    else if (const int directoryError = SyncPath(directory); directoryError != 0)
        Fail(directoryError);
}

void BeginDeferredWrites(const std::string& file)
{
    ++Load(file).deferredDepth;
}

bool EndDeferredWrites(const std::string& file)
{
    const auto found = Cache().find(file);
    if (found == Cache().end() || found->second.deferredDepth == 0)
        return true;
    CachedFile& entry = found->second;
    if (--entry.deferredDepth > 0 || !entry.dirty)
        return true;
    entry.dirty = false;
    return Store(file, entry);
}

std::string LastError()
{
    return LastErrorText();
}

}  // namespace vexa::profile
