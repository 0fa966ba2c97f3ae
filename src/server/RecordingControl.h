#pragma once

#include "server/recording/Recorder.h"
#include "server/recording/RecordingOptions.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

namespace vexa::server {

class InputSet;
class SampleEngine;
class ServerLog;
class ServerMenu;

/// Recording as the server's user sees it: File > "Record" with its check
/// mark, the settings' "Record" and "RecordFolder", and --record FOLDER.
/// It puts the recorder between the inputs and the engine's generators
/// while a recording runs, and tells the Sources window how it stands.
class RecordingControl : public QObject {
    Q_OBJECT

public:
    RecordingControl(const std::string& settingsFile, SampleEngine& engine, InputSet& inputs, ServerMenu& menu,
                     ServerLog& log, QObject* parent = nullptr);

    /// The folder given on the command line, which records from the start
    /// and wins over the settings file's for this run.
    void setFolderOverride(std::optional<QString> folder) { m_folderOverride = std::move(folder); }

    /// At the server's start: records when the command line or the
    /// settings file asks for it.
    void Start();
    /// File > "Record": starts or stops a recording.
    void Toggle();
    /// At the server's end: stops a recording that runs.
    void Stop();

    const recording::Recorder& recorder() const { return m_recorder; }
    /// Where a recording started now goes.
    QString folder() const;

private:
    void Record();
    void Update();

    recording::RecordingSettings m_settings;
    SampleEngine& m_engine;
    InputSet& m_inputs;
    ServerMenu& m_menu;
    recording::Recorder m_recorder;
    std::optional<QString> m_folderOverride;
};

}  // namespace vexa::server
