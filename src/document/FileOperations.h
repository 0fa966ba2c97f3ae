#pragma once

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace vexa {
class StagedFile;
}

/// The file dialog, file copy and working-copy check that opening, creating,
/// saving and editing documents share.
namespace vexa {

enum class ChooseMode { Open, Create };

inline constexpr const char* kDisplayExtension = ".dsp";

/// Completes a name for a new display file: ".dsp" is appended to a file
/// name without any ".", "dsp" to one that ends with ".".
std::string CompleteCreateName(const std::string& path);

/// True when \p path ends with ".dsp" in any letter case.
bool HasDisplayExtension(const std::string& path);

/// Lets the user pick a display file to open, or name one to create. For
/// Create the name is completed and checked, and an existing file is only
/// given after the user agreed to overwrite it. The chosen path, or nothing
/// when the user cancelled or declined.
std::optional<std::string> ChooseFile(QWidget* owner, const std::string& currentPath, ChooseMode mode);

/// Whether a failed copy tells the user.
enum class CopyReport { Silent, ShowError };

/// Copies \p source over \p destination. The destination is replaced whole
/// (a new file, then a rename), so a failed copy leaves it as it was. An
/// empty path gives false without a message.
bool CopyFile(const std::string& source, const std::string& destination, CopyReport report,
              QWidget* owner = nullptr);

/// Writes a copy of \p source into \p staged and finishes it, so that only
/// its commit is left; 0, or the errno of the failing call. Lets a caller
/// replace several files only when all of them could be written.
int StageCopy(const std::string& source, StagedFile& staged);

/// The copy error message for a failed copy with the system's \p reason.
QString CopyErrorText(const std::string& source, const std::string& destination,
                      const std::string& reason);

/// True when nothing exists at \p path, or the user agrees to overwrite what
/// is there; when the user declines, \p refusal is shown and the result is false.
bool CheckWorkingCopyFree(QWidget* owner, const std::string& path, const QString& refusal);

/// Removes a file; a file that does not exist is no failure.
bool RemoveFile(const std::string& path);

/// The system's text for errno value \p error.
std::string SystemErrorText(int error);

}  // namespace vexa
