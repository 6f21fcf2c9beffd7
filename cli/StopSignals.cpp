#include "StopSignals.h"

#include <QSocketNotifier>
#include <csignal>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace ornis::cli {

QString StopSignals::receivedName() const
{
    switch (received_) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
#ifdef SIGHUP
    case SIGHUP:
        return QStringLiteral("SIGHUP");
#endif
    default:
        return QStringLiteral("signal %1").arg(received_);
    }
}

#ifndef _WIN32

namespace {

constexpr int HandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

int wakeSockets[2] = {-1, -1}; // [0] read by the notifier, [1] written by the handler
volatile sig_atomic_t signalSeen = 0;

// Async-signal-safe only: a flag, write() and _exit().
void onSignal(int number)
{
    if (signalSeen != 0)
        ::_exit(128 + number);
    signalSeen = number;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeSockets[1], &byte, 1);
}

void handleSignals(void (*handler)(int))
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : HandledSignals)
        ::sigaction(number, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeSockets) != 0)
        return; // no stop by signal, as before; the transfer still ends by itself
    ::fcntl(wakeSockets[1], F_SETFL, O_NONBLOCK);
    signalSeen = 0;
    notifier_ = new QSocketNotifier(wakeSockets[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::takeSignal);
    handleSignals(onSignal);
}

StopSignals::~StopSignals()
{
    if (!notifier_)
        return;
    handleSignals(SIG_DFL);
    delete notifier_;
    for (int &socket : wakeSockets) {
        ::close(socket);
        socket = -1;
    }
}

void StopSignals::takeSignal()
{
    unsigned char byte = 0;
    if (::read(wakeSockets[0], &byte, 1) != 1 || received_ != 0)
        return;
    received_ = byte;
    emit stopRequested(received_);
}

#else

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
}

StopSignals::~StopSignals() = default;

void StopSignals::takeSignal() { }

#endif

} // namespace ornis::cli
