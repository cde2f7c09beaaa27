#include "IGuiThread.h"

#include "IEventBoundary.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <mutex>

namespace {

std::mutex receiverMutex; // guards receiverObject

QPointer<QObject> &receiverObject()
{
    static QPointer<QObject> receiver;
    return receiver;
}

/// The object the waiting calls are queued on, made on first use and moved to the GUI thread.
/// A child of the application, so it goes with it.
QObject *receiver(QCoreApplication *application)
{
    std::lock_guard lock(receiverMutex);
    QPointer<QObject> &receiver = receiverObject();
    if (!receiver || receiver->thread() != application->thread()) {
        auto *made = new QObject;
        made->setObjectName(QStringLiteral("guiThreadCalls"));
        if (made->thread() == application->thread()) {
            made->setParent(application);
        } else {
            // A parent must live on its child's thread when it is set: moved first, then
            // parented by a queued call on the GUI thread.
            made->moveToThread(application->thread());
            QMetaObject::invokeMethod(
                application,
                [made, application] { made->setParent(application); },
                Qt::QueuedConnection);
        }
        receiver = made;
    }
    return receiver;
}

} // namespace

namespace IGuiThread {

bool isGuiThread()
{
    QCoreApplication *application = QCoreApplication::instance();
    return !application || QThread::currentThread() == application->thread();
}

bool call(const std::function<void()> &work)
{
    const auto run = [&] {
        return IEventBoundary::call("A call handed to the GUI thread", [&] {
            work();
            return true;
        });
    };
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread())
        return run();
    bool done = false;
    QMetaObject::invokeMethod(
        receiver(application), [&] { done = run(); }, Qt::BlockingQueuedConnection);
    return done;
}

void deliverWaitingCalls()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return;
    QCoreApplication::sendPostedEvents(receiver(application), QEvent::MetaCall);
}

} // namespace IGuiThread
