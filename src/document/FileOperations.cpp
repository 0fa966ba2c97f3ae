#include "FileOperations.h"

#include "DocumentPaths.h"

#include "platform/AnsiText.h"
#include "platform/FileDescriptor.h"
#include "platform/StagedFile.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"

#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {

namespace {

constexpr const char* kOpenTitle = "Open VEXA-Display Display File";
constexpr const char* kCreateTitle = "Create New VEXA-Display Display File";
constexpr const char* kDisplayFilter = "VEXA Display Files (*.DSP)";
// "*.*" would hide the many Linux files whose names have no dot.
constexpr const char* kAllFilesFilter = "All Files (*)";
constexpr const char* kBadExtensionText =
    "Error: Invalid filename entered. Filename must end with the extension \".DSP\"";
constexpr const char* kCopyErrorCaption = "ERROR: Could Not Copy File";
constexpr const char* kErrorCaption = "VEXA-Display Error";
constexpr std::size_t kCopyBlock = 64 * 1024;
constexpr mode_t kPermissionBits = 07777;

bool PathExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}



}  // namespace

int StageCopy(const std::string& source, StagedFile& staged)
{
    if (staged.error() != 0)
        return staged.error();
    const FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.isOpen())
        return errno;
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    // A file that did not exist yet takes the permissions of its source.
    staged.setModeForNewFile(info.st_mode & kPermissionBits);
    char buffer[kCopyBlock];
    while (true) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return staged.finish();
        if (const int error = staged.write(std::string_view(buffer, static_cast<std::size_t>(got))); error != 0)
            return error;
    }
}

namespace {

// Copies source over destination through a staged copy. 0 or the errno of the failing call.
int CopyReplacing(const std::string& source, const std::string& destination)
{
    StagedFile staged(destination);
    const int error = StageCopy(source, staged);
    return error != 0 ? error : staged.commit();
}

}  // namespace

std::string CompleteCreateName(const std::string& path)
{
    const std::string name = FileNameOf(path);
    if (name.find('.') == std::string::npos)
        return path + kDisplayExtension;
    if (name.ends_with('.'))
        return path + (kDisplayExtension + 1);
    return path;
}

bool HasDisplayExtension(const std::string& path)
{
    const std::string_view extension = kDisplayExtension;
    if (path.size() < extension.size())
        return false;
    const std::string_view tail = std::string_view(path).substr(path.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != extension[i])
            return false;
    }
    return true;
}

std::optional<std::string> ChooseFile(QWidget* owner, const std::string& currentPath, ChooseMode mode)
{
    FileDialogRequest request;
    request.owner = owner;
    request.title = mode == ChooseMode::Open ? kOpenTitle : kCreateTitle;
    request.initialPath = FromLocalPath(currentPath);
    request.mode = mode == ChooseMode::Open ? FileDialogMode::Open : FileDialogMode::Create;
    request.filters = QStringList{kDisplayFilter, kAllFilesFilter};

    while (true) {
        const std::optional<QString> chosen = RunFileDialog(request);
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        std::string path = ToLocalPath(*chosen);
        if (mode == ChooseMode::Open)
            return path;

        path = CompleteCreateName(path);
        if (!HasDisplayExtension(path)) {
            ShowMessage(owner, kBadExtensionText, kDisplayCaption, MessageIcon::Exclamation);
            request.initialPath = FromLocalPath(path);
            continue;
        }
        if (PathExists(path)) {
            const QString question =
                QString("The file '%1' already exists.\n\nOverwrite?").arg(FromLocalPath(path));
            if (ShowMessage(owner, question, kCreateTitle, MessageIcon::Question, MessageButtons::YesNo)
                != MessageAnswer::Yes)
                return std::nullopt;
        }
        return path;
    }
}

QString CopyErrorText(const std::string& source, const std::string& destination,
                      const std::string& reason)
{
    QString trimmed = QString::fromLocal8Bit(reason.c_str());
    while (!trimmed.isEmpty() && trimmed.back().isSpace())
        trimmed.chop(1);
    return QString("Unable to copy:\n\n\"%1\"\n\nto\n\n\"%2\"\n\n")
               .arg(FromLocalPath(source), FromLocalPath(destination))
           + "\n\n" + trimmed;
}

bool CopyFile(const std::string& source, const std::string& destination, CopyReport report,
              QWidget* owner)
{
    if (source.empty() || destination.empty())
        return false;
    const int error = CopyReplacing(source, destination);
    if (error == 0)
        return true;
    if (report == CopyReport::ShowError) {
        ShowMessage(owner, CopyErrorText(source, destination, SystemErrorText(error)),
                    kCopyErrorCaption, MessageIcon::Exclamation);
    }
    return false;
}

bool CheckWorkingCopyFree(QWidget* owner, const std::string& path, const QString& refusal)
{
    if (!PathExists(path))
        return true;
    Beep();
    const QString question = QString("The file '%1' already exists on your disk. VEXA Display uses "
                                     "this file for temporary storage.\n\nOverwrite?")
                                 .arg(FromLocalPath(path));
    if (ShowMessage(owner, question, kDisplayCaption, MessageIcon::Question, MessageButtons::YesNo)
        == MessageAnswer::Yes)
        return true;
    ShowMessage(owner, refusal, kErrorCaption, MessageIcon::Information);
    return false;
}

bool RemoveFile(const std::string& path)
{
    return path.empty() || ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::string SystemErrorText(int error)
{
    return std::strerror(error);
}

}  // namespace vexa
