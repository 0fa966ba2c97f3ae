#include "server/InputCommands.h"

#include "document/ProfileStore.h"
#include "platform/AnsiText.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/StagedFile.h"
#include "server/DataSourcesDialog.h"
#include "server/LiveValuesWindow.h"
#include "server/SourcesWindow.h"
#include "server/engine/ServerLog.h"
#include "server/inputs/InputSet.h"
#include "server/inputs/MeasurementFile.h"

#include <QFileInfo>

#include <cstring>
#include <filesystem>
#include <utility>

namespace vexa::server {

namespace {

constexpr const char* kMeasurementFilter = "Measurement Files (*.mvx)";
constexpr const char* kAllFilesFilter = "All Files (*)";
constexpr const char* kMeasurementSuffix = ".mvx";

/// Shows \p window in front, unminimised.
void Present(QWidget* window)
{
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

}  // namespace

InputCommands::InputCommands(InputSet& inputs, InputSettings settings, ServerLog& log, QWidget* window)
    : m_inputs(inputs), m_settings(std::move(settings)), m_log(log), m_window(window)
{
}

void InputCommands::Start(const InputOverrides& overrides)
{
    QStringList problems;
    const InputsConfig config = overrides.AppliedTo(m_settings.Read(&problems));
    for (const QString& problem : problems)
        m_log.LogLine(problem);
    m_inputs.Apply(config);
}

void InputCommands::ShowSources()
{
    if (m_sources == nullptr)
        m_sources = new SourcesWindow(m_inputs, m_window);
    Present(m_sources);
}

void InputCommands::ShowLiveValues()
{
    if (m_liveValues == nullptr)
        m_liveValues = new LiveValuesWindow(m_inputs, m_window);
    Present(m_liveValues);
}

SourcesWindow* InputCommands::sourcesWindow() const
{
    return m_sources;
}

LiveValuesWindow* InputCommands::liveValuesWindow() const
{
    return m_liveValues;
}

void InputCommands::ChangeDataSources()
{
    DataSourcesDialog dialog(m_inputs.config(), m_window);
    if (dialog.exec() == QDialog::Accepted)
        ApplyDataSources(dialog.config());
}

void InputCommands::ApplyDataSources(const InputsConfig& after)
{
    const InputsConfig before = m_inputs.config();
    if (after == before)
        return;
    if (!m_settings.WriteChanges(before, after)) {
        m_log.LogLine(QStringLiteral("ERROR: Could not write the data sources to %1: %2")
                          .arg(FromLocalPath(m_settings.file()), FromAnsi(profile::LastError())));
    }
    m_log.LogLine(QStringLiteral("Data sources changed"));
    m_inputs.Apply(after);
}

void InputCommands::SaveNamesAsMeasurementFile()
{
    const QString title = QString::fromLatin1(kSaveNamesTitle);
    if (m_inputs.table().size() == 0) {
        ShowMessage(m_window, QStringLiteral("No live source has fed a name yet, so there is nothing to save."), title,
                    MessageIcon::Information);
        return;
    }
    FileDialogRequest request;
    request.owner = m_window;
    request.title = title;
    request.mode = FileDialogMode::Create;
    request.filters = {QString::fromLatin1(kMeasurementFilter), QString::fromLatin1(kAllFilesFilter)};
    std::optional<QString> chosen = RunFileDialog(request);
    if (!chosen.has_value())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(kMeasurementSuffix);
    const std::string file = ToLocalPath(path);
    if (std::filesystem::exists(file)
        && ShowMessage(m_window, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path), title,
                       MessageIcon::Exclamation, MessageButtons::YesNo)
               != MessageAnswer::Yes)
        return;

    const MeasurementFileText text = MeasurementFileFor(m_inputs.table());
    StagedFile staged(file);
    staged.write(text.bytes);
    if (const int error = staged.error() != 0 ? staged.error() : staged.commit(); error != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(error));
        m_log.LogLine(QStringLiteral("ERROR: Could not write %1: %2").arg(path, why));
        ShowMessage(m_window, QStringLiteral("Could not write %1:\n%2").arg(path, why), title, MessageIcon::Stop);
        return;
    }
    m_log.LogLine(QStringLiteral("Measurement file %1 written with %2 names").arg(path).arg(text.sections));
    if (text.merged > 0) {
        m_log.LogLine(QStringLiteral("%1 names that differ from another only in letter case share its section")
                          .arg(text.merged));
    }
}

}  // namespace vexa::server
