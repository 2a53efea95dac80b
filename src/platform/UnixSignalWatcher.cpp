#include "platform/UnixSignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <ctime>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};

// Longer than the shut-down takes when the radio answers nothing at all.
constexpr time_t ShutdownGraceSeconds = 15;

enum Delivery : int { EndAtOnce, Deliver, Delivered };
volatile sig_atomic_t g_delivery = EndAtOnce;
volatile time_t g_firstDelivery = 0;

time_t monotonicSeconds()
{
    timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec;
}

void endAtOnce(int signalNumber)
{
    // Blocked while this handler runs: the default action takes it as soon as it returns.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void onSignal(int signalNumber)
{
    // A second request while the shut-down of the first runs is dropped by the shut-down itself,
    // unless that shut-down is stuck.
    if (g_delivery == EndAtOnce ||
        (g_delivery == Delivered && monotonicSeconds() - g_firstDelivery > ShutdownGraceSeconds)) {
        endAtOnce(signalNumber);
        return;
    }
    if (g_delivery == Deliver) {
        g_delivery = Delivered;
        g_firstDelivery = monotonicSeconds();
    }
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (::write(g_pipe[1], &byte, 1) != 1)
        endAtOnce(signalNumber);
}
} // namespace

void UnixSignalWatcher::installEarly(std::initializer_list<int> signalNumbers,
                                     std::initializer_list<int> unlessIgnored)
{
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : signalNumbers)
        ::sigaction(number, &action, nullptr);
    for (int number : unlessIgnored) {
        struct sigaction inherited = {};
        if (::sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            continue;
        ::sigaction(number, &action, nullptr);
    }
}

void UnixSignalWatcher::ignore(std::initializer_list<int> signalNumbers)
{
    for (int number : signalNumbers)
        ::signal(number, SIG_IGN);
}

UnixSignalWatcher::UnixSignalWatcher(QObject *parent) : QObject(parent)
{
    if (g_pipe[0] < 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        if (::read(g_pipe[0], &byte, 1) == 1)
            emit received(byte);
    });
}

UnixSignalWatcher::~UnixSignalWatcher() = default;

void UnixSignalWatcher::startDelivering()
{
    if (g_delivery == EndAtOnce)
        g_delivery = Deliver;
}
