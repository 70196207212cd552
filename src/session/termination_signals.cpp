#include "session/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a descriptor: the other end is read in the event loop.
int g_pipe[2] = {-1, -1};

}  // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    // Non-blocking: a handler never waits, and a full socket already holds a request.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &action, nullptr);
}

void TerminationSignals::watchUserSignal()
{
    if (!m_notifier)
        return;
    struct sigaction action {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGUSR1, &action, nullptr);
    m_watchesUserSignal = true;
}

TerminationSignals::~TerminationSignals()
{
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::signal(s, SIG_DFL);
    if (m_watchesUserSignal)
        ::signal(SIGUSR1, SIG_DFL);
    delete m_notifier;
    for (int &fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::handle(int signalNumber)
{
    // The code the signal interrupted may be about to read errno.
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
    errno = savedErrno;
}

void TerminationSignals::readSignal()
{
    // Requests to end that came together are one; each user signal counts.
    char bytes[64];
    const ssize_t n = ::read(g_pipe[1], bytes, sizeof bytes);
    int ending = 0;
    int users = 0;
    for (ssize_t i = 0; i < n; ++i) {
        if (bytes[i] == char(SIGUSR1))
            ++users;
        else if (!ending)
            ending = bytes[i];
    }
    for (int i = 0; i < users; ++i)
        emit userSignal();
    if (ending)
        emit requested(ending);
}
