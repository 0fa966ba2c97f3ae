#pragma once

#include "FileDialogs.h"

#include <deque>
#include <functional>
#include <vector>

namespace vexa {

/// A file-dialog handler for tests: installs itself while it lives, records
/// every request and answers from a script (a path, or std::nullopt for
/// Cancel). A dialog without a scripted answer calls the failure reporter and
/// is cancelled.
class FileDialogRecorder : public FileDialogHandler {
public:
    using FailureReporter = std::function<void(const QString& what)>;

    explicit FileDialogRecorder(FailureReporter onFailure = {});
    ~FileDialogRecorder() override;

    FileDialogRecorder(const FileDialogRecorder&) = delete;
    FileDialogRecorder& operator=(const FileDialogRecorder&) = delete;

    void script(std::optional<QString> answer);
    const std::vector<FileDialogRequest>& requests() const { return m_requests; }
    std::size_t unusedAnswers() const { return m_script.size(); }

    std::optional<QString> run(const FileDialogRequest& request) override;

private:
    FailureReporter m_onFailure;
    FileDialogHandler* m_previous = nullptr;
    std::deque<std::optional<QString>> m_script;
    std::vector<FileDialogRequest> m_requests;
};

}  // namespace vexa
