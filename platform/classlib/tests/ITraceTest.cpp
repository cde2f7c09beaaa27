#include "ITrace.h"
#include "IException.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

/// Traces into a string for one test and switches tracing off again afterwards.
class Trace : public testing::Test
{
protected:
    void TearDown() override { ITrace::configure("", nullptr); }

    std::ostringstream m_out;
};

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

/// The part of a line after "<COMPONENT> <pid>/<tid> ".
std::string body(const std::string &line)
{
    const auto first = line.find(' ');
    return line.substr(line.find(' ', first + 1) + 1);
}

} // namespace

TEST_F(Trace, ScopesWriteEntryAndExitOfTracedComponentsOnly)
{
    ITrace::configure("kelipc, UIEXT", &m_out);
    EXPECT_TRUE(ITrace::isTraced("KELIPC"));
    EXPECT_FALSE(ITrace::isTraced("ENGINE"));
    {
        ITraceScope scope("KELIPC", "RegisterInstance::requestShow()");
        ITraceScope other("ENGINE", "not traced");
        ITrace::write("UIEXT", "a message");
    }
    const auto written = lines(m_out.str());
    ASSERT_EQ(written.size(), 3u) << m_out.str();
    EXPECT_TRUE(written[0].starts_with("KELIPC ")) << written[0];
    EXPECT_EQ(body(written[0]), "+RegisterInstance::requestShow()");
    EXPECT_EQ(body(written[1]), " a message");
    EXPECT_TRUE(written[1].starts_with("UIEXT "));
    EXPECT_EQ(body(written[2]), "-RegisterInstance::requestShow()");
}

TEST_F(Trace, AStarTracesEverythingAndNothingIsWrittenWhenOff)
{
    ITrace::configure("*", &m_out);
    ITrace::write("ANY", "x");
    EXPECT_EQ(lines(m_out.str()).size(), 1u);
    ITrace::configure("", &m_out);
    ITrace::write("ANY", "y");
    EXPECT_FALSE(ITrace::isTraced("ANY"));
    EXPECT_EQ(lines(m_out.str()).size(), 1u);
}

TEST_F(Trace, ThrowLoggedRecordsTheLocationAndLogsBeforeThrowing)
{
    ITrace::configure("KELIPC", &m_out);
    try {
        throwLogged(IResourceExhausted("The window registry is full."),
                    {"RegisterInstance::RegisterInstance(unsigned int)", "kelipc", 2065},
                    "KELIPC");
    } catch (const IResourceExhausted &e) {
        const auto written = lines(m_out.str());
        ASSERT_EQ(written.size(), 1u) << "logged before the handler runs";
        EXPECT_EQ(body(written[0]),
                  "!IResourceExhausted error id 0 in "
                  "RegisterInstance::RegisterInstance(unsigned int) (line 2065 in file kelipc): "
                  "The window registry is full.");
        ASSERT_EQ(e.locationCount(), 1u);
        EXPECT_EQ(e.locationAtIndex(0).fileName, "kelipc");
        EXPECT_EQ(e.locationAtIndex(0).lineNumber, 2065u);
        return;
    }
    FAIL() << "nothing thrown";
}

TEST_F(Trace, LinesOfSeveralThreadsNeverMix)
{
    ITrace::configure("T", &m_out);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                ITrace::write("T", std::string(40, char('a' + t)));
        });
    for (auto &thread : threads)
        thread.join();
    const auto written = lines(m_out.str());
    ASSERT_EQ(written.size(), 800u);
    for (const std::string &line : written) {
        const std::string text = body(line);
        EXPECT_EQ(text, " " + std::string(40, text.at(1))) << line;
    }
}
