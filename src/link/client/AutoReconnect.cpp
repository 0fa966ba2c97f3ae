#include "AutoReconnect.h"

#include "DataLink.h"
#include "LinkHost.h"

#include <algorithm>
#include <utility>

namespace vexa::link {

namespace {

constexpr int kTickMs = 1000;

}  // namespace

AutoReconnect::AutoReconnect(DataLink& link, LinkHost& host, std::function<bool()> graphsOpen, QObject* parent)
    : QObject(parent), m_link(link), m_host(host), m_graphsOpen(std::move(graphsOpen))
{
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &AutoReconnect::onTick);
    connect(&m_link, &DataLink::linkFailed, this, &AutoReconnect::onLinkFailed);
}

void AutoReconnect::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled)
        stop();
}

void AutoReconnect::stop()
{
    if (!m_tick.isActive())
        return;
    m_tick.stop();
    // The countdown leaves the field as a closed link has it.
    if (!m_link.isConnected())
        m_host.showConnection(QString());
}

void AutoReconnect::onLinkFailed()
{
    if (!m_enabled)
        return;
    // Each failure starts afresh: the link was open since the last one.
    m_delaySeconds = kFirstDelaySeconds;
    waitSeconds(m_delaySeconds);
}

void AutoReconnect::waitSeconds(int seconds)
{
    m_secondsLeft = seconds;
    m_host.showConnection(QString::fromLatin1(kCountdownText).arg(m_secondsLeft));
    m_tick.start();
}

void AutoReconnect::onTick()
{
    // The user may have reconnected by hand meanwhile.
    if (m_link.isConnected()) {
        m_tick.stop();
        return;
    }
    if (--m_secondsLeft > 0) {
        m_host.showConnection(QString::fromLatin1(kCountdownText).arg(m_secondsLeft));
        return;
    }
    m_tick.stop();
    tryNow();
}

void AutoReconnect::tryNow()
{
    if (m_link.Reconnect(m_graphsOpen()))
        return;
    // A layout that could not go after all was a failure of its own, told
    // with its box, and its wait has begun already.
    if (m_tick.isActive())
        return;
    m_delaySeconds = std::min(2 * m_delaySeconds, kLongestDelaySeconds);
    waitSeconds(m_delaySeconds);
}

}  // namespace vexa::link
