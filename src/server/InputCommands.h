#pragma once

#include "server/inputs/InputOptions.h"
#include "server/inputs/InputSettings.h"

#include <QPointer>

class QWidget;

namespace vexa::server {

class InputSet;
class LiveValuesWindow;
class ServerLog;
class SourcesWindow;

/// The commands of the server's live inputs: starting them with the
/// settings and the command line, the "Sources" and "Live Values" windows,
/// the "Data Sources" dialog, and saving the names seen as a measurement
/// file.
class InputCommands {
public:
    static constexpr const char* kSaveNamesTitle = "Save Names As Measurement File";

    /// \p window owns the windows, dialogs and boxes.
    InputCommands(InputSet& inputs, InputSettings settings, ServerLog& log, QWidget* window);

    /// Puts the inputs' settings in force, each one given in \p overrides
    /// in place of the file's. Settings the file holds that cannot be used
    /// are logged.
    void Start(const InputOverrides& overrides);

    /// Shows the "Sources" window, making it the first time.
    void ShowSources();
    /// Shows the "Live Values" window, making it the first time.
    void ShowLiveValues();
    /// Runs the "Data Sources" dialog and puts what it gives in force.
    void ChangeDataSources();
    /// Puts \p config in force at once when it differs from the one in
    /// force, and logs so; writes the keys of the settings it changed (and
    /// no others, so that command-line settings left alone stay out of the
    /// file).
    void ApplyDataSources(const InputsConfig& config);
    /// Asks for a file and writes a measurement file of the names seen.
    void SaveNamesAsMeasurementFile();

    /// The windows, once made; nullptr before.
    SourcesWindow* sourcesWindow() const;
    LiveValuesWindow* liveValuesWindow() const;

private:
    InputSet& m_inputs;
    InputSettings m_settings;
    ServerLog& m_log;
    QWidget* m_window;
    QPointer<SourcesWindow> m_sources;
    QPointer<LiveValuesWindow> m_liveValues;
};

}  // namespace vexa::server
