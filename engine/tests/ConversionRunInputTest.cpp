// Requests a conversion run must refuse before it writes anything, and paths it must make
// absolute: colliding base names, inputs lying where the run writes, control characters, a
// relative output directory.

#include "ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace ConversionRunFixture;

/// Runs the test body in `directory` and goes back to the old working directory afterwards.
class WorkingDirectory final
{
public:
    explicit WorkingDirectory(const fs::path &directory)
        : m_previous(fs::current_path())
    {
        fs::current_path(directory);
    }
    ~WorkingDirectory() { fs::current_path(m_previous); }

private:
    fs::path m_previous;
};

class ConversionRunInputTest : public ConversionRunTest
{
protected:
    /// The run ended at its checks with `text`: no tool ran, nothing was written, no state
    /// changed.
    void expectRefused(const std::string &text)
    {
        EXPECT_EQ(observer.errorText, text);
        EXPECT_EQ(console.str(), "Error:  " + text + "\n");
        EXPECT_EQ(observer.projectPath, "");
        EXPECT_FALSE(fs::exists(data / "calls"));
        EXPECT_TRUE(fs::is_empty(out));
        EXPECT_TRUE(fs::is_empty(projects));
        for (std::size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(state(i), "0x00") << i;
    }
};

TEST_F(ConversionRunInputTest, sourcesWithTheSameBaseNameAreRefusedNamingBoth)
{
    addSource(sources / "a" / "PAY.cbl");
    addProgram("TAX");
    addSource(sources / "b" / "PAY.scb");
    run();
    const std::string first = (sources / "a" / "PAY.cbl").string();
    const std::string second = (sources / "b" / "PAY.scb").string();
    expectRefused("The sources " + first + " and " + second
                  + " have the same base name PAY: their results (PAY.cvt, PAY.crs and the "
                    "others) would overwrite each other in the output directory. Convert them "
                    "in separate runs, or rename one of them.");
}

TEST_F(ConversionRunInputTest, inputsLyingWhereTheRunWritesAreRefusedAndKept)
{
    const struct
    {
        const char *label;
        fs::path source;
        fs::path seed; // empty: the usual seed file
        std::string written;
    } cases[] = {
        {"the log as a source", out / "chxconv.log", {}, "its log"},
        {"the analysis database as a source", out / "chxanalysis.db", {}, "its analysis database"},
        {"a source named like its expanded source", out / "T.xpd", {}, "the results of "},
        {"a source's own findings", out / "P.xca", {}, "the results of "},
        {"a source named like its own tool output", out / "Q.xlg", {}, "the results of "},
        {"a source named like its own report", sources / "R.crs", {}, "the report of "},
        {"the seed file as a result", sources / "S.cbl", out / "S.xrl", "the results of "},
        {"the seed file as the temporary one",
         sources / "S.cbl",
         out / "s.asd",
         "the temporary seed file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        files.clear();
        console.str("");
        observer.errorText.clear();
        addProgram("PROGA");
        writeFile(c.source, "precious\n");
        addSource(c.source);
        seedFile = c.seed.empty() ? std::string() : c.seed.string();
        if (!c.seed.empty())
            writeFile(c.seed, "* precious seed\n");
        const fs::path victim = c.seed.empty() ? c.source : c.seed;
        run();
        const std::string what = c.seed.empty() ? "source" : "seed file";
        EXPECT_TRUE(observer.errorText.starts_with("The " + what + " " + victim.string()
                                                   + " lies where the conversion writes "
                                                   + c.written))
            << observer.errorText;
        EXPECT_TRUE(observer.errorText.ends_with(
            ": it would be overwritten. Move it elsewhere or choose another output directory."));
        EXPECT_FALSE(fs::exists(data / "calls"));
        EXPECT_EQ(readFile(victim), c.seed.empty() ? "precious\n" : "* precious seed\n");
        fs::remove(c.source);
        if (!c.seed.empty())
            fs::remove(c.seed);
    }
}

TEST_F(ConversionRunInputTest, controlCharactersInTheTitleOrAPathAreRefused)
{
    addProgram("PROGA");
    title = "T\n+dirs=/etc";
    run();
    expectRefused("The conversion title holds a control character (a line break, a tab or "
                  "another character that cannot be typed on one line). Give the title on one "
                  "line without them.");

    title = "Year 2000 Conversion";
    console.str("");
    files.clear();
    addSource(sources / "A\nB.cbl");
    run();
    expectRefused("The source " + (sources / "A?B.cbl").string()
                  + " has a control character (such as a line break) in its name, which the "
                    "conversion's settings, options and project files cannot hold. Rename it.");
}

TEST_F(ConversionRunInputTest, aRelativeOutputDirectoryIsMadeAbsoluteForTheTools)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    const WorkingDirectory inRoot(root);
    outputDirectory = "out/";
    EXPECT_EQ(run(), (projects / "y2k1.iwp").string());
    EXPECT_EQ(state(0), "0x81");
    EXPECT_NE(readFile(data / "calls")
                  .find("zmc2 cwd=" + sources.string() + " out=" + out.string() + " "),
              std::string::npos)
        << readFile(data / "calls");
    EXPECT_TRUE(fs::exists(out / "PROGA.cvt"));
    EXPECT_EQ(ConversionFile::outputDirectory(), out.string());
}

} // namespace
