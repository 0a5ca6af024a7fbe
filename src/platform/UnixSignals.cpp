#include "platform/UnixSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// One pair per process: a signal handler can reach nothing but globals.
int g_sockets[2] = {-1, -1};

void handleSignal(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_sockets[0], &byte, 1);
}
} // namespace

UnixSignals::UnixSignals(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_sockets) != 0)
        return;
    m_notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : signalNumbers)
        ::sigaction(signalNumber, &action, nullptr);
}

UnixSignals::~UnixSignals()
{
    if (g_sockets[0] < 0)
        return;
    delete m_notifier;
    const int sockets[2] = {g_sockets[0], g_sockets[1]};
    g_sockets[0] = g_sockets[1] = -1;
    ::close(sockets[0]);
    ::close(sockets[1]);
}

void UnixSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_sockets[1], &byte, 1) == 1)
        emit received(byte);
}
