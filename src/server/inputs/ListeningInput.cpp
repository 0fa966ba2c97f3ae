#include "server/inputs/ListeningInput.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vexa::server {

ListeningInput::ListeningInput(QString name, int index, int InputsConfig::*port, ValueTable& table, ServerLog& log,
                               QObject* parent)
    : LiveInput(std::move(name), index, table, log, parent), m_portField(port)
{
}

void ListeningInput::Apply(const InputsConfig& config)
{
    const int port = config.*m_portField;
    const bool unchanged = port == m_port && config.bindAddress == m_bindAddress;
    if (unchanged && state() != InputState::Failed)
        return;
    if (state() != InputState::Off) {
        Close();
        setState(InputState::Off, QString());
    }
    m_port = port;
    m_bindAddress = config.bindAddress;
    if (m_port == 0)
        return;
    QString failure;
    if (Listen(&failure))
        setState(InputState::Listening, endpoint());
    else
        setState(InputState::Failed, failure);
}

QString ListeningInput::endpoint() const
{
    const QString address = QString::fromLatin1(m_bindAddress);
    return (address.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2"))
        .arg(address)
        .arg(m_port);
}

QString ListeningInput::SystemFailure(const QString& what, int err)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(err)));
}

sockets::Socket ListeningInput::OpenBoundSocket(int type, QString* failure) const
{
    sockaddr_storage address{};
    socklen_t length = 0;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET, m_bindAddress.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(quint16(m_port));
        length = sizeof *v4;
    } else if (inet_pton(AF_INET6, m_bindAddress.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(quint16(m_port));
        length = sizeof *v6;
    } else {
        *failure = QStringLiteral("\"%1\" is not a numeric address").arg(QString::fromLatin1(m_bindAddress));
        return {};
    }

    sockets::Socket socket(::socket(address.ss_family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.isValid()) {
        *failure = SystemFailure(QStringLiteral("cannot open a socket"), errno);
        return {};
    }
    if (type == SOCK_STREAM) {
        // A restart must not wait for the old connections' time-out.
        const int on = 1;
        setsockopt(socket.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (::bind(socket.fd(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        *failure = SystemFailure(QStringLiteral("cannot bind %1").arg(endpoint()), errno);
        return {};
    }
    return socket;
}

}  // namespace vexa::server
