#pragma once

#include <QString>

#include <string>

namespace vexa {

/// Which file commands are available, and the status text, for a document state.
struct FileCommandState {
    bool newAndOpenEnabled = true;
    bool saveEnabled = false;
    /// Save As, Close and the three definition editors.
    bool documentCommandsEnabled = false;
    bool configureDataSourceEnabled = true;
    QString statusText;

    bool operator==(const FileCommandState&) const = default;
};

FileCommandState FileCommandStateFor(bool open, bool modified, const std::string& documentPath);

}  // namespace vexa
