// Checks COPY expansion against GnuCOBOL's preprocessor: the lines that hold tokens after our
// expansion, in order, must be the non-blank lines of `cobc -E` (whose "#line" markers give
// each output line's file and line).
#include "ChildProcess.h"
#include "FrontEnd.h"
#include "PathNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace cobol;

namespace {

using Lines = std::vector<std::pair<std::string, std::uint32_t>>;

Lines cobcLines(const std::string &output)
{
    Lines lines;
    std::istringstream in(output);
    std::string line, file;
    std::uint32_t number = 0;
    while (std::getline(in, line)) {
        if (line.rfind("#line ", 0) == 0) {
            std::istringstream marker(line.substr(6));
            marker >> number;
            const std::size_t quote = line.find('"');
            file = PathNames::fileName(line.substr(quote + 1, line.rfind('"') - quote - 1));
            continue;
        }
        if (line.find_first_not_of(' ') != std::string::npos)
            lines.emplace_back(file, number);
        ++number;
    }
    return lines;
}

Lines ourLines(const AnalysisData &data)
{
    Lines lines;
    for (const Token &token : data.tokens) {
        std::pair<std::string, std::uint32_t> at{PathNames::fileName(
                                                     data.fileOf(token.place.include)),
                                                 token.place.line};
        if (lines.empty() || lines.back() != at)
            lines.push_back(at);
    }
    return lines;
}

} // namespace

TEST(PreprocessorOracle, expansionAgreesWithCobcLineMarkers)
{
    if (ChildProcess::run({"cobc", "--version"}).outcome != ChildProcess::Outcome::Exited)
        GTEST_SKIP() << "cobc is not installed";
    std::string dir = (std::filesystem::temp_directory_path() / "chronex-pp-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(dir.data()));
    std::ofstream(dir + "/OUTER.cpy") << "      * outer copybook\n"
                                         "       01 :P:-REC.\n"
                                         "           05 :P:-X PIC X.\n"
                                         "           COPY INNER.\n"
                                         "           05 :P:-Z PIC 9(4).\n";
    std::ofstream(dir + "/INNER.cpy") << "           05 :P:-Y PIC X.\n"
                                         "           05 :P:-T OCCURS 3 PIC 99.\n";
    std::ofstream(dir + "/CODE.cpy") << "           MOVE WS-X TO XX-X\n"
                                        "           ADD 1 TO WS-Z\n";
    const std::string source = dir + "/P.cbl";
    std::ofstream(source) << "      * comment\n"
                             "       IDENTIFICATION DIVISION.\n"
                             "       PROGRAM-ID. P.\n"
                             "       DATA DIVISION.\n"
                             "       WORKING-STORAGE SECTION.\n"
                             "       01 R1.\n"
                             "           05 R1-A PIC X.\n"
                             "       COPY OUTER REPLACING ==:P:== BY ==WS==.\n"
                             "       01 R2 PIC X.\n"
                             "      D01 R3 PIC X.\n"
                             "       COPY OUTER\n"
                             "            REPLACING ==:P:== BY ==XX==.\n"
                             "       PROCEDURE DIVISION.\n"
                             "           COPY CODE.\n"
                             "           STOP RUN.\n";
    const ChildProcess::Result expanded = ChildProcess::run({"cobc", "-E", "-I" + dir, source});
    ASSERT_EQ(expanded.exitCode, 0) << expanded.output;
    const FrontEnd::Result ours = FrontEnd({}).parseFile(source);
    EXPECT_EQ(ours.errorCount, 0u);
    const Lines expected = cobcLines(expanded.output);
    const Lines actual = ourLines(ours.data);
    ASSERT_EQ(actual.size(), expected.size()) << expanded.output;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i;
    std::filesystem::remove_all(dir);
}
