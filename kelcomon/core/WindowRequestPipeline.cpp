#include "WindowRequestPipeline.h"

#include <system_error>

WindowRequestPipeline::WindowRequestPipeline(Hooks hooks)
    : m_hooks(std::move(hooks))
{}

WindowRequestPipeline::~WindowRequestPipeline()
{
    shutDown();
}

bool WindowRequestPipeline::submit(std::unique_ptr<StartWindowData> request)
{
    if (!request)
        return false;
    StartRequestQueue::Ticket ticket = 0;
    StartWindowData *at = nullptr;
    {
        std::lock_guard lock(m_threadsMutex);
        if (m_closed)
            return false;
        reapFinished();
        // Queued under the threads' lock, so the queue's order is the order of the submits.
        ticket = m_queue.append(std::move(request), &at);
        auto done = std::make_shared<std::atomic<bool>>(false);
        try {
            std::thread thread([this, ticket, at, done] {
                serve(ticket, at);
                done->store(true, std::memory_order_release);
            });
            m_threads.push_back({std::move(thread), std::move(done)});
            return true;
        } catch (const std::system_error &) {
            // No thread to be had: the request is served here instead, so that it does not
            // hold up the requests behind it.
        }
    }
    serve(ticket, at);
    return true;
}

void WindowRequestPipeline::serve(StartRequestQueue::Ticket ticket, StartWindowData *request)
{
    try {
        if (m_hooks.announce)
            m_hooks.announce(*request);
    } catch (...) {
    }
    try {
        if (m_hooks.resolve)
            m_hooks.resolve(*request);
    } catch (...) {
        // The factory still receives the request, as when its unit cannot be loaded.
    }
    m_queue.markReady(ticket);
    try {
        if (m_hooks.requestReady)
            m_hooks.requestReady();
    } catch (...) {
    }
}

std::unique_ptr<StartWindowData> WindowRequestPipeline::takeReady()
{
    return m_queue.takeReady();
}

std::size_t WindowRequestPipeline::runningThreads() const
{
    std::lock_guard lock(m_threadsMutex);
    std::size_t running = 0;
    for (const RequestThread &thread : m_threads)
        running += thread.done->load(std::memory_order_acquire) ? 0 : 1;
    return running;
}

void WindowRequestPipeline::reapFinished()
{
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        if (it->done->load(std::memory_order_acquire)) {
            it->thread.join();
            it = m_threads.erase(it);
        } else {
            ++it;
        }
    }
}

void WindowRequestPipeline::waitForRequestThreads()
{
    std::list<RequestThread> threads;
    {
        std::lock_guard lock(m_threadsMutex);
        threads.swap(m_threads);
    }
    for (RequestThread &thread : threads)
        thread.thread.join();
}

void WindowRequestPipeline::shutDown()
{
    {
        std::lock_guard lock(m_threadsMutex);
        m_closed = true;
    }
    waitForRequestThreads();
    m_queue.takeAll();
}
