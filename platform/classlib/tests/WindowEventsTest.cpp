#include "ICommandEvent.h"
#include "ICommandHandler.h"
#include "IEventTypes.h"
#include "IException.h"
#include "IFrameWindow.h"
#include "IGuiThread.h"
#include "ISystemCommandEvent.h"
#include "IUserEvent.h"
#include "IWindowHandle.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

constexpr int testEvent = IEventTypes::canShowQuery;

/// A frame that records the user events it gets and answers the query with p1 + p2.
class RecordingFrame : public IFrameWindow
{
public:
    using IFrameWindow::IFrameWindow;

    QList<std::pair<unsigned long, unsigned long>> received;
    QList<ISystemCommandEvent::Origin> systemOrigins;
    QList<unsigned long> systemCodes;
    QList<unsigned long> commands;
    bool consumeSystemCommands = false;

protected:
    bool userEvent(IUserEvent &event) override
    {
        received.append({event.parameter1(), event.parameter2()});
        event.setResult(event.parameter1() + event.parameter2());
        return true;
    }
    bool systemCommand(ISystemCommandEvent &event) override
    {
        systemCodes.append(event.commandCode());
        systemOrigins.append(event.origin());
        return consumeSystemCommands;
    }
    bool command(ICommandEvent &event) override
    {
        commands.append(event.commandId());
        return event.commandId() == 0x6002;
    }
};

/// A handler that takes commands 0x6076, throws on 0x6666 and takes Close when asked to.
class TestHandler : public ICommandHandler
{
public:
    bool takeClose = false;
    QList<unsigned long> seen;

protected:
    bool command(ICommandEvent &event) override
    {
        seen.append(event.commandId());
        if (event.commandId() == 0x6666)
            throw std::runtime_error("handler failure");
        return event.commandId() == 0x6076;
    }
    bool systemCommand(ISystemCommandEvent &event) override
    {
        seen.append(event.commandCode());
        return takeClose && event.command() == ISystemCommand::Close;
    }
};

} // namespace

/// Window handles, user events posted and sent (also from other threads), commands, system
/// commands with their default processing, and the frame window's reports of closes and state
/// changes.
class WindowEventsTest : public QObject
{
    Q_OBJECT

private slots:
    void handlesNameOneWindowAndKnowWhenItHasGone()
    {
        auto first = std::make_unique<RecordingFrame>();
        RecordingFrame second;
        const IWindowHandle handle = first->handle();
        QVERIFY(!handle.isNull());
        QCOMPARE(IWindowHandle::of(first.get()), handle);
        QVERIFY(second.handle() != handle);
        QCOMPARE(IWindowHandle(handle.asUnsigned()).window(), first.get());
        QVERIFY(handle.isValid());

        first.reset();
        QVERIFY(!handle.isValid());
        QCOMPARE(handle.window(), nullptr);
        QVERIFY_THROWS_EXCEPTION(IAccessError, handle.postEvent(testEvent, 1, 2));
        QVERIFY_THROWS_EXCEPTION(IAccessError, handle.sendEvent(testEvent, 1, 2));
        QVERIFY_THROWS_EXCEPTION(IAccessError, handle.postSystemCommand(ISystemCommand::Close));
        RecordingFrame third;
        QVERIFY2(third.handle().asUnsigned() > second.handle().asUnsigned(), "never reused");
        QVERIFY(IWindowHandle().isNull() && !IWindowHandle().isValid());
    }

    void postedEventsArriveLaterAndSentOnesAnswer()
    {
        RecordingFrame frame;
        frame.handle().postEvent(testEvent, 3, 4);
        QVERIFY(frame.received.isEmpty());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(frame.received.size(), 1);
        QCOMPARE(frame.received.first(), std::make_pair(3ul, 4ul));
        QCOMPARE(frame.handle().sendEvent(testEvent, 20, 22), 42ul);

        // A window that does not handle the event answers 0.
        IFrameWindow silent;
        QCOMPARE(silent.handle().sendEvent(testEvent, 20, 22), 0ul);
    }

    void anEventPostedToAWindowThatGoesIsDropped()
    {
        auto frame = std::make_unique<RecordingFrame>();
        frame->handle().postEvent(testEvent, 1, 1);
        frame.reset();
        QCoreApplication::sendPostedEvents(); // nothing delivered to freed memory (ASan)
    }

    void otherThreadsPostAndSendThroughTheGuiThread()
    {
        RecordingFrame frame;
        const IWindowHandle handle = frame.handle();
        unsigned long answer = 0;
        bool postedFromThread = false;
        std::thread worker([&] {
            handle.postEvent(testEvent, 1, 2);
            postedFromThread = true;
            answer = handle.sendEvent(testEvent, 40, 2); // waits for the GUI thread
        });
        QTRY_VERIFY(postedFromThread && answer == 42);
        worker.join();
        QCOMPARE(frame.received.size(), 2);

        auto gone = std::make_unique<RecordingFrame>();
        const IWindowHandle goneHandle = gone->handle();
        gone.reset();
        bool threw = false;
        std::thread late([&] {
            try {
                goneHandle.sendEvent(testEvent, 1, 1);
            } catch (const IAccessError &) {
                threw = true;
            }
        });
        QTRY_VERIFY(threw);
        late.join();
    }

    void aGuiThreadWaitingForAWorkerDeliversOnlyTheCallsItWaitsFor()
    {
        RecordingFrame frame;
        const IWindowHandle handle = frame.handle();
        frame.handle().postEvent(testEvent, 7, 7); // an ordinary posted event: stays queued
        std::atomic<bool> done = false;
        unsigned long answer = 0;
        bool called = false;
        std::thread worker([&] {
            answer = handle.sendEvent(testEvent, 40, 2);
            called = IGuiThread::call([&] { frame.setWindowTitle(QStringLiteral("from worker")); });
            done = true;
        });
        // As a window that goes waits for its command: no event loop, only the waiting calls.
        while (!done) {
            IGuiThread::deliverWaitingCalls();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        worker.join();
        QCOMPARE(answer, 42ul);
        QVERIFY(called);
        QCOMPARE(frame.windowTitle(), QStringLiteral("from worker"));
        QCOMPARE(frame.received.size(), 1); // the posted event has not been delivered yet
        QCoreApplication::sendPostedEvents();
        QCOMPARE(frame.received.size(), 2);
        QVERIFY(IGuiThread::isGuiThread());
        QVERIFY(!IGuiThread::call([] { throw std::runtime_error("caught on the GUI thread"); }));
    }

    void illegalEventNumbersAreRefusedAndOursAreReserved()
    {
        QVERIFY_THROWS_EXCEPTION(IInvalidRequest, IUserEvent(0x112));
        QVERIFY_THROWS_EXCEPTION(IInvalidRequest, IUserEvent(70000));
        QVERIFY(IEventTypes::reserveAll().isEmpty());
        for (int i = 0; i < 200; ++i) {
            const int type = QEvent::registerEventType();
            QVERIFY(type != IEventTypes::registryNotification && type != IEventTypes::canShowQuery
                    && type != IEventTypes::command && type != IEventTypes::systemCommand);
        }
    }

    void commandsGoToHandlersFirstThenToTheFrame()
    {
        RecordingFrame frame;
        TestHandler handler;
        handler.handleEventsFor(&frame);
        QVERIFY(ICommandEvent::send(&frame, 0x6076));  // taken by the handler
        QVERIFY(ICommandEvent::send(&frame, 0x6002));  // taken by the frame
        QVERIFY(!ICommandEvent::send(&frame, 0x6003)); // nobody
        QVERIFY(!ICommandEvent::send(&frame, 0x6666)); // the handler threw: not handled
        QCOMPARE(handler.seen, QList<unsigned long>({0x6076, 0x6002, 0x6003, 0x6666}));
        QCOMPARE(frame.commands, QList<unsigned long>({0x6002, 0x6003, 0x6666}));
        handler.stopHandlingEventsFor(&frame);
        QVERIFY(!ICommandEvent::send(&frame, 0x6076));
    }

    void systemCommandsGetTheirDefaultUnlessTaken()
    {
        RecordingFrame frame;
        frame.show();
        // The platform confirms each state change later; let it before the next step, as a
        // user's clicks would.
        const auto send = [&](ISystemCommand command) {
            const bool handled = frame.handle().sendSystemCommand(command);
            QCoreApplication::processEvents();
            return handled;
        };
        QVERIFY(!send(ISystemCommand::Maximize));
        QVERIFY(frame.isMaximized());
        QVERIFY(!send(ISystemCommand::Minimize));
        QVERIFY(frame.isMinimized());
        QVERIFY(!send(ISystemCommand::Restore));
        QVERIFY(!frame.isMinimized() && !frame.isMaximized());
        // The frame's own default processing is not reported again.
        QCOMPARE(frame.systemOrigins.count(ISystemCommandEvent::Origin::StateChanged), 0);

        frame.consumeSystemCommands = true;
        QVERIFY(send(ISystemCommand::Maximize));
        QVERIFY(!frame.isMaximized());

        // Posted: runs after the current event.
        frame.consumeSystemCommands = false;
        frame.handle().postSystemCommand(ISystemCommand::Hide);
        QVERIFY(frame.isVisible());
        QTRY_VERIFY(!frame.isVisible());
        QCOMPARE(frame.systemCodes.last(), static_cast<unsigned long>(ISystemCommand::Hide));
    }

    void closesAndStateChangesAreReportedAsSystemCommands()
    {
        QPointer<RecordingFrame> frame = new RecordingFrame;
        frame->setAttribute(Qt::WA_DeleteOnClose);
        TestHandler handler;
        handler.handleEventsFor(frame);
        frame->show();

        frame->showMaximized(); // as the title bar's button does
        QCoreApplication::processEvents();
        QCOMPARE(frame->systemCodes.last(), static_cast<unsigned long>(ISystemCommand::Maximize));
        QCOMPARE(frame->systemOrigins.last(), ISystemCommandEvent::Origin::StateChanged);
        frame->consumeSystemCommands = true;
        frame->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(frame->systemCodes.last(), static_cast<unsigned long>(ISystemCommand::Restore));
        QVERIFY2(frame->isMaximized(), "a taken state change is put back");
        frame->consumeSystemCommands = false;

        handler.takeClose = true;
        QVERIFY(!frame->close());
        QVERIFY(frame->isVisible());
        QCOMPARE(handler.seen.last(), static_cast<unsigned long>(ISystemCommand::Close));

        handler.takeClose = false;
        const int closesBefore = frame->systemCodes.count(0xF060);
        QVERIFY(!frame->handle().sendSystemCommand(ISystemCommand::Close));
        QCOMPARE(frame->systemCodes.count(0xF060), closesBefore + 1); // offered once only
        QTRY_VERIFY(frame.isNull());
    }

    void aFrameFromAResourceIdTakesItsTitleFromTheLibrary()
    {
        IFrameWindow desktop(0x8006);
        QCOMPARE(desktop.windowTitle(), QStringLiteral("Chronex Analysis Desktop"));
        QVERIFY(!desktop.windowIcon().isNull());
        QCOMPARE(desktop.windowId(), 0x8006ul);
        IFrameWindow unnamed(0x1);
        QVERIFY(unnamed.windowTitle().isEmpty());
    }
};

QTEST_MAIN(WindowEventsTest)
#include "WindowEventsTest.moc"
