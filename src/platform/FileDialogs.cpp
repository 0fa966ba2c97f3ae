#include "FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <utility>

namespace vexa {

namespace {

class RealFileDialogHandler final : public FileDialogHandler {
public:
    std::optional<QString> run(const FileDialogRequest& request) override
    {
        QFileDialog dialog(request.owner, request.title);
        // Both kinds are "open" dialogs: a file to create is named here and
        // written later by the caller, who has its own checks, so the dialog
        // never asks about overwriting. QFileDialog shows no read-only
        // checkbox, which is what we want.
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mode == FileDialogMode::Open ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.filters.isEmpty()) {
            dialog.setNameFilters(request.filters);
            dialog.selectNameFilter(request.filters.front());
        }
        if (!request.initialPath.isEmpty()) {
            const QFileInfo initial(request.initialPath);
            if (initial.isDir()) {
                dialog.setDirectory(initial.absoluteFilePath());
            } else {
                dialog.setDirectory(initial.absolutePath());
                dialog.selectFile(initial.fileName());
            }
        }
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen.front();
    }
};

FileDialogHandler& RealHandler()
{
    static RealFileDialogHandler handler;
    return handler;
}

/// The installed replacement; nullptr while the real handler serves.
FileDialogHandler* s_installed = nullptr;

}  // namespace

std::optional<QString> RunFileDialog(const FileDialogRequest& request)
{
    FileDialogHandler& handler = s_installed != nullptr ? *s_installed : RealHandler();
    return handler.run(request);
}

FileDialogHandler* SetFileDialogHandler(FileDialogHandler* handler)
{
    return std::exchange(s_installed, handler);
}

}  // namespace vexa
