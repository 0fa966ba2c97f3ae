#include "StagedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {

namespace {

constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kCreationMode = 0666;

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kCreationMode & ~mask;
}

std::string TemporaryPattern(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, nameStart) + "." + target.substr(nameStart) + ".XXXXXX";
}

}  // namespace

StagedFile::StagedFile(std::string target) : m_target(std::move(target)), m_newFileMode(NewFileMode())
{
    struct stat replaced {};
    m_replacing = ::stat(m_target.c_str(), &replaced) == 0;
    if (m_replacing && S_ISDIR(replaced.st_mode)) {
        m_error = EISDIR;
        return;
    }
    m_mode = replaced.st_mode & kPermissionBits;
    m_temporary = TemporaryPattern(m_target);
    m_file = FileDescriptor(::mkostemp(m_temporary.data(), O_CLOEXEC));
    if (!m_file.isOpen()) {
        m_error = errno;
        m_temporary.clear();
    }
}

StagedFile::~StagedFile()
{
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

int StagedFile::fail(int error)
{
    if (m_error == 0)
        m_error = error;
    return m_error;
}

int StagedFile::write(std::string_view bytes)
{
    if (m_error != 0 || m_finished)
        return fail(EBADF);
    const int error = m_file.writeAll(bytes);
    return error == 0 ? 0 : fail(error);
}

int StagedFile::finish()
{
    if (m_error != 0 || m_finished)
        return m_error;
    if (::fchmod(m_file.get(), m_replacing ? m_mode : m_newFileMode) != 0)
        return fail(errno);
    if (const int error = m_file.close(); error != 0)
        return fail(error);
    m_finished = true;
    return 0;
}

int StagedFile::commit()
{
    if (const int error = finish(); error != 0)
        return error;
    if (m_committed)
        return 0;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return fail(errno);
    m_committed = true;
    return 0;
}

}  // namespace vexa
