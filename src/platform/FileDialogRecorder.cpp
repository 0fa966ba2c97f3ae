#include "FileDialogRecorder.h"

#include "RecorderFailure.h"

#include <utility>

namespace vexa {

namespace {

const char* ModeName(FileDialogMode mode)
{
    return mode == FileDialogMode::Open ? "Open" : "Create";
}

}  // namespace

FileDialogRecorder::FileDialogRecorder(FailureReporter onFailure)
    : m_onFailure(onFailure ? std::move(onFailure) : FailureReporter(PrintAndAbort))
{
    m_previous = SetFileDialogHandler(this);
}

FileDialogRecorder::~FileDialogRecorder()
{
    SetFileDialogHandler(m_previous);
}

void FileDialogRecorder::script(std::optional<QString> answer)
{
    m_script.push_back(std::move(answer));
}

std::optional<QString> FileDialogRecorder::run(const FileDialogRequest& request)
{
    m_requests.push_back(request);
    if (m_script.empty()) {
        m_onFailure(QStringLiteral("Unscripted file dialog: title \"%1\", mode %2, initial path "
                                   "\"%3\", filters \"%4\"")
                        .arg(request.title, QLatin1String(ModeName(request.mode)),
                             request.initialPath, request.filters.join(QStringLiteral(";;"))));
        return std::nullopt;
    }
    const bool cancelled = !m_script.front().has_value();
    QString path = cancelled ? QString() : std::move(*m_script.front());
    m_script.pop_front();
    if (cancelled)
        return std::nullopt;
    return path;
}

}  // namespace vexa
