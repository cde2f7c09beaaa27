// Project creation: the name search, the project file with and without template, the options
// file, and the messages and clean-up of the project error.

#include "ProjectCreator.h"

#include "Environment.h"
#include "RunTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace RunTestSupport;

namespace {

class ProjectCreatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(projects);
        fs::create_directories(out);
        writeFile(config / "telamrdv.iwo", "options template\n");
        settings = {
            {"Toolbench", {{"PRJDIR", projects.string()}, {"CONFIG_PATH", config.string()}}}};
        environment.set("CHRONEX_HOME", home.string());
    }

    std::string create(const std::string &templatePath = {})
    {
        writeEnvironment(home, settings);
        return ProjectCreator(&readenv, observer, console)
            .create(templatePath, "Year 2000 Conversion", out.string());
    }

    /// Files in `directory`, by name.
    static std::vector<std::string> names(const fs::path &directory)
    {
        std::vector<std::string> result;
        for (const auto &entry : fs::directory_iterator(directory))
            result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }

    TemporaryDirectory temporary;
    const fs::path root = temporary.path();
    const fs::path projects = root / "projects";
    const fs::path out = root / "out";
    const fs::path config = root / "config";
    const fs::path templates = root / "templates";
    const fs::path home = root / "home";
    std::map<std::string, std::map<std::string, std::string>> settings;
    ScopedEnvironment environment;
    RecordingObserver observer;
    std::ostringstream console;
};

const std::string fixedProject = "-ProjectInfo\n"
                                 "+name=Year 2000 Conversion\n"
                                 "+type=TELAMRDV.IWS\n"
                                 "-BuildInfo\n"
                                 "+target=y2k2.exe\n"
                                 "+runOptions=\n"
                                 "+makefile=y2k2.mak\n"
                                 "-LocationInfo\n"
                                 "+defaultDir=OUT\n"
                                 "+dirs=OUT\n"
                                 "-ConfigInfo\n"
                                 "+filter=*.asd;*.cvt;*.cpy;*.crs;*.log;*.xca;*.xrl;\n"
                                 "+view=icon\n"
                                 "+refresh=yes\n";

std::string withDirectory(std::string text, const std::string &directory)
{
    for (std::size_t at; (at = text.find("OUT")) != std::string::npos;)
        text.replace(at, 3, directory);
    return text;
}

TEST_F(ProjectCreatorTest, withoutTemplateTheNextFreeNumberAndTheFixedFormAreUsed)
{
    writeFile(projects / "y2k1.iwp", "taken\n");
    EXPECT_EQ(create(), (projects / "y2k2.iwp").string());
    EXPECT_EQ(readFile(projects / "y2k2.iwp"), withDirectory(fixedProject, out.string()));
    EXPECT_EQ(readFile(projects / "y2k2.iwo"), "options template\n");
    EXPECT_EQ(readFile(projects / "y2k1.iwp"), "taken\n");
    EXPECT_EQ(console.str(), "");
    EXPECT_TRUE(observer.informationMessages.empty());
}

TEST_F(ProjectCreatorTest, withoutProjectDirectoryTheOutputDirectoryIsUsedAndTheUserTold)
{
    settings["Toolbench"].erase("PRJDIR");
    EXPECT_EQ(create(), (out / "y2k1.iwp").string());
    EXPECT_EQ(console.str(),
              "Information:  <63160>\n              <63161>" + out.string() + ".\n\n");
    ASSERT_EQ(observer.informationMessages.size(), 1u);
    EXPECT_EQ(observer.informationMessages[0],
              (std::vector<std::string>{"<63160>", "", "<63161>" + out.string() + "."}));
}

TEST_F(ProjectCreatorTest, withoutOptionsTemplateTheProjectErrorRemovesWhatWasMade)
{
    settings["Toolbench"].erase("CONFIG_PATH");
    EXPECT_EQ(create(), "");
    EXPECT_EQ(console.str(),
              "Error:  <63162>Year 2000 Conversion<63163>\n        <63164>" + out.string() + ".\n");
    ASSERT_EQ(observer.errorMessages.size(), 1u);
    EXPECT_EQ(observer.errorMessages[0],
              (std::vector<std::string>{"<63162>Year 2000 Conversion<63163>",
                                        "",
                                        "<63164>" + out.string() + "."}));
    EXPECT_TRUE(names(projects).empty());
}

TEST_F(ProjectCreatorTest, aTemplateIsCopiedByItsRules)
{
    writeFile(templates / "PAYROLL.iwp",
              "-ProjectInfo\n"
              "+name=PAYROLL\n"
              "+position=1 2 3 4\n"
              "\n"
              "+defaultDir=C:\\old\n"
              "x+dirs=C:\\old\n"
              "+filter=*.cbl\n"
              "+name=+dirs= both\n"
              "+view=details\n");
    writeFile(templates / "PAYROLL.iwo", "template options\n");
    const std::string project = create((templates / "PAYROLL.iwp").string());
    EXPECT_EQ(project, (templates / "yPAYROLL.iwp").string());
    EXPECT_EQ(readFile(project),
              "-ProjectInfo\n"
              "+name=Year 2000 Conversion\n"
              "+defaultDir="
                  + out.string() + "\n+dirs=" + out.string()
                  + "\n+filter=*.asd;*.cvt;*.cpy;*.crs;*.log;*.xca;*.xrl;\n"
                    "+name=Year 2000 Conversion\n"
                    "+view=details\n");
    EXPECT_EQ(readFile(templates / "yPAYROLL.iwo"), "template options\n");
    EXPECT_TRUE(names(projects).empty());
}

TEST_F(ProjectCreatorTest, aTemplateWithoutItsOptionsFileOrWithoutContentGivesTheProjectError)
{
    writeFile(templates / "EMPTY.iwp", "");
    writeFile(templates / "EMPTY.iwo", "template options\n");
    writeFile(templates / "LONELY.iwp", "+name=x\n");
    for (const std::string name : {"EMPTY", "LONELY", "MISSING"}) {
        observer.errorMessages.clear();
        EXPECT_EQ(create((templates / (name + ".iwp")).string()), "") << name;
        EXPECT_EQ(observer.errorMessages.size(), 1u) << name;
    }
    EXPECT_EQ(names(templates), (std::vector<std::string>{"EMPTY.iwo", "EMPTY.iwp", "LONELY.iwp"}));
}

TEST_F(ProjectCreatorTest, withATemplateButNoProjectDirectoryTheProjectGoesIntoTheOutputDirectory)
{
    // The installed template lies in the data directory, which users cannot write.
    settings["Toolbench"].erase("PRJDIR");
    writeFile(templates / "PAYROLL.iwp", "+name=PAYROLL\n+dirs=x\n");
    writeFile(templates / "PAYROLL.iwo", "template options\n");
    const auto before = names(templates);

    EXPECT_EQ(create((templates / "PAYROLL.iwp").string()), (out / "yPAYROLL.iwp").string());
    EXPECT_EQ(readFile(out / "yPAYROLL.iwp"),
              "+name=Year 2000 Conversion\n+dirs=" + out.string() + "\n");
    EXPECT_EQ(readFile(out / "yPAYROLL.iwo"), "template options\n");
    EXPECT_EQ(names(templates), before);
    ASSERT_EQ(observer.informationMessages.size(), 1u);
    EXPECT_EQ(observer.informationMessages[0].back(), "<63161>" + out.string() + ".");
}

TEST_F(ProjectCreatorTest, aTemplateThatIsNoRegularFileOrATitleOnTwoLinesGivesTheProjectError)
{
    fs::create_directories(templates / "DIR.iwp");
    ASSERT_EQ(::mkfifo((templates / "FIFO.iwp").c_str(), 0600), 0);
    for (const std::string name : {"DIR", "FIFO"}) {
        console.str("");
        EXPECT_EQ(create((templates / (name + ".iwp")).string()), "") << name;
        EXPECT_TRUE(console.str().starts_with("Error:  <63162>Year 2000 Conversion<63163>\n"))
            << console.str();
    }

    console.str("");
    writeEnvironment(home, settings);
    EXPECT_EQ(ProjectCreator(&readenv, observer, console).create({}, "T\n+dirs=/etc", out.string()),
              "");
    EXPECT_TRUE(names(projects).empty());
    EXPECT_TRUE(console.str().starts_with("Error:  <63162>T\n+dirs=/etc<63163>\n"));
}

TEST_F(ProjectCreatorTest, longNamesTryYThenY2kThenNumbers)
{
    writeFile(templates / "PROJECT1.iwp", "+name=x\n");
    writeFile(templates / "PROJECT1.iwo", "o\n");
    const std::string first = create((templates / "PROJECT1.iwp").string());
    const std::string second = create((templates / "PROJECT1.iwp").string());
    const std::string third = create((templates / "PROJECT1.iwp").string());
    EXPECT_EQ(fs::path(first).filename(), "yPROJECT1.iwp");
    EXPECT_EQ(fs::path(second).filename(), "y2kPROJECT1.iwp");
    EXPECT_EQ(fs::path(third).filename(), "y2k1PROJECT1.iwp");
}

TEST_F(ProjectCreatorTest, shortNamesTakeOneLetterThenTwoAndGiveUpAfter702)
{
    writeFile(templates / "PAY.iwp", "+name=x\n");
    writeFile(templates / "PAY.iwo", "o\n");
    writeFile(templates / "yPAY.iwp", "taken\n");
    EXPECT_EQ(fs::path(create((templates / "PAY.iwp").string())).filename(), "zPAY.iwp");
    EXPECT_EQ(fs::path(create((templates / "PAY.iwp").string())).filename(), "aPAY.iwp");

    const std::string letters = "yzabcdefghijklmnopqrstuvwx";
    for (char c : letters)
        writeFile(templates / (std::string(1, c) + "PAY.iwp"), "taken\n");
    EXPECT_EQ(fs::path(create((templates / "PAY.iwp").string())).filename(), "yyPAY.iwp");
    EXPECT_EQ(fs::path(create((templates / "PAY.iwp").string())).filename(), "yzPAY.iwp");
    for (char first : letters) {
        for (char second : letters) {
            if (first != 'x' || second != 'x')
                writeFile(templates / (std::string{first, second} + "PAY.iwp"), "taken\n");
        }
    }
    EXPECT_EQ(fs::path(create((templates / "PAY.iwp").string())).filename(), "xxPAY.iwp");

    const std::size_t before = names(templates).size();
    console.str("");
    EXPECT_EQ(create((templates / "PAY.iwp").string()), "");
    EXPECT_EQ(console.str(), "Could not find a name that does not exceed space requirements.\n");
    EXPECT_TRUE(observer.errorMessages.empty());
    EXPECT_EQ(names(templates).size(), before);
}

TEST(ProjectNameTest, shortNamesAreRecognised)
{
    const std::vector<std::pair<std::string, bool>> cases = {{"PAY.iwp", true},
                                                             {"ABCDEF.IWP", true},
                                                             {"ABCDEF.IWPX", true},
                                                             {"ABCDEF.IWPXY", false},
                                                             {"ABCDEFG.I", false},
                                                             {"ABCD", true},
                                                             {"ABCDE", false},
                                                             {"A.B.C", false},
                                                             {".iwp", true},
                                                             {"PROJECT1.iwp", false}};
    for (const auto &[name, isShort] : cases)
        EXPECT_EQ(ProjectCreator::isShortName(name), isShort) << name;
}

TEST(ProjectNameTest, onlyBackslashesAreDoubled)
{
    EXPECT_EQ(ProjectCreator::doubledBackslashes("C:\\work\\y2kready"), "C:\\\\work\\\\y2kready");
    EXPECT_EQ(ProjectCreator::doubledBackslashes("/home/ana/y2kready"), "/home/ana/y2kready");
}

} // namespace
