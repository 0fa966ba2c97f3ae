#include "server/ServerTransport.h"

#include "server/DdeServer.h"
#include "server/TcpListener.h"
#include "server/engine/DataPath.h"

namespace vexa::server {

ServerTransport::ServerTransport(SampleEngine& engine, ServerLog& log, QWidget* window)
    : m_engine(engine), m_log(log), m_window(window)
{
}

ServerTransport::~ServerTransport()
{
    shutdown();
}

bool ServerTransport::start(int dataPath, int port)
{
    if (m_started)
        return false;
    m_started = true;
    m_dataPath = dataPath;
    if (dataPath == kDataPathDde) {
        m_dde = std::make_unique<DdeServer>(m_engine, m_log);
        return m_dde->start();
    }
    if (dataPath == kDataPathTcpIp) {
        m_tcp = std::make_unique<TcpListener>(m_engine, m_log, m_window);
        return m_tcp->start(port);
    }
    return true;
}

void ServerTransport::shutdown()
{
    // The transport objects stay until the program ends: a shut-down
    // transport answers nothing, and no handler of theirs that might still be
    // on the stack loses its object.
    if (m_dde != nullptr)
        m_dde->shutdown();
    if (m_tcp != nullptr)
        m_tcp->shutdown();
}

QString ServerTransport::connectionState() const
{
    if (m_dataPath == kDataPathDde)
        return m_dde != nullptr && m_dde->hasConversation() ? QStringLiteral("DDE") : QStringLiteral("No DDE");
    if (m_dataPath == kDataPathTcpIp)
        return m_tcp != nullptr && m_tcp->connectionCount() > 0 ? QStringLiteral("Ethernet")
                                                               : QStringLiteral("No Ethernet");
    return QString();
}

}  // namespace vexa::server
