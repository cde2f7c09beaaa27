// KelWindow: command dispatch, the "basic" command's worker thread, the hand-offs to the GUI
// thread, the close that waits for a running command, and the scroll-coupling toggles.

#include "KelWindow.h"

#include "CommandWorker.h"
#include "ICommandEvent.h"
#include "IEventBoundary.h"
#include "IException.h"
#include "IGuiThread.h"
#include "KelMsg.h"
#include "KelMsgException.h"
#include "KelWindowActions.h"
#include "KelresrcResourceIds.h"

#include <QApplication>

#include <chrono>
#include <exception>
#include <thread>

namespace {

/// How often a GUI thread that waits for a command looks again.
constexpr auto waitStep = std::chrono::milliseconds(2);

/// Shows the wait pointer over the whole application while a "simple" command runs on the GUI
/// thread, and takes it away however the command ends.
class WaitPointer final
{
public:
    WaitPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitPointer() { QApplication::restoreOverrideCursor(); }
    WaitPointer(const WaitPointer &) = delete;
    WaitPointer &operator=(const WaitPointer &) = delete;
};

} // namespace

bool KelWindow::command(ICommandEvent &event)
{
    const unsigned long id = event.commandId();
    XIAction *found = XIAction::find(id, QString(), this);
    if (!found)
        return false; // not an action of this window: the next handler may know it
    const QString category = found->category();
    if (category == exitCategory()) {
        found->performAction();
        return true;
    }
    if (!m_busy.tryEnter()) {
        beepBusy(); // the command is dropped
        return true;
    }
    m_commandId = id;
    if (category == basicCategory())
        startWorker(id);
    else
        runOnGuiThread(found);
    return true;
}

void KelWindow::runOnGuiThread(XIAction *action)
{
    const WaitPointer waitPointer;
    CommandWorker::Hooks hooks;
    hooks.logException = [this](const IException &exception) {
        if (isExceptionLogOn())
            KelCatch(exception);
    };
    CommandWorker::run([action] { action->performAction(); }, m_busy, moduleTag, hooks);
}

void KelWindow::startWorker(unsigned long commandId)
{
    // The previous command has ended (busy was clear); its thread is at most returning.
    m_worker.join();
    m_workerCommandId = commandId;
    ++m_workerGeneration;
    m_savedCursor = testAttribute(Qt::WA_SetCursor) ? std::optional<QCursor>(cursor())
                                                    : std::nullopt;
    setCursor(Qt::WaitCursor);
    if (!m_worker.start([this] { commandthread(); }, CommandThread::viewStackSize)) {
        // The system has no thread to give: the command runs here instead.
        restoreCursor();
        runOnGuiThread(XIAction::find(commandId, QString(), this));
    }
}

void KelWindow::commandthread()
{
    XIAction *action = XIAction::find(m_workerCommandId, QString(), this);
    const std::uint64_t generation = m_workerGeneration;
    CommandWorker::Hooks hooks;
    hooks.logException = [this](const IException &exception) {
        if (isExceptionLogOn())
            KelCatch(exception);
    };
    // The window exists until this thread has ended (its destructor waits), so posting to it
    // is safe; the GUI thread restores the pointer and runs a close that waited.
    hooks.finished = [this, generation] {
        QMetaObject::invokeMethod(
            this, [this, generation] { commandFinished(generation); }, Qt::QueuedConnection);
    };
    CommandWorker::run(
        [action] {
            if (action)
                action->performAction();
        },
        m_busy,
        moduleTag,
        hooks);
}

void KelWindow::commandFinished(std::uint64_t generation)
{
    if (generation != m_workerGeneration)
        return; // a later command has started since; it finishes for itself
    m_worker.join();
    restoreCursor();
    if (m_closePending) {
        m_closePending = false;
        close();
    }
}

void KelWindow::restoreCursor()
{
    if (m_savedCursor)
        setCursor(*m_savedCursor);
    else
        unsetCursor();
    m_savedCursor.reset();
}

void KelWindow::deferClose()
{
    m_closePending = true;
    hide();
}

void KelWindow::waitForCommand()
{
    while (m_worker.isRunning()) {
        IGuiThread::deliverWaitingCalls();
        std::this_thread::sleep_for(waitStep);
    }
    m_worker.join();
}

bool KelWindow::callOnGuiThread(const std::function<void()> &work)
{
    bool ran = false;
    std::exception_ptr failure;
    IGuiThread::call([&] {
        if (m_destroying)
            return;
        try {
            work();
            ran = true;
        } catch (const KelMsgException &) {
            // Its message travels with the exception; the GUI thread keeps none pending.
            KelMsg::clearPending();
            failure = std::current_exception();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const KelMsgException &exception) {
            KelMsg::setPending(exception.message());
            throw;
        }
    }
    return ran;
}

void KelWindow::postToGuiThread(std::function<void()> work)
{
    QMetaObject::invokeMethod(
        this,
        [this, work = std::move(work)] {
            if (m_destroying)
                return;
            IEventBoundary::call("A view's work handed to the GUI thread", [&] {
                work();
                return true;
            });
        },
        Qt::QueuedConnection);
}

unsigned long KelWindow::setrequestscroll()
{
    return toggle(m_requestScroll, KelRes::requestScrollCommand);
}

unsigned long KelWindow::setscrollonrequest()
{
    return toggle(m_scrollOnRequest, KelRes::scrollOnRequestCommand);
}

unsigned long KelWindow::setsurfonscroll()
{
    return toggle(m_surfOnScroll, KelRes::surfOnScrollCommand);
}

void KelWindow::setRequestScroll(bool on)
{
    m_requestScroll = on ? 1 : 0;
    showToggle(KelRes::requestScrollCommand, on);
}

void KelWindow::setScrollOnRequest(bool on)
{
    m_scrollOnRequest = on ? 1 : 0;
    showToggle(KelRes::scrollOnRequestCommand, on);
}

void KelWindow::setSurfOnScroll(bool on)
{
    m_surfOnScroll = on ? 1 : 0;
    showToggle(KelRes::surfOnScrollCommand, on);
}

unsigned long KelWindow::toggle(std::atomic<std::uint32_t> &flag, unsigned long commandId)
{
    const std::uint32_t value = flag.load() == 0 ? 1 : 0;
    flag.store(value);
    callOnGuiThread([this, commandId, value] { showToggle(commandId, value != 0); });
    return value;
}

void KelWindow::showToggle(unsigned long commandId, bool on)
{
    XIAction *toggleAction = nullptr;
    unsigned long offText = 0;
    unsigned long onText = 0;
    switch (commandId) {
    case KelRes::requestScrollCommand:
        toggleAction = m_requestScrollAction;
        offText = KelRes::requestScrollOff;
        onText = KelRes::requestScrollOn;
        break;
    case KelRes::scrollOnRequestCommand:
        toggleAction = m_scrollOnRequestAction;
        offText = KelRes::scrollOnRequestOff;
        onText = KelRes::scrollOnRequestOn;
        break;
    case KelRes::surfOnScrollCommand:
        toggleAction = m_surfOnScrollAction;
        offText = KelRes::surfOnScrollOff;
        onText = KelRes::surfOnScrollOn;
        break;
    default:
        return;
    }
    toggleAction->setLatched(on);
    toggleAction->setFlyOverTextFromResource(on ? onText : offText);
}
