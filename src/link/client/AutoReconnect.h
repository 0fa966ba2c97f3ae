#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace vexa::link {

class DataLink;
class LinkHost;

/// "Reconnect Automatically": once a link failure has been told and its box
/// answered, the link is opened again on its own, first after 1 s, then
/// after twice as long each time it still cannot be opened, up to 30 s
/// between tries. The connection field counts the seconds down meanwhile.
/// The tries are quiet: the user hears of the next failure of an open link,
/// never of a try that found no server.
class AutoReconnect : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstDelaySeconds = 1;
    static constexpr int kLongestDelaySeconds = 30;
    /// The connection field while a try is due; %1 is the seconds left.
    static constexpr const char* kCountdownText = "Reconnecting in %1 s";

    /// \p graphsOpen tells whether the layout goes again once connected.
    AutoReconnect(DataLink& link, LinkHost& host, std::function<bool()> graphsOpen, QObject* parent = nullptr);

    /// Off by default; turning it off drops a try that is due.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

private:
    /// Drops a try that is due.
    void stop();
    void onLinkFailed();
    void waitSeconds(int seconds);
    void onTick();
    void tryNow();

    DataLink& m_link;
    LinkHost& m_host;
    std::function<bool()> m_graphsOpen;
    QTimer m_tick;
    bool m_enabled = false;
    int m_delaySeconds = kFirstDelaySeconds;
    int m_secondsLeft = 0;
};

}  // namespace vexa::link
