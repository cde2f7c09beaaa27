#include "ConversionDefaults.h"
#include "IException.h"
#include "RunTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace RunTestSupport;

namespace {

EnvironmentReader settings(std::map<std::string, std::string> values)
{
    return [values](const std::string &name, const std::string &) {
        const auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    };
}

} // namespace

TEST(ConversionDefaults, SeedFileIsTheStoredOneElseTheCompilerDirectorysSample)
{
    EXPECT_EQ(ConversionDefaults::seedFile(
                  settings({{"SeedFile", "/home/ana/my seeds.xsd"}, {"QCOBDIR", "/opt/cobol"}})),
              "/home/ana/my seeds.xsd");
    EXPECT_EQ(ConversionDefaults::seedFile(settings({{"QCOBDIR", "/opt/cobol/"}})),
              "/opt/cobol/Samples/Seedfile/sample.xsd");
    // Neither is set: still a file name, so the check can say that this file does not exist.
    EXPECT_EQ(ConversionDefaults::seedFile(settings({})), "/Samples/Seedfile/sample.xsd");
    EXPECT_EQ(ConversionDefaults::seedFile(
                  [](const std::string &, const std::string &) -> std::string {
                      throw IAccessError("unreadable");
                  }),
              "");
}

TEST(ConversionDefaults, TitleComesFromTheFirstNameLineWithoutItsFirstSixCharacters)
{
    const std::string plain = "Year 2000 Conversion";
    const struct
    {
        const char *label;
        std::optional<std::string> content; // none: the project file does not exist
        std::string expected;
    } cases[] = {
        {"name line", "+project\n+name=PAYROLL\n+name=OTHER\n", plain + " of PAYROLL"},
        {"name tag alone", "+name=\n", plain},
        {"no name line", "+project\n+dir=/src\n", plain},
        {"missing project file", std::nullopt, plain},
        {"name with blanks, Windows line end", "+name=Pay Roll 2\r\n", plain + " of Pay Roll 2"},
        {"name after an over-long line",
         std::string(2500, 'x') + "\n+name=LONG\n",
         plain + " of LONG"},
        {"tag further in the line: six characters go all the same",
         "  +name=PAY\n",
         plain + " of e=PAY"},
    };
    TemporaryDirectory root;
    const fs::path project = root.path() / "project.iwp";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(project);
        if (c.content)
            writeFile(project, *c.content);
        EXPECT_EQ(ConversionDefaults::title(project.string()), c.expected);
    }
    EXPECT_EQ(ConversionDefaults::title(""), plain);
    EXPECT_EQ(ConversionDefaults::title(root.path().string()), plain) << "a directory";
    ASSERT_EQ(::mkfifo((root.path() / "fifo.iwp").c_str(), 0600), 0);
    EXPECT_EQ(ConversionDefaults::title((root.path() / "fifo.iwp").string()), plain)
        << "a FIFO is refused without waiting for a writer";
}

TEST(ConversionDefaults, OutputDirectoryIsTheWorkingDirectoryPlusY2kready)
{
    EXPECT_EQ(ConversionDefaults::outputDirectory("/"), "/y2kready");
    EXPECT_EQ(ConversionDefaults::outputDirectory("/home/ana/cobol/"), "/home/ana/cobol/y2kready");
}
