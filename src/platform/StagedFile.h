#pragma once

#include "FileDescriptor.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace vexa {

/// The new contents of a file, written to a hidden temporary file beside it
/// and renamed over it only on commit(), so that a crash or a failure leaves
/// either the old file or the new one, never half of it. The temporary file
/// goes with the object unless it was committed.
///
/// The new file keeps the permissions of the file it replaces; a file that
/// did not exist yet gets those of a newly created file (0666 less the
/// umask) unless setModeForNewFile() says otherwise.
class StagedFile {
public:
    explicit StagedFile(std::string target);
    ~StagedFile();

    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    /// 0, or the errno of the first call that failed so far. A target that is
    /// a directory fails at once with EISDIR.
    int error() const { return m_error; }
    int descriptor() const { return m_file.get(); }

    void setModeForNewFile(mode_t mode) { m_newFileMode = mode; }

    /// Appends \p bytes; 0 or errno.
    int write(std::string_view bytes);
    /// Sets the permissions and closes the temporary file, so that only the
    /// rename is left; 0 or errno. commit() does it when it was not done.
    int finish();
    /// Renames the new contents over the target; 0 or errno.
    int commit();

private:
    int fail(int error);

    std::string m_target;
    std::string m_temporary;
    FileDescriptor m_file{-1};
    mode_t m_mode = 0;
    mode_t m_newFileMode = 0;
    bool m_replacing = false;
    bool m_finished = false;
    bool m_committed = false;
    int m_error = 0;
};

}  // namespace vexa
