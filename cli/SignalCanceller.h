#pragma once

#include <pthread.h>

#include <atomic>
#include <thread>

class ConversionControl;

/// Turns SIGINT, SIGTERM and SIGHUP (the terminal has gone) into the engine's cancel operation,
/// exactly as the wizard's Cancel button does. While an instance lives, these signals are
/// blocked in the calling thread (and so in every thread it starts) and a thread of its own
/// waits for them with `sigwait`.
///
/// Construct it before any other thread is started.
class SignalCanceller final
{
public:
    explicit SignalCanceller(ConversionControl &control);
    ~SignalCanceller();
    SignalCanceller(const SignalCanceller &) = delete;
    SignalCanceller &operator=(const SignalCanceller &) = delete;

    /// The signal that cancelled the run, 0 when none.
    int signalReceived() const { return m_signal.load(); }

private:
    void wait();

    ConversionControl &m_control;
    std::atomic<int> m_signal = 0;
    std::atomic<bool> m_stopping = false;
    sigset_t m_previousMask;
    pthread_t m_waiterHandle{};
    std::thread m_waiter;
};
