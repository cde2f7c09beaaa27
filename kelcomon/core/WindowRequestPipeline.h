#pragma once

#include "StartRequestQueue.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

/// How the desktop turns window requests into windows, without the windows: a request thread
/// per request and the ordered queue they share with the GUI thread.
///
///     submit(request)            any thread; returns at once
///       -> queue (request order)
///       -> request thread: announce(), resolve(request), mark ready, requestReady()
///     takeReady()                GUI thread, on the create-window event: ready requests in order
///
/// `requestReady` posts the create-window event; every request posts exactly one, after it is
/// ready. The GUI thread takes the ready front requests on each event, so a request that was
/// ready before an earlier one is served with it, in order.
///
/// A hook that throws does not stop the request: it still becomes ready and still posts its
/// event. The destructor (or shutDown) refuses further requests and waits for the request
/// threads; the hooks must not wait for the GUI thread (they post, never send), so a GUI thread
/// that shuts the pipeline down cannot deadlock. Std-only, for a ThreadSanitizer build.
class WindowRequestPipeline final
{
public:
    struct Hooks
    {
        /// First thing on the request thread (the desktop writes its window list).
        std::function<void(const StartWindowData &)> announce;
        /// Finds and loads the request's program unit; may change the request.
        std::function<void(StartWindowData &)> resolve;
        /// The request is ready: post the create-window event.
        std::function<void()> requestReady;
    };

    explicit WindowRequestPipeline(Hooks hooks);
    ~WindowRequestPipeline();
    WindowRequestPipeline(const WindowRequestPipeline &) = delete;
    WindowRequestPipeline &operator=(const WindowRequestPipeline &) = delete;

    /// Queues `request` and starts its request thread (when the system has no thread to give,
    /// the request is served on the calling thread). False, with the request deleted, after
    /// shutDown.
    bool submit(std::unique_ptr<StartWindowData> request);

    /// The front request when it is ready (see StartRequestQueue::takeReady).
    std::unique_ptr<StartWindowData> takeReady();

    /// Requests queued and not taken.
    std::size_t pending() const { return m_queue.size(); }
    /// Request threads started and not yet finished.
    std::size_t runningThreads() const;

    /// Waits until every request thread started so far has finished.
    void waitForRequestThreads();
    /// Refuses further requests, waits for the request threads and deletes what is queued.
    void shutDown();

private:
    struct RequestThread
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void serve(StartRequestQueue::Ticket ticket, StartWindowData *request);
    /// Joins the threads that have finished; m_threadsMutex held.
    void reapFinished();

    Hooks m_hooks;
    StartRequestQueue m_queue;
    mutable std::mutex m_threadsMutex; // guards m_threads and m_closed
    std::list<RequestThread> m_threads;
    bool m_closed = false;
};
