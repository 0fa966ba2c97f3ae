#include "DocumentPaths.h"

#include "ProfileStore.h"

#include <filesystem>

namespace vexa {

namespace {

std::string Formed(std::string path)
{
    profile::Flush(path);
    return path;
}

}  // namespace

std::string AbsoluteDocumentPath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    return absolute.lexically_normal().string();
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string MeasurementPathFor(const std::string& documentPath)
{
    const std::string name = FileNameOf(documentPath);
    return DirectoryOf(documentPath) + name.substr(0, name.find('.')) + kMeasurementExtension;
}

std::string WorkingDisplayCopyFor(const std::string& documentPath)
{
    return Formed(DirectoryOf(documentPath) + kWorkingDisplayCopyName);
}

std::string WorkingMeasurementCopyFor(const std::string& documentPath)
{
    return Formed(DirectoryOf(MeasurementPathFor(documentPath)) + kWorkingMeasurementCopyName);
}

std::string ScratchCopyFor(const std::string& workingCopy)
{
    return Formed(DirectoryOf(workingCopy) + kScratchCopyName);
}

std::string RecoveryNoteFor(const std::string& workingDisplayCopy)
{
    return Formed(DirectoryOf(workingDisplayCopy) + kRecoveryNoteName);
}

}  // namespace vexa
