#pragma once

#include <string>

namespace vexa {

/// What a display document asks of the program around it when it opens or
/// closes: the frame implements these; tests record them.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    /// The graphs and views popups must be rebuilt from the working copy.
    virtual void rebuildPopups() {}
    /// The file commands and the status text must follow the document's state.
    virtual void refreshFileCommands() {}
    /// A display file was loaded: the measurement name list starts afresh for
    /// \p measurementPath.
    virtual void resetNameList(const std::string& measurementPath) { (void)measurementPath; }
    /// Every graph window must close.
    virtual void closeAllGraphWindows() {}
};

}  // namespace vexa
