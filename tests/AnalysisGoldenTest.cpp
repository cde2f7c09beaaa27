// The analysis results of the bundled samples, byte for byte: each sample program goes through
// the compile pass (zmc2 -qANALYZE) and the program-unit builder (kelmkpu) as the conversion runs
// them, and what they print, the analysis data (as its text dump), the program-info file, the
// findings, the expanded source and the program unit recorded in the analysis database must be
// exactly the files in tests/golden/samples. Work on the front end, the analysis data format or
// kelmkpu that is meant to change no result is held to this.
//
// The temporary directory's path is written <WORK> in the golden files. After a deliberate change
// of results, run the test with CHRONEX_UPDATE_GOLDEN=1 to write the files anew and review the
// difference.

#include "AnalysisData.h"
#include "DbReader.h"
#include "RunTestSupport.h"
#include "ToolchainRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace fs = std::filesystem;
using RunTestSupport::readFile;
using RunTestSupport::writeFile;

namespace {

fs::path fromEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? fs::path(value) : fs::path();
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

/// The program unit as text: every record of every table, in order, but the time stamp.
std::string unitDump(const DbUnitData &unit)
{
    std::ostringstream out;
    const DbUnitHeader &h = unit.header;
    out << "unit " << h.name << " | " << h.sourceFile << " | " << h.expandedSourceFile << " | "
        << h.dialect << " | " << h.languageCode << ' ' << h.version << ' ' << h.release << ' '
        << h.analyzed << ' ' << h.linkable << ' ' << int(h.state) << ' ' << h.codePage << ' '
        << h.tokenCount << ' ' << h.symbolCount << ' ' << h.lineCount << '\n';
    for (const DbInputFileRecord &f : unit.inputFiles)
        out << "file " << f.path << " | " << int(f.kind) << " | " << f.copybook << '\n';
    for (const DbIncludeRecord &i : unit.includes)
        out << "include " << i.parent << ' ' << i.inputFile << ' ' << i.copyLine << ' '
            << i.copyColumn << " | " << i.copybook << " | " << i.qualifier << '\n';
    for (const DbLineRecord &l : unit.lines)
        out << "line " << l.include << ' ' << l.line << ' ' << int(l.kind) << " |" << l.text
            << "|\n";
    for (const DbTokenRecord &t : unit.tokens)
        out << "token " << int(t.type) << ' ' << t.replaced << ' ' << t.include << ' ' << t.line
            << ' ' << t.column << ' ' << t.length << ' ' << t.expandedLine << ' ' << t.symbol << ' '
            << t.node << " |" << t.text << "|\n";
    for (const DbNodeRecord &n : unit.nodes)
        out << "node " << int(n.kind) << ' ' << n.parent << ' ' << n.firstToken << ' '
            << n.lastToken << ' ' << n.symbol << ' ' << n.treeRecord << " | " << n.name << '\n';
    for (const DbSymbolRecord &s : unit.symbols)
        out << "symbol " << s.level << ' ' << s.name << " | " << s.longName << " | "
            << s.declaringToken << ' ' << s.parent << ' ' << s.record << ' ' << s.base << ' '
            << s.related[0] << ' ' << s.related[1] << ' ' << s.related[2] << ' ' << s.group << ' '
            << s.recordStart << ' ' << s.occursMin << ' ' << s.occursMax << ' ' << s.offset << ' '
            << s.length << ' ' << s.displayText << ' ' << s.usage << " | " << s.picture << " | "
            << s.category << " | " << s.value << " | " << s.area << ' ' << s.isSigned << ' '
            << s.signSeparate << ' ' << s.synchronized << ' ' << s.include << ' ' << s.line << '\n';
    for (const DbTreeRecord &r : unit.treeRecords)
        out << "tree " << int(r.kind) << ' ' << r.parent << ' ' << r.node << " | " << r.text
            << '\n';
    for (const DbMarkRecord &m : unit.marks)
        out << "mark " << int(m.kind) << ' ' << m.token << ' ' << m.symbol << " | " << m.text
            << '\n';
    return out.str();
}

class AnalysisGoldenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(binDirectory.empty()) << "CHRONEX_BIN_DIR is not set";
        ASSERT_TRUE(fs::is_directory(goldenDirectory)) << goldenDirectory;
        ToolchainRun::copyTree(dataDirectory / "Samples/cobol", sources);
        fs::create_directories(output);
        fs::create_directories(captures);
        fs::copy_file(dataDirectory / "Samples/Seedfile/sample.xsd", seed);
        environment.set("PATH", binDirectory.string() + ":" + std::getenv("PATH"));
        environment.set("CHRONEX_OUTPUT_DIR", output.string());
        environment.set("CHRONEX_TITLE", "GOLDEN");
        environment.unset("COBCPY");
    }

    /// Compares `actual` (with the work directory written <WORK> and the build directory, where
    /// the system copybooks are, <BUILD>) with the golden file `name`, or writes the golden file
    /// when CHRONEX_UPDATE_GOLDEN is set.
    void expectGolden(const std::string &name, const std::string &actual)
    {
        const std::string text = replaceAll(replaceAll(actual, root.string(), "<WORK>"),
                                            binDirectory.parent_path().string(),
                                            "<BUILD>");
        const fs::path golden = goldenDirectory / name;
        if (std::getenv("CHRONEX_UPDATE_GOLDEN")) {
            writeFile(golden, text);
            return;
        }
        ASSERT_TRUE(fs::is_regular_file(golden)) << golden << " is missing";
        const std::string expected = readFile(golden);
        if (expected == text)
            return;
        // The first line that differs says more than two large texts.
        const std::vector<std::string> a = ToolchainRun::lines(expected);
        const std::vector<std::string> b = ToolchainRun::lines(text);
        std::size_t line = 0;
        while (line < a.size() && line < b.size() && a[line] == b[line])
            ++line;
        ADD_FAILURE() << name << " differs from " << golden << " at line " << line + 1
                      << ":\n  expected: " << (line < a.size() ? a[line] : "(end)")
                      << "\n  actual:   " << (line < b.size() ? b[line] : "(end)");
    }

    RunTestSupport::TemporaryDirectory temporary;
    const fs::path binDirectory = fromEnvironment("CHRONEX_BIN_DIR");
    const fs::path dataDirectory = fromEnvironment("CHRONEX_DATA_DIR");
    const fs::path goldenDirectory = fromEnvironment("CHRONEX_SOURCE_DIR") / "tests/golden/samples";
    const fs::path root = temporary.path();
    const fs::path sources = root / "cobol";
    const fs::path output = root / "out";
    const fs::path captures = root / "captures";
    const fs::path seed = root / "sample.xsd";
    RunTestSupport::ScopedEnvironment environment;
};

TEST_F(AnalysisGoldenTest, samplesGiveTheGoldenResults)
{
    std::vector<fs::path> programs;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(sources))
        if (entry.path().extension() == ".cbl")
            programs.push_back(entry.path());
    std::sort(programs.begin(), programs.end());
    ASSERT_EQ(programs.size(), 10u);

    for (const fs::path &program : programs) {
        const std::string base = program.stem().string();
        SCOPED_TRACE(base);
        const fs::path directory = program.parent_path();
        std::ostringstream run;
        const ToolchainRun::ProcessResult compiled
            = ToolchainRun::run("zmc2",
                                {"-c", "-i" + directory.string(), "-qANALYZE", program.string()},
                                directory,
                                captures);
        run << "zmc2 " << compiled.status << "\n--- stdout\n"
            << compiled.output << "--- stderr\n"
            << compiled.errors;
        const fs::path adt = output / (base + ".adt");
        ASSERT_TRUE(fs::is_regular_file(adt)) << run.str();
        const ToolchainRun::ProcessResult analysed = ToolchainRun::run(
            "kelmkpu",
            {adt.string(), "/r", seed.string(), "/m-", "/c", "/u+", "/d", output.string()},
            output,
            captures);
        run << "kelmkpu " << analysed.status << "\n--- stdout\n"
            << analysed.output << "--- stderr\n"
            << analysed.errors;
        expectGolden(base + ".run", run.str());

        std::ostringstream adtText;
        cobol::AnalysisData::readFile(adt.string()).write(adtText);
        expectGolden(base + ".adt.txt", adtText.str());
        for (const char *extension : {".xrl", ".xca", ".xpd"})
            expectGolden(base + extension, readFile(output / (base + extension)));
    }

    // Every unit in the one database, read back as the views read it.
    const std::string database = (output / "chxanalysis.db").string();
    const DbReader::EuContents eu = DbReader::readEu(database);
    ASSERT_EQ(eu.units.size(), programs.size());
    for (std::size_t i = 0; i < eu.units.size(); ++i) {
        SCOPED_TRACE(eu.units[i].name);
        const DbUnitData unit = DbReader::readUnit(database, eu.databaseIds[i], eu.units[i].name);
        expectGolden(fs::path(unit.header.sourceFile).stem().string() + ".db",
                     "eu " + eu.name + "\n" + unitDump(unit));
    }
}

} // namespace
