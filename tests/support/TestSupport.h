#pragma once

#include "platform/FileDialogRecorder.h"
#include "platform/MessageRecorder.h"

#include <QString>
#include <QTemporaryDir>

#include <ostream>
#include <string>

/// Lets test failures show Qt strings as text.
void PrintTo(const QString& text, std::ostream* os);

namespace vexa::test {

/// A message recorder whose unscripted boxes fail the running test.
class ScriptedMessages : public MessageRecorder {
public:
    ScriptedMessages();
};

/// A file-dialog recorder whose unscripted dialogs fail the running test.
class ScriptedFileDialogs : public FileDialogRecorder {
public:
    ScriptedFileDialogs();
};

/// A temporary directory, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    /// The directory's path with \p name appended, as bytes.
    std::string path(const std::string& name = {}) const;

private:
    QTemporaryDir m_dir;
};

/// Writes \p bytes to \p path exactly as given (no line-end translation).
void WriteFileBytes(const std::string& path, const std::string& bytes);
/// The whole contents of \p path; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace vexa::test
