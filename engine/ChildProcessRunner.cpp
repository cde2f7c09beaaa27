#include "ChildProcessRunner.h"

#include <cerrno>
#include <exception>
#include <new>

ChildProcessRunner::ChildProcessRunner(std::size_t capacity,
                                       ConversionControl &control,
                                       ConversionObserver *observer)
    : m_control(control)
    , m_observer(observer)
{
    const std::size_t workers = capacity > 0 ? capacity : 1;
    m_workers.reserve(workers);
    for (std::size_t i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

ChildProcessRunner::~ChildProcessRunner()
{
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    m_jobQueued.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

std::size_t ChildProcessRunner::running() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_running;
}

void ChildProcessRunner::start(Job job)
{
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        ++m_running;
        m_queued.push_back(std::move(job));
    }
    m_jobQueued.notify_one();
}

ToolRunner::Completion ChildProcessRunner::next()
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_jobEnded.wait(guard, [this] { return !m_ended.empty(); });
    Completion completion = std::move(m_ended.front());
    m_ended.pop_front();
    --m_running;
    return completion;
}

void ChildProcessRunner::work()
{
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> guard(m_lock);
            // Queued jobs are run even when the runner is ending: their children must not be
            // left unstarted with a caller waiting, nor started after the runner has gone.
            m_jobQueued.wait(guard, [this] { return m_stopping || !m_queued.empty(); });
            if (m_queued.empty())
                return;
            job = std::move(m_queued.front());
            m_queued.pop_front();
        }
        Completion completion;
        completion.tag = job.tag;
        // No exception may leave the worker: a run that could not be made is a start failure.
        try {
            completion.result = ChildProcess::run(job.program,
                                                  job.arguments,
                                                  job.workingDirectory,
                                                  job.environment,
                                                  m_control,
                                                  m_observer);
        } catch (const std::bad_alloc &) {
            completion.result = {};
            completion.result.startError = ENOMEM;
        } catch (const std::exception &) {
            completion.result = {};
            completion.result.startError = EIO;
        }
        {
            const std::lock_guard<std::mutex> guard(m_lock);
            m_ended.push_back(std::move(completion));
        }
        m_jobEnded.notify_one();
    }
}
