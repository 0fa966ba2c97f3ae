#include "server/RecordingControl.h"

#include "server/ServerMenu.h"
#include "server/engine/SampleEngine.h"
#include "server/inputs/InputSet.h"

#include <QAction>

namespace vexa::server {

RecordingControl::RecordingControl(const std::string& settingsFile, SampleEngine& engine, InputSet& inputs,
                                   ServerMenu& menu, ServerLog& log, QObject* parent)
    : QObject(parent), m_settings(settingsFile), m_engine(engine), m_inputs(inputs), m_menu(menu), m_recorder(log)
{
    connect(&m_recorder, &recording::Recorder::stateChanged, this, &RecordingControl::Update);
}

QString RecordingControl::folder() const
{
    return m_folderOverride.value_or(m_settings.folder());
}

void RecordingControl::Start()
{
    if (m_folderOverride.has_value() || m_settings.isRecordingAtStart())
        Record();
}

void RecordingControl::Toggle()
{
    if (m_recorder.isRecording())
        Stop();
    else
        Record();
}

void RecordingControl::Record()
{
    m_recorder.Start(folder(), m_engine.isSimulating());
}

void RecordingControl::Stop()
{
    m_recorder.Stop();
}

void RecordingControl::Update()
{
    // The recorder is fed only while it records, so that the inputs and the
    // generators pay nothing otherwise.
    const bool recording = m_recorder.isRecording();
    m_inputs.setTap(recording ? &m_recorder : nullptr);
    if (recording) {
        m_engine.setGeneratorTap(
            [this](std::string_view name, double value) { m_recorder.SimulatedValue(name, value); });
    } else {
        m_engine.setGeneratorTap({});
    }
    m_menu.action(ServerCommand::Record)->setChecked(recording);
    m_inputs.setNotice(m_recorder.notice());
}

}  // namespace vexa::server
