#include "SignalQuit.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here: the event loop does the rest.
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace
#endif
// Elsewhere (Windows) a session's end reaches the application as a close event.

SignalQuit::SignalQuit(QObject *parent)
    : QObject(parent)
{
#ifdef Q_OS_UNIX
    // Close-on-exec, so the tools Tessaly starts do not inherit it. SOCK_CLOEXEC is
    // Linux's and the BSDs', not macOS's; no tool starts before this runs.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    for (const int fd : signalPipe)
        ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char byte;
        [[maybe_unused]] const auto read = ::read(signalPipe[0], &byte, 1);
        // exit, not quit: an open sheet may refuse to close, and a stop must not be refused.
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : { SIGTERM, SIGINT, SIGHUP })
        ::sigaction(signal, &action, nullptr);
#endif
}

SignalQuit::~SignalQuit()
{
#ifdef Q_OS_UNIX
    for (int signal : { SIGTERM, SIGINT, SIGHUP })
        ::signal(signal, SIG_DFL);
    delete m_notifier;
    for (int &fd : signalPipe) {
        if (fd >= 0)
            ::close(std::exchange(fd, -1));
    }
#endif
}
