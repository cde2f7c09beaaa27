#include "ConversionOptions.h"
#include "DataDescriptions.h"
#include "FindingsFile.h"
#include "IException.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vyquext;

namespace {

/// The options file as the engine writes it.
std::string engineOptions(const std::string &source,
                          const std::string &cvt,
                          const std::string &outputDirectory,
                          const std::string &xca,
                          const std::string &pivot = "0")
{
    const std::vector<std::string> lines = {"V2R2F1 QVF TRCAFile Options",
                                            "Input File",
                                            source,
                                            "10",
                                            "",
                                            "Output File",
                                            cvt,
                                            outputDirectory,
                                            "1",
                                            "3",
                                            "",
                                            "TPMX",
                                            "0",
                                            "0",
                                            "0",
                                            "0",
                                            "",
                                            "",
                                            "CHX",
                                            "1",
                                            xca,
                                            "",
                                            "",
                                            "General",
                                            "1",
                                            "1",
                                            "1",
                                            "1",
                                            "1",
                                            "0",
                                            "1",
                                            "1",
                                            "1",
                                            "0",
                                            "",
                                            "Format",
                                            "1",
                                            "100",
                                            pivot,
                                            "74",
                                            "",
                                            "",
                                            "",
                                            "CopyLibrary"};
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() ? "\n" : "");
    return text;
}

std::string errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const IException &exception) {
        return exception.text();
    }
    return "(no error)";
}

TEST(OptionsFile, ReadsThePathsAndThePivot)
{
    const ConversionOptions options = ConversionOptions::parse(engineOptions("/src/P.cbl",
                                                                             "/out/P.cvt",
                                                                             "/out",
                                                                             "/out/P.xca",
                                                                             "30"),
                                                               "/w/P.c3a",
                                                               "/src/P.cbl");
    EXPECT_EQ(options.input, "/src/P.cbl");
    EXPECT_EQ(options.cvtPath, "/out/P.cvt");
    EXPECT_EQ(options.outputDirectory, "/out");
    EXPECT_EQ(options.xcaPath, "/out/P.xca");
    EXPECT_EQ(options.pivot, 30);
    EXPECT_FALSE(options.freeFormat);
    EXPECT_EQ(ConversionOptions::parse(engineOptions("/src/P.cbl",
                                                     "/out/P.cvt",
                                                     "/out",
                                                     "/out/P.xca"),
                                       "/w/P.c3a",
                                       "/src/P.cbl")
                  .pivot,
              ConversionOptions::defaultPivot);
}

TEST(OptionsFile, RejectsWhatItCannotUseNamingTheLine)
{
    struct Case
    {
        const char *label;
        std::string text;
        const char *message;
    };
    const Case cases[] = {
        {"wrong header", "Options\n", "/w/P.c3a:1: expected \"V2R2F1 QVF TRCAFile Options\""},
        {"cut short",
         "V2R2F1 QVF TRCAFile Options\nInput File\n/src/P.cbl\n",
         "/w/P.c3a:6: expected \"Output File\", found the end of the file"},
        {"pivot out of range",
         engineOptions("/src/P.cbl", "/out/P.cvt", "/out", "/out/P.xca", "150"),
         "/w/P.c3a:39: expected a pivot year"},
        {"output outside the output directory",
         engineOptions("/src/P.cbl", "/elsewhere/P.cvt", "/out", "/out/P.xca"),
         "is not in the output directory /out"},
        {"output over the source",
         engineOptions("/src/P.cbl", "/src/P.cbl", "/src", "/out/P.xca"),
         "would replace the source"},
    };
    for (const Case &c : cases) {
        const std::string message = errorOf(
            [&] { ConversionOptions::parse(c.text, "/w/P.c3a", "/src/P.cbl"); });
        EXPECT_NE(message.find(c.message), std::string::npos) << c.label << ": " << message;
    }
}

TEST(OptionsFile, EmptyPathsFallBackToTheDefaults)
{
    const ConversionOptions options = ConversionOptions::parse(engineOptions("", "", "/out", ""),
                                                               "/w/P.c3a",
                                                               "/src/P.cbl");
    EXPECT_EQ(options.input, "/src/P.cbl");
    EXPECT_EQ(options.cvtPath, "/out/P.cvt");
    EXPECT_EQ(options.xcaPath, "/out/P.xca");
}

TEST(FindingsFile, ReadsTheAnalysersRecords)
{
    const FindingsFile findings = FindingsFile::parse(
        "CHRONEX-XCA\t1\n"
        "PROGRAM\t/src/PROGB.cbl\tON\t/seed/s.xsd\n"
        "FIELD\t/src/"
        "DATEREC.cpy\t4\tCUST-EXP\tUSED-AS-YEAR\t1-2\tCUST-REC\t27-28\tDATEREC\tDEFAULT\t27-28\n"
        "FIELD\t/src/PROGB.cbl\t9\tws-date\tALWAYS-YEAR\t3-4\tWS-DATE\t3-4\t\t\t\n"
        "WINDOW\t/src/PROGB.cbl\t19\t12\tWS-LIMIT\tcomparison with a two-digit year\n"
        "CONFLICT\t/src/PROGC.cbl\t5\tWS-YY\tdeclaration of WS-YY PIC 99\tsubscript WS-I\n"
        "STEP\t/src/PROGC.cbl\t15\tjoins: MOVE WS-YY TO WS-I\n"
        "NOTE\t/src/PROGB.cbl\t3\tsomething\n"
        "SUMMARY\t2\t1\t1\t0\t1\n",
        "/out/PROGB.xca");
    ASSERT_EQ(findings.fields.size(), 2u);
    EXPECT_EQ(findings.fields[0].name, "CUST-EXP");
    EXPECT_EQ(findings.fields[0].copybook, "DATEREC");
    EXPECT_EQ(findings.fields[0].first, 1u);
    EXPECT_EQ(findings.fields[0].length, 2u);
    EXPECT_EQ(findings.fields[1].name, "WS-DATE");
    EXPECT_EQ(findings.fields[1].first, 3u);
    EXPECT_EQ(findings.fields[1].kind, FieldKind::AlwaysYear);
    ASSERT_EQ(findings.sites.size(), 2u);
    EXPECT_EQ(findings.sites[0].line, 19u);
    EXPECT_EQ(findings.sites[0].subject, "WS-LIMIT");
    EXPECT_EQ(findings.sites[1].type, SiteFinding::Type::Conflict);
    EXPECT_NE(findings.sites[1].reason.find("joins: MOVE WS-YY TO WS-I (line 15)"),
              std::string::npos);
}

TEST(FindingsFile, RejectsMalformedRecordsNamingTheLine)
{
    struct Case
    {
        const char *label;
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        {"bytes not a range",
         "FIELD\t/s.cbl\t4\tA\tALWAYS-YEAR\t2\tR\t1-2\n",
         "/x.xca:1: expected the bytes in the item as first-last in field 6 of FIELD, found \"2\""},
        {"range backwards", "FIELD\t/s.cbl\t4\tA\tALWAYS-YEAR\t3-2\tR\t1-2\n", "found \"3-2\""},
        {"unknown kind",
         "\nFIELD\t/s.cbl\t4\tA\tSOMETIMES\t1-2\n",
         "/x.xca:2: expected a date-field kind"},
        {"line not a number", "WINDOW\t/s.cbl\tten\t1\tA\twhy\n", "field 3 of WINDOW"},
        {"other version", "CHRONEX-XCA\t2\n", "expected format version 1"},
        {"analysis did not run",
         "CHRONEX-XCA\t1\nERROR\tno analysis data\n",
         "the analysis could not run: no analysis data"},
    };
    for (const Case &c : cases) {
        const std::string message = errorOf([&] { FindingsFile::parse(c.text, "/x.xca"); });
        EXPECT_NE(message.find(c.message), std::string::npos) << c.label << ": " << message;
    }
}

TEST(Pictures, DigitsSizeAndCategory)
{
    struct Case
    {
        const char *picture;
        int digits;
        int size;
        bool numeric;
        bool alphanumeric;
    };
    const Case cases[] = {
        {"99", 2, 2, true, false},
        {"S9(4)V99", 6, 6, true, false},
        {"9(6)", 6, 6, true, false},
        {"XX", 0, 2, false, true},
        {"X(10)", 0, 10, false, true},
        {"99/99/99", 6, 8, false, false},
        {"9(3)PP", 5, 3, true, false},
        {"ZZ9CR", 1, 5, false, false},
    };
    for (const Case &c : cases) {
        DataEntry entry;
        DataDescriptions::describePicture(c.picture, entry);
        EXPECT_EQ(entry.digits, c.digits) << c.picture;
        EXPECT_EQ(entry.size, c.size) << c.picture;
        EXPECT_EQ(entry.numeric, c.numeric) << c.picture;
        EXPECT_EQ(entry.alphanumeric, c.alphanumeric) << c.picture;
    }
}

} // namespace
