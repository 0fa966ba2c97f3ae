#include "FileCommandState.h"

#include "platform/AnsiText.h"

namespace vexa {

FileCommandState FileCommandStateFor(bool open, bool modified, const std::string& documentPath)
{
    FileCommandState state;
    if (!open) {
        state.statusText = "Current File: None";
        return state;
    }
    state.newAndOpenEnabled = !modified;
    state.saveEnabled = modified;
    state.documentCommandsEnabled = true;
    state.configureDataSourceEnabled = false;
    state.statusText = QString("Current File: %1").arg(FromLocalPath(documentPath));
    return state;
}

}  // namespace vexa
