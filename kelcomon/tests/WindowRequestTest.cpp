#include "CapturedMessages.h"
#include "DbPu.h"
#include "DemoDatabase.h"
#include "FrameList.h"
#include "KelMsgIds.h"
#include "StartRequestQueue.h"
#include "StartRequestResolver.h"
#include "StartWindowData.h"
#include "WindowRequestPipeline.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

namespace {

std::unique_ptr<StartWindowData> request(std::uint32_t tag, const std::string &name = {})
{
    auto data = std::make_unique<StartWindowData>(StartWindowData::browser, nullptr, name);
    data->word1 = tag;
    return data;
}

/// Counts the create-window events a pipeline posts and lets a consumer wait for them.
class EventCounter final
{
public:
    void post()
    {
        std::lock_guard lock(m_mutex);
        ++m_posted;
        m_changed.notify_all();
    }
    /// Waits until more than `seen` events were posted; returns the new count.
    int waitBeyond(int seen)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_posted > seen; });
        return m_posted;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_posted = 0;
};

} // namespace

TEST(StartRequestQueue, ServesInRequestOrderOnlyWhatIsReady)
{
    StartRequestQueue queue;
    const auto a = queue.append(request(1));
    const auto b = queue.append(request(2));
    const auto c = queue.append(request(3));
    EXPECT_EQ(queue.takeReady(), nullptr) << "nothing ready";
    ASSERT_TRUE(queue.markReady(c));
    EXPECT_EQ(queue.takeReady(), nullptr) << "the last one ready does not overtake the first";
    ASSERT_TRUE(queue.markReady(a));
    EXPECT_EQ(queue.takeReady()->word1, 1u);
    EXPECT_EQ(queue.takeReady(), nullptr) << "b is still being resolved";
    ASSERT_TRUE(queue.markReady(b));
    EXPECT_EQ(queue.takeReady()->word1, 2u);
    EXPECT_EQ(queue.takeReady()->word1, 3u);
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_FALSE(queue.markReady(a)) << "taken already";
}

TEST(WindowRequestPipeline, RequestsFromManyThreadsAreEachServedOnceAndInOrder)
{
    constexpr int producers = 4;
    constexpr int perProducer = 40;
    EventCounter events;
    WindowRequestPipeline::Hooks hooks;
    hooks.resolve = [](StartWindowData &data) {
        // Later requests of a producer often resolve first.
        std::this_thread::sleep_for(std::chrono::microseconds((perProducer - data.word2) * 20));
        data.word3 = 1;
    };
    hooks.requestReady = [&] { events.post(); };
    WindowRequestPipeline pipeline(hooks);

    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&, p] {
            for (int i = 0; i < perProducer; ++i) {
                auto data = request(static_cast<std::uint32_t>(p));
                data->word2 = static_cast<std::uint32_t>(i);
                ASSERT_TRUE(pipeline.submit(std::move(data)));
            }
        });
    }
    // The consumer takes ready requests as the events come, like the GUI thread.
    std::map<std::uint32_t, std::vector<std::uint32_t>> served;
    int taken = 0;
    int seen = 0;
    while (taken < producers * perProducer) {
        seen = events.waitBeyond(seen);
        while (auto data = pipeline.takeReady()) {
            EXPECT_EQ(data->word3, 1u) << "resolved before it is served";
            served[data->word1].push_back(data->word2);
            ++taken;
        }
    }
    for (std::thread &thread : threads)
        thread.join();
    pipeline.waitForRequestThreads();
    EXPECT_EQ(pipeline.pending(), 0u);
    for (const auto &[producer, order] : served) {
        ASSERT_EQ(order.size(), static_cast<std::size_t>(perProducer));
        for (int i = 0; i < perProducer; ++i)
            EXPECT_EQ(order[static_cast<std::size_t>(i)], static_cast<std::uint32_t>(i));
    }
}

TEST(WindowRequestPipeline, AThrowingHookNeitherLosesTheRequestNorStopsLaterOnes)
{
    EventCounter events;
    std::vector<std::string> announced;
    std::mutex announcedMutex;
    WindowRequestPipeline::Hooks hooks;
    hooks.announce = [&](const StartWindowData &data) {
        std::lock_guard lock(announcedMutex);
        announced.push_back(data.puName);
        if (data.puName == "BAD")
            throw std::runtime_error("announce failed");
    };
    hooks.resolve = [](StartWindowData &data) {
        if (data.puName == "BAD")
            throw IAccessError("cannot resolve");
    };
    hooks.requestReady = [&] { events.post(); };
    WindowRequestPipeline pipeline(hooks);
    ASSERT_TRUE(pipeline.submit(request(1, "BAD")));
    events.waitBeyond(0);
    ASSERT_TRUE(pipeline.submit(request(2, "GOOD")));
    events.waitBeyond(1);
    EXPECT_EQ(pipeline.takeReady()->word1, 1u);
    EXPECT_EQ(pipeline.takeReady()->word1, 2u);
    pipeline.shutDown();
    EXPECT_FALSE(pipeline.submit(request(3))) << "refused once shut down";
    EXPECT_EQ(announced, (std::vector<std::string>{"BAD", "GOOD"}));
}

TEST(WindowRequestPipeline, ShuttingDownWaitsForTheThreadsAndDropsWhatIsQueued)
{
    std::atomic<int> resolved = 0;
    WindowRequestPipeline::Hooks hooks;
    hooks.resolve = [&](StartWindowData &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++resolved;
    };
    auto pipeline = std::make_unique<WindowRequestPipeline>(hooks);
    for (std::uint32_t i = 0; i < 5; ++i)
        ASSERT_TRUE(pipeline->submit(request(i)));
    pipeline.reset();
    EXPECT_EQ(resolved, 5);
}

TEST(StartRequestResolver, ReducesPathsToBareNames)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"PAYROLL", "PAYROLL"},
        {"/src/cobol/PAYROLL.cbl", "PAYROLL"},
        {"C:\\SRC\\PAYROLL.CBL", "PAYROLL"},
        {"relative/dir/TAX.CALC.cob", "TAX.CALC"},
        {".hidden", ".hidden"},
        {"/src/dir.d/NOEXT", "NOEXT"},
        {"", ""},
    };
    for (const auto &[path, bare] : cases)
        EXPECT_EQ(StartRequestResolver::bareName(path), bare) << path;
}

TEST(StartRequestResolver, FindsAndLoadsTheUnitTheRequestNames)
{
    DemoDatabase database;
    DbEu &eu = database.eu();
    struct Case
    {
        const char *label;
        std::string puName;
        std::string expectedUnit; // empty: none
        std::string expectedName; // puName after resolving
        std::vector<unsigned long> messages;
    };
    const std::vector<Case> cases = {
        {"by name", "TAXCALC", "TAXCALC", "TAXCALC", {}},
        {"by a path with directory and extension",
         "/home/ana/cobol/REPORTS.cbl",
         "REPORTS",
         "REPORTS",
         {}},
        {"by a file name in another case", "taxcalc.cob", "TAXCALC", "taxcalc", {}},
        {"no name: the first unit, and the name stays empty", "", "PAYROLL", "", {}},
        {"an unknown name is reported and leaves no unit",
         "NOSUCH.cbl",
         "",
         "NOSUCH",
         {KelMsgId::unitNotFound}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const CapturedMessages messages;
        StartWindowData data(StartWindowData::browser, nullptr, c.puName);
        StartRequestResolver::resolve(data, &eu, "test/Desktop");
        EXPECT_EQ(data.puName, c.expectedName);
        if (c.expectedUnit.empty()) {
            EXPECT_EQ(data.pu, nullptr);
        } else {
            ASSERT_NE(data.pu, nullptr);
            EXPECT_EQ(data.pu->puName(), c.expectedUnit);
            EXPECT_TRUE(data.pu->isLoaded());
        }
        EXPECT_EQ(messages.numbers(), c.messages);
    }
}

TEST(StartRequestResolver, AUnitThatCannotBeLoadedIsReportedAndTheRequestGoesOn)
{
    DemoDatabase database;
    std::filesystem::remove(database.file());
    const CapturedMessages messages;
    StartWindowData data(StartWindowData::grapher, nullptr, "/src/cobol/PAYROLL.cbl");
    StartRequestResolver::resolve(data, &database.eu(), "test/Desktop");
    ASSERT_NE(data.pu, nullptr);
    EXPECT_FALSE(data.pu->isLoaded());
    ASSERT_EQ(messages.numbers(), (std::vector<unsigned long>{KelMsgId::unitNotLoaded}));
    const KelMessage shown = messages.messages().front();
    EXPECT_EQ(shown.line, StartRequestResolver::loadFailureLine);
    EXPECT_EQ(shown.sourceFile, "test/Desktop");
    EXPECT_NE(shown.text.find("PAYROLL"), std::string::npos) << shown.text;
    EXPECT_NE(shown.text.find(database.file()), std::string::npos) << shown.text;
}

TEST(FrameList, KeepsFramesInOpeningOrderAndWritesTheList)
{
    FrameList frames;
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(frames.add(&a, 7, "Browser - PAYROLL"));
    EXPECT_TRUE(frames.add(&b, 9, "Grapher - PAYROLL (minimized)"));
    EXPECT_FALSE(frames.add(&a, 7, "again")) << "listed once";
    EXPECT_FALSE(frames.add(nullptr, 1, "none"));
    EXPECT_FALSE(frames.remove(&c)) << "not listed: nothing changes";
    EXPECT_TRUE(frames.describe(&a, "Browser - PAYROLL (hidden)"));

    std::ostringstream out;
    frames.write(out, "Just put the new window on the list");
    EXPECT_EQ(out.str(),
              "Just put the new window on the list\n"
              "Window list: 2 windows\n"
              "  1  window 7  Browser - PAYROLL (hidden)\n"
              "  2  window 9  Grapher - PAYROLL (minimized)\n");
    EXPECT_TRUE(frames.remove(&a));
    EXPECT_TRUE(frames.remove(&b));
    EXPECT_EQ(frames.text(), "Window list: 0 windows\n");
}

TEST(FrameList, ListsWrittenByManyThreadsNeverMix)
{
    FrameList frames;
    std::vector<int> keys(50);
    std::ostringstream out;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int &key : keys)
            frames.add(&key, 1, "frame");
        for (int &key : keys)
            frames.remove(&key);
    });
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 30; ++i)
                frames.write(out, "Just put the new window on the list");
        });
    for (std::thread &thread : threads)
        thread.join();
    std::istringstream in(out.str());
    int headings = 0;
    std::size_t expectedFrames = 0;
    std::size_t framesSeen = 0;
    for (std::string line; std::getline(in, line);) {
        if (line == "Just put the new window on the list") {
            EXPECT_EQ(framesSeen, expectedFrames) << "a list was cut by another";
            ++headings;
            framesSeen = 0;
            std::string countLine;
            ASSERT_TRUE(std::getline(in, countLine));
            ASSERT_EQ(countLine.rfind("Window list: ", 0), 0u) << countLine;
            expectedFrames = std::stoul(countLine.substr(13));
        } else {
            EXPECT_EQ(line.find("  "), 0u) << line;
            ++framesSeen;
        }
    }
    EXPECT_EQ(framesSeen, expectedFrames);
    EXPECT_EQ(headings, 90);
}
