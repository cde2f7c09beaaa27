#include "SeedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

using namespace kelmkpu;

namespace {

std::string dump(const SeedFile &seeds)
{
    std::string text;
    for (const auto &[key, runs] : seeds.blocks()) {
        text += key.first + "/" + key.second + ":";
        for (const SeedRun &run : runs)
            text += " " + std::to_string(static_cast<int>(run.kind)) + "@"
                    + std::to_string(run.index) + "+" + std::to_string(run.length);
        text += "\n";
    }
    return text;
}

} // namespace

TEST(SeedFile, readsBlocksAndJoinsLaterBlocksForTheSameInclude)
{
    std::istringstream in("user comment line\n"
                          "<SEED> <INCLUDE> DATEREC CUST\n"
                          "  <always-year> <index> 17 <length> 2\n"
                          "</SEED>\n\n"
                          "<SEED> <INCLUDE> OTHER  QUAL WITH BLANKS \r\n"
                          "  <used-as-year-and-non-year> <index> 1 <length> 4\r\n"
                          "</SEED>\n"
                          "  <always-year> <index> 99 <length> 2\n" // outside a block: ignored
                          "<SEED> <INCLUDE> DATEREC CUST\n"
                          "  <used-as-non-year> <index> 1 <length> 4\n"
                          "  <ALWAYS-CONFLICT> <INDEX> 30 <LENGTH> 1\n"
                          "</SEED>\n");
    SeedFile seeds;
    seeds.parse(in, "s.asd");
    EXPECT_EQ(dump(seeds),
              "DATEREC/CUST: 1@17+2 4@1+4 0@30+1\n"
              "OTHER/QUAL WITH BLANKS: 5@1+4\n");
    EXPECT_TRUE(seeds.warnings().empty());
}

TEST(SeedFile, malformedLinesAreWarningsNamingTheLine)
{
    struct Case
    {
        const char *label;
        const char *text;
        const char *warning;
    };
    for (const Case &c : std::vector<Case>{
             {"unknown kind",
              "<SEED> <INCLUDE> A Q\n  <maybe-year> <index> 1 <length> 2\n</SEED>\n",
              "s.asd:2: expected a date-field kind such as <always-year>, found \"<maybe-year>\""},
             {"zero index",
              "<SEED> <INCLUDE> A Q\n  <always-year> <index> 0 <length> 2\n</SEED>\n",
              "s.asd:2: expected an index from 1 and a length from 1, found \"<always-year> "
              "<index> 0 <length> 2\""},
             {"no numbers",
              "<SEED> <INCLUDE> A Q\n  <always-year>\n</SEED>\n",
              "s.asd:2: expected \"<kind> <index> n <length> m\", found \"<always-year>\""},
             {"overflow",
              "<SEED> <INCLUDE> A Q\n  <always-year> <index> 4294967295 <length> 2\n</SEED>\n",
              "s.asd:2: expected an index from 1 and a length from 1"},
             {"no name",
              "<SEED> <INCLUDE>\n</SEED>\n",
              "s.asd:1: expected a copybook name after <INCLUDE>"},
             {"unterminated",
              "<SEED> <INCLUDE> A Q\n",
              "s.asd:1: seed block has no </SEED> before the end"},
         }) {
        std::istringstream in(c.text);
        SeedFile seeds;
        seeds.parse(in, "s.asd");
        ASSERT_EQ(seeds.warnings().size(), 1u) << c.label;
        EXPECT_EQ(seeds.warnings().front().rfind(c.warning, 0), 0u)
            << c.label << ": " << seeds.warnings().front();
    }
}

TEST(SeedFile, missingFileIsAnError)
{
    SeedFile seeds;
    std::string error;
    EXPECT_FALSE(seeds.read("/nonexistent/dir/seed.asd", error));
    EXPECT_EQ(error, "the seed file /nonexistent/dir/seed.asd does not exist");
}

TEST(SeedFile, aFifoIsRefusedWithoutWaitingForAWriter)
{
    const std::string fifo = std::filesystem::temp_directory_path()
                             / ("kelmkpu-seed-" + std::to_string(::getpid()));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    SeedFile seeds;
    std::string error;
    EXPECT_FALSE(seeds.read(fifo, error));
    EXPECT_EQ(error, "the seed file " + fifo + " is not a regular file");
    std::filesystem::remove(fifo);
}
