#include "ScratchCopy.h"

#include "DocumentPaths.h"
#include "FileOperations.h"
#include "ProfileStore.h"

namespace vexa {

namespace {

QString RefusalText(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Graphs:
        return "This file must be removed before you can edit graph definitions.";
    case EditorKind::Views:
        return "This file must be removed before you can edit view definitions.";
    case EditorKind::Measurements:
        return "Unable to edit measurements. This file must be removed before you can edit "
               "measurement definitions.";
    }
    return {};
}

}  // namespace

std::unique_ptr<ScratchCopy> ScratchCopy::Begin(QWidget* owner, EditorKind kind,
                                                const std::string& workingCopy)
{
    const std::string path = ScratchCopyFor(workingCopy);
    if (!CheckWorkingCopyFree(owner, path, RefusalText(kind)))
        return nullptr;
    profile::Flush(workingCopy);
    if (!CopyFile(workingCopy, path, CopyReport::ShowError, owner)) {
        RemoveFile(path);
        return nullptr;
    }
    return std::unique_ptr<ScratchCopy>(new ScratchCopy(path, workingCopy));
}

ScratchCopy::ScratchCopy(std::string path, std::string workingCopy)
    : m_path(std::move(path)), m_workingCopy(std::move(workingCopy))
{
}

ScratchCopy::~ScratchCopy()
{
    RemoveFile(m_path);
    profile::Flush(m_path);
}

bool ScratchCopy::commit(QWidget* owner, bool changed)
{
    if (!changed)
        return false;
    profile::Flush(m_path);
    const bool copied = CopyFile(m_path, m_workingCopy, CopyReport::ShowError, owner);
    profile::Flush(m_workingCopy);
    return copied;
}

}  // namespace vexa
