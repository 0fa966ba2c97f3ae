#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace vexa {

/// Whether the dialog picks an existing file or names a file to create. Both
/// are dialogs of the "open" kind: for Open the file and its directory must
/// exist, for Create only the directory; neither asks about overwriting.
enum class FileDialogMode { Open, Create };

struct FileDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    QString initialPath;        ///< initial file and directory
    FileDialogMode mode = FileDialogMode::Open;
    QStringList filters;        ///< Qt filter strings, the first one selected
};

/// Runs a file dialog through the installed handler; the chosen path, or
/// nothing when the user cancelled.
std::optional<QString> RunFileDialog(const FileDialogRequest& request);

/// Shows file dialogs. The real one uses QFileDialog; tests install a
/// FileDialogRecorder.
class FileDialogHandler {
public:
    virtual ~FileDialogHandler() = default;
    virtual std::optional<QString> run(const FileDialogRequest& request) = 0;
};

/// Installs \p handler for RunFileDialog(); nullptr reinstates the real one.
/// Returns the handler installed before (nullptr for the real one).
FileDialogHandler* SetFileDialogHandler(FileDialogHandler* handler);

}  // namespace vexa
