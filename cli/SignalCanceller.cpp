#include "SignalCanceller.h"

#include "ConversionControl.h"

#include <csignal>

namespace {

// SIGUSR1 only wakes the waiting thread when the instance goes away.
sigset_t handledSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    sigaddset(&signals, SIGUSR1);
    return signals;
}

} // namespace

SignalCanceller::SignalCanceller(ConversionControl &control)
    : m_control(control)
{
    const sigset_t signals = handledSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &m_previousMask);
    m_waiter = std::thread([this] { wait(); });
    m_waiterHandle = m_waiter.native_handle();
}

SignalCanceller::~SignalCanceller()
{
    m_stopping.store(true);
    pthread_kill(m_waiterHandle, SIGUSR1);
    m_waiter.join();
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
}

void SignalCanceller::wait()
{
    const sigset_t signals = handledSignals();
    while (!m_stopping.load()) {
        int signal = 0;
        if (sigwait(&signals, &signal) != 0)
            continue;
        if (signal == SIGINT || signal == SIGTERM || signal == SIGHUP) {
            int none = 0;
            m_signal.compare_exchange_strong(none, signal);
            m_control.cancel();
        }
    }
}
