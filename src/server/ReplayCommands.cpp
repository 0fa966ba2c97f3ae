#include "server/ReplayCommands.h"

#include "server/ReplayWindow.h"
#include "server/engine/SampleEngine.h"
#include "server/inputs/InputSet.h"
#include "server/replay/ReplayInput.h"

namespace vexa::server {

ReplayCommands::ReplayCommands(InputSet& inputs, SampleEngine& engine, ServerLog& log, QWidget* window)
    : m_replay(inputs.AddInput<ReplayInput>()), m_log(log), m_owner(window)
{
    QObject::connect(&m_replay, &ReplayInput::replayChanged, window, [this, &engine] {
        if (m_replay.isOpen())
            engine.setClock([this] { return m_replay.timeOfDay(); });
        else
            engine.setClock({});
    });
}

void ReplayCommands::Start(const ReplayOptions& options)
{
    m_replay.setSpeed(options.speed);
    m_replay.setLoop(options.loop);
    if (options.replayFile.isEmpty())
        return;
    if (m_replay.Open(options.replayFile, options.from, options.to))
        m_replay.Play();
}

ReplayWindow* ReplayCommands::replayWindow() const
{
    return m_window;
}

void ReplayCommands::ShowReplay()
{
    if (m_window == nullptr)
        m_window = new ReplayWindow(m_replay, m_log, m_owner);
    m_window->show();
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->raise();
    m_window->activateWindow();
}

}  // namespace vexa::server
