// The message display: numbered texts with inserts, the pending message of each thread, and
// the display function that a GUI installs.
#include "KelMsg.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

/// Captures what KelMsg shows while it lives.
class ShownMessages
{
public:
    ShownMessages()
    {
        KelMsg::setDisplay([this](const KelMessage &m) { shown.push_back(m); });
    }
    ~ShownMessages() { KelMsg::setDisplay({}); }
    std::vector<KelMessage> shown;
};

} // namespace

TEST(KelMsg, numberedTextsTakeTheirInserts)
{
    EXPECT_EQ(KelMsg::text(KelMsgId::unitNotLoaded, {"PAYROLL", "the file is locked"}),
              "The program unit PAYROLL cannot be loaded: the file is locked");
    EXPECT_EQ(KelMsg::text(KelMsgId::consistencyCheck, {"Token should have owning node.  tokId=7"}),
              "Token should have owning node.  tokId=7");
    // Missing inserts stay empty; a number without text still shows what was given.
    EXPECT_EQ(KelMsg::text(KelMsgId::databaseMissing), "The analysis database  does not exist.");
    EXPECT_EQ(KelMsg::text(0x1234, {"a", "b"}), "Message 4660 a b");
    EXPECT_EQ(KelMsg::format(KelMsg::make("keltree", 477, KelMsgId::consistencyCheck, {"x"})),
              "KELFE0CW x (keltree:477)");
    EXPECT_EQ(KelMsg::catalogueText(KelMsgId::messageTitle), "Chronex Analysis");
}

TEST(KelMsg, msgShowsAtOnceThroughTheInstalledDisplay)
{
    ShownMessages capture;
    KelMsg::msg("KelDesktop.cpp", 399, KelMsgId::unitNotLoaded, "PAYROLL", 0, 0);
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].number, KelMsgId::unitNotLoaded);
    EXPECT_EQ(capture.shown[0].text, "The program unit PAYROLL cannot be loaded: 0");
    EXPECT_EQ(capture.shown[0].sourceFile, "KelDesktop.cpp");
    EXPECT_EQ(capture.shown[0].line, 399u);
    EXPECT_FALSE(KelMsg::hasPending());

    // A display that throws does not reach the caller.
    KelMsg::setDisplay([](const KelMessage &) { throw std::runtime_error("no screen"); });
    testing::internal::CaptureStderr();
    KelMsg::msg("x", 1, KelMsgId::unknownException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "KELFE01E An unexpected error of unknown kind occurred. (x:1)\n");
}

TEST(KelMsg, theEntryPointPatternShowsThePendingMessageOfItsOwnThread)
{
    ShownMessages capture;
    auto entryPoint = [](auto work) {
        try {
            work();
        } catch (const KelMsgException &e) {
            if (e.winMsgSet())
                KelMsg::winMsgShow1("view.cpp", 94);
        } catch (const IException &e) {
            KelMsg::winIExcnSet1("view.cpp", 99, e);
            KelMsg::winMsgShow1("view.cpp", 100);
        } catch (...) {
            KelMsg::winUnknownExcnSet1("view.cpp", 105);
            KelMsg::winMsgShow1("view.cpp", 106);
        }
    };
    entryPoint([] { ITHROW(KelMsgException(KelMsgId::databaseMissing, {"/x.db"})); });
    entryPoint([] { ITHROW(IAccessError("The file /y cannot be read.")); });
    entryPoint([] { throw 42; });
    ASSERT_EQ(capture.shown.size(), 3u);
    EXPECT_EQ(KelMsg::format(capture.shown[0]),
              "KELF600E The analysis database /x.db does not exist. (view.cpp:94)");
    EXPECT_EQ(KelMsg::format(capture.shown[1]),
              "KELFE00E An unexpected IAccessError occurred: The file /y cannot be read. "
              "(view.cpp:100)");
    EXPECT_EQ(KelMsg::format(capture.shown[2]),
              "KELFE01E An unexpected error of unknown kind occurred. (view.cpp:106)");
    EXPECT_FALSE(KelMsg::hasPending());

    // Showing with nothing pending shows nothing; another thread's message is not this one's.
    KelMsg::winMsgShow1("view.cpp", 1);
    std::thread other([] { KelMsgException e(KelMsgId::databaseLocked, {"/z.db", "5"}); });
    other.join();
    KelMsg::winMsgShow1("view.cpp", 2);
    EXPECT_EQ(capture.shown.size(), 3u);
    EXPECT_FALSE(KelMsgException(0).winMsgSet());
}
