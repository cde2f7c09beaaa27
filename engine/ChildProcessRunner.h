#pragma once

#include "ToolRunner.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class ConversionControl;
class ConversionObserver;

/// Runs tools as child processes (ChildProcess::run), each on a worker thread of its own: up to
/// `capacity` children at a time, every one in a slot of the control, so a cancel kills them
/// all. The observer hears of each child's start and end on the worker thread that runs it.
///
/// The destructor waits for every run still under way (it kills nothing: a cancel does), so no
/// child outlives the runner.
class ChildProcessRunner final : public ToolRunner
{
public:
    ChildProcessRunner(std::size_t capacity,
                       ConversionControl &control,
                       ConversionObserver *observer);
    ~ChildProcessRunner() override;
    ChildProcessRunner(const ChildProcessRunner &) = delete;
    ChildProcessRunner &operator=(const ChildProcessRunner &) = delete;

    std::size_t capacity() const override { return m_workers.size(); }
    std::size_t running() const override;
    void start(Job job) override;
    Completion next() override;

private:
    void work();

    ConversionControl &m_control;
    ConversionObserver *m_observer;

    mutable std::mutex m_lock;
    std::condition_variable m_jobQueued; // a job waits in m_queued, or the runner ends
    std::condition_variable m_jobEnded;  // a completion waits in m_ended
    std::deque<Job> m_queued;            // guarded by m_lock
    std::deque<Completion> m_ended;      // guarded by m_lock
    std::size_t m_running = 0;           // guarded by m_lock: started, not yet handed back
    bool m_stopping = false;             // guarded by m_lock
    std::vector<std::thread> m_workers;
};
