#include "CommandWorker.h"
#include "BusyFlag.h"
#include "CapturedMessages.h"
#include "CommandThread.h"
#include "Gate.h"
#include "IException.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>

TEST(CommandThread, RunsOneCommandAtATimeOnALargeStack)
{
    CommandThread thread;
    Gate gate;
    std::atomic<bool> ran = false;
    ASSERT_TRUE(thread.start([&] {
        gate.wait();
        ran = true;
    }));
    EXPECT_GE(thread.stackSize(), CommandThread::viewStackSize);
    EXPECT_TRUE(thread.isRunning());
    EXPECT_FALSE(thread.start([] {})) << "a second thread before the first was joined";
    gate.open();
    thread.join();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(thread.isRunning());
    EXPECT_FALSE(thread.isJoinable());

    // Deep recursion that a small stack would not survive runs on the command's stack.
    std::atomic<unsigned long> depth = 0;
    std::function<unsigned long(unsigned long)> recurse = [&](unsigned long n) -> unsigned long {
        volatile char frame[2048] = {};
        frame[0] = static_cast<char>(n);
        return n == 0 ? frame[0] : recurse(n - 1) + 1;
    };
    ASSERT_TRUE(thread.start([&] { depth = recurse(2000); }));
    thread.join();
    EXPECT_EQ(depth, 2000u);
}

TEST(CommandWorker, WhateverTheCommandThrowsTheBusyFlagIsClearedAndTheUserTold)
{
    struct Case
    {
        const char *label;
        std::function<void()> action;
        std::vector<unsigned long> shown; // message numbers
        bool logged;                      // handed to the exception log hook
    };
    const std::vector<Case> cases = {
        {"no exception", [] {}, {}, false},
        {"a message exception shows its message",
         [] {
             throw KelMsgException(KelMsgId::unitNotLoaded, {"PAYROLL", "the file is gone"});
         },
         {KelMsgId::unitNotLoaded},
         true},
        {"a class-library exception is shown as such",
         [] { ITHROW(IAccessError("The window has gone.")); },
         {KelMsgId::classLibraryException},
         true},
        {"anything else is shown as of unknown kind",
         [] { throw std::runtime_error("not ours"); },
         {KelMsgId::unknownException},
         false},
        {"not even an exception", [] { throw 42; }, {KelMsgId::unknownException}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const CapturedMessages messages;
        BusyFlag busy;
        ASSERT_TRUE(busy.tryEnter());
        CommandThread thread;
        std::atomic<bool> logged = false;
        std::atomic<bool> busyWhenFinished = true;
        CommandWorker::Hooks hooks;
        hooks.logException = [&](const IException &) { logged = true; };
        hooks.finished = [&] { busyWhenFinished = busy.isBusy(); };
        ASSERT_TRUE(
            thread.start([&] { CommandWorker::run(c.action, busy, "test/Worker", hooks); }));
        thread.join();
        EXPECT_FALSE(busy.isBusy());
        EXPECT_FALSE(busyWhenFinished) << "the busy flag is clear before the window hears";
        EXPECT_EQ(messages.numbers(), c.shown);
        for (const KelMessage &message : messages.messages())
            EXPECT_EQ(message.sourceFile, "test/Worker");
        EXPECT_EQ(logged, c.logged);
    }
}

TEST(CommandWorker, TheGuiThreadSeesTheClearWithoutALock)
{
    // The hand-off a view relies on: the worker writes its results, clears the flag; the GUI
    // thread polls the flag and then reads the results. ThreadSanitizer checks the ordering.
    BusyFlag busy;
    CommandThread thread;
    for (int round = 0; round < 200; ++round) {
        ASSERT_TRUE(busy.tryEnter());
        int result = 0;
        ASSERT_TRUE(thread.start(
            [&] { CommandWorker::run([&] { result = round + 1; }, busy, "test/Worker", {}); }));
        while (busy.isBusy())
            std::this_thread::yield();
        EXPECT_EQ(result, round + 1);
        thread.join();
    }
}
