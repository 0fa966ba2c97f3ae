#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vexa {

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

/// The pipe the handler writes into: [0] read end, [1] write end.
std::array<int, 2> g_pipe{-1, -1};

/// Only what is safe in a signal handler: one write into the pipe.
void OnSignal(int signal)
{
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void RestoreDefaults()
{
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (m_notifier == nullptr)
        return;
    RestoreDefaults();
    ::close(std::exchange(g_pipe[0], -1));
    ::close(std::exchange(g_pipe[1], -1));
}

void TerminationSignals::onReadable()
{
    char bytes[16];
    bool any = false;
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0)
        any = true;
    if (any && m_onSignal)
        m_onSignal();
}

int TerminationSignalDescriptor()
{
    return g_pipe[0];
}

bool IsTerminationPending()
{
    if (g_pipe[0] < 0)
        return false;
    pollfd watched{g_pipe[0], POLLIN, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & POLLIN) != 0;
}

}  // namespace vexa
