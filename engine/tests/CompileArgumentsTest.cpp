// The compile command arguments and the conversion options file.

#include "CompileArguments.h"
#include "ConversionOptionsFile.h"
#include "IException.h"
#include "RunTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;
using namespace RunTestSupport;

namespace {

struct ArgumentCase
{
    const char *label;
    std::string options;
    std::string text;
    std::vector<std::string> arguments;
};

TEST(CompileArgumentsTest, followTheArgumentRule)
{
    const std::string source = "/home/ana/my cobol/PAY.cbl";
    const std::vector<ArgumentCase> cases = {
        {"empty",
         "",
         " -c  -i/home/ana/my cobol -qANALYZE " + source,
         {"-c", "-i/home/ana/my cobol", "-qANALYZE", source}},
        {"upper-case /C and -qanalyze",
         "/C -qanalyze",
         "/C -qanalyze -i/home/ana/my cobol " + source,
         {"/C", "-qanalyze", "-i/home/ana/my cobol", source}},
        {"analyze only",
         "-qANALYZE",
         " -c -qANALYZE -i/home/ana/my cobol " + source,
         {"-c", "-qANALYZE", "-i/home/ana/my cobol", source}},
        {"other options",
         "-Wall  -x",
         " -c -Wall  -x -i/home/ana/my cobol -qANALYZE " + source,
         {"-c", "-Wall", "-x", "-i/home/ana/my cobol", "-qANALYZE", source}},
        // "-c" anywhere in the text counts, as the rule tests a substring.
        {"substring",
         "-cobol2",
         "-cobol2 -i/home/ana/my cobol -qANALYZE " + source,
         {"-cobol2", "-i/home/ana/my cobol", "-qANALYZE", source}},
    };
    for (const ArgumentCase &c : cases) {
        const CompileArguments arguments(c.options, source);
        EXPECT_EQ(arguments.text(), c.text) << c.label;
        EXPECT_EQ(arguments.arguments(), c.arguments) << c.label;
    }
}

class ConversionOptionsFileTest : public ::testing::Test
{
protected:
    std::string write(const std::string &workDirectory)
    {
        ConversionOptionsFile file(
            [workDirectory](const std::string &name, const std::string &group) {
                return name == "QVFWORK" && group == "Conversion & Structuring" ? workDirectory
                                                                                : std::string();
            });
        return file.write("/src/PAY.R1.cbl", "/out/PAY.R1.cvt", "/out/PAY.R1.xca", "/out", console);
    }

    TemporaryDirectory temporary;
    std::ostringstream console;
};

TEST_F(ConversionOptionsFileTest, holdsTheFortyFourLines)
{
    const std::string path = write(temporary.path().string());
    EXPECT_EQ(path, (temporary.path() / "PAY.R1.c3a").string());
    const std::string text = readFile(path);
    EXPECT_EQ(text,
              "V2R2F1 QVF TRCAFile Options\nInput File\n/src/PAY.R1.cbl\n10\n\n"
              "Output File\n/out/PAY.R1.cvt\n/out\n1\n3\n\n"
              "TPMX\n0\n0\n0\n0\n\n\n"
              "CHX\n1\n/out/PAY.R1.xca\n\n\n"
              "General\n1\n1\n1\n1\n1\n0\n1\n1\n1\n0\n\n"
              "Format\n1\n100\n0\n74\n\n\n\n"
              "CopyLibrary");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 43);
    ConversionOptionsFile::remove(path);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ConversionOptionsFileTest, anExistingFileIsSetAsideAndGivenBack)
{
    const fs::path existing = temporary.path() / "PAY.R1.c3a";
    writeFile(existing, "theirs");
    const std::string path = write(temporary.path().string());
    EXPECT_EQ(readFile(temporary.path() / "PAY.R1.c4a"), "theirs");
    EXPECT_NE(readFile(path), "theirs");
    ConversionOptionsFile::remove(path);
    EXPECT_EQ(readFile(existing), "theirs");
    EXPECT_FALSE(fs::exists(temporary.path() / "PAY.R1.c4a"));
}

TEST_F(ConversionOptionsFileTest, anUnsetWorkDirectoryIsAnAccessError)
{
    try {
        write("");
        FAIL() << "no error";
    } catch (const IAccessError &error) {
        EXPECT_EQ(error.text(), "Cannot find QVFWORK environment variable.");
    }
    EXPECT_EQ(console.str(), "Error:  Cannot find QVFWORK environment variable.\n");
}

TEST_F(ConversionOptionsFileTest, aMissingWorkDirectoryIsNamedInTheError)
{
    const std::string path = (temporary.path() / "gone" / "PAY.R1.c3a").string();
    try {
        write((temporary.path() / "gone").string());
        FAIL() << "no error";
    } catch (const IAccessError &error) {
        EXPECT_EQ(error.text(),
                  "The conversion options file " + path
                      + " cannot be created: No such file or directory.");
    }
    EXPECT_EQ(console.str(),
              "Error:  The conversion options file " + path
                  + " cannot be created: No such file or directory.\n");
}

} // namespace
