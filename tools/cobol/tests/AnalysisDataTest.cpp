#include "AnalysisData.h"
#include "AdtBinaryWriter.h"
#include "AdtFile.h"
#include "ContentDigest.h"

#include "IException.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

using namespace cobol;

namespace {

AnalysisData sampleData()
{
    AnalysisData data;
    data.programName = "PAYROLL";
    data.sourcePath = "/src/my dir/PAYROLL.cbl";
    data.includes.push_back({0, "", "", {}, "", data.sourcePath, 0, 0, 0});
    Include inc;
    inc.id = 1;
    inc.copybook = "DATES";
    inc.library = "LIBA";
    inc.replacing = {{"==:P:==", "==WS=="}, {"A\tB", "C\\D"}};
    inc.qualifier = includeQualifier(inc.library, inc.replacing);
    inc.path = "/src/my dir/DATES.cpy";
    inc.copyLine = 12;
    inc.copyColumn = 8;
    inc.endLine = 13;
    inc.endColumn = 30;
    data.includes.push_back(inc);

    DataItem group;
    group.id = 1;
    group.name = "WS-DATES";
    group.level = 1;
    group.record = 1;
    group.storage = 1;
    group.length = 8;
    group.place = {0, 11, 8};
    DataItem year;
    year.id = 2;
    year.name = "WS-YY";
    year.level = 5;
    year.parent = 1;
    year.record = 1;
    year.storage = 1;
    year.offset = 2;
    year.length = 2;
    year.picture = "S9(2)";
    year.category = Category::Numeric;
    year.usage = Usage::Packed;
    year.digits = 2;
    year.isSigned = true;
    year.occursMin = 1;
    year.occursMax = 3;
    year.stride = 2;
    year.dependingOn = 1;
    year.declaredIn = 1;
    year.hasCanonical = true;
    year.canonicalOffset = 0;
    year.canonicalLength = 2;
    year.layoutVaries = true;
    year.place = {1, 3, 12};
    year.value = "'a\nb'";
    data.items = {group, year};

    data.nodes.push_back({1, ProgramNode::Kind::Division, "PROCEDURE", 0, {0, 20, 8}, 1});
    Statement stmt;
    stmt.id = 1;
    stmt.kind = StatementKind::Compute;
    stmt.verb = "COMPUTE";
    stmt.group = 1;
    stmt.paragraph = 1;
    stmt.place = {0, 21, 12};
    stmt.firstToken = 1;
    stmt.lastToken = 2;
    Operand target;
    target.role = OperandRole::Target;
    target.item = 2;
    target.refMod = RefMod::Constant;
    target.refOffset = 1;
    target.refLength = 2;
    target.subscripts = {{2, ""}, {0, "3"}};
    Operand literal;
    literal.kind = OperandKind::Literal;
    literal.text = "1900";
    literal.sign = -1;
    stmt.operands = {target, literal};
    data.statements.push_back(stmt);
    Statement exec;
    exec.id = 2;
    exec.kind = StatementKind::Exec;
    exec.verb = "EXEC";
    exec.detail = "SQL SELECT";
    exec.group = 2;
    exec.paragraph = 1;
    exec.place = {0, 22, 12};
    Operand host;
    host.role = OperandRole::Target;
    host.item = 2;
    host.function = "INTEGER-OF-DATE";
    host.option = "INTO";
    host.column = "EMP.HIRE_DATE";
    host.sqlType = "CHAR(6)";
    host.place = {0, 22, 40};
    exec.operands = {host, host};
    exec.operands[1].option = ""; // an emptied field reads back empty
    data.statements.push_back(exec);
    data.tokens.push_back({1, TokenKind::Word, TokenRole::None, false, "COMPUTE", {0, 21, 12}, 7});
    data.tokens.push_back({2, TokenKind::Literal, TokenRole::None, true, "'x\ty'", {1, 3, 1}, 5});
    data.tokens.push_back(
        {3, TokenKind::Word, TokenRole::DataReference, false, "WS-YY", {1, 3, 7}, 5, 2});
    data.diagnostics.push_back({Diagnostic::Severity::Warning, {1, 3, 1}, "odd\tthing"});
    return data;
}

std::string writeText(const AnalysisData &data)
{
    std::ostringstream out;
    data.write(out);
    return out.str();
}

std::string readError(const std::string &text)
{
    std::istringstream in(text);
    try {
        AnalysisData::read(in, "x.adt");
    } catch (const IAccessError &error) {
        return error.text();
    }
    return "no error";
}

} // namespace

TEST(AnalysisData, writtenDataReadsBackUnchanged)
{
    const AnalysisData data = sampleData();
    const std::string text = writeText(data);
    std::istringstream in(text);
    const AnalysisData back = AnalysisData::read(in, "x.adt");
    EXPECT_EQ(writeText(back), text);
    ASSERT_EQ(back.items.size(), 2u);
    EXPECT_EQ(back.items[1].offset, 2u);
    EXPECT_EQ(back.items[1].value, "'a\nb'");
    EXPECT_TRUE(back.items[1].layoutVaries);
    EXPECT_EQ(back.includes[1].replacing[1].first, "A\tB");
    EXPECT_EQ(back.statements[0].operands[0].subscripts[0].item, 2u);
    EXPECT_EQ(back.statements[0].operands[0].subscripts[1].literal, "3");
    EXPECT_EQ(back.statements[0].operands[1].sign, -1);
    EXPECT_EQ(back.fileOf(1), "/src/my dir/DATES.cpy");
    EXPECT_EQ(back.includes[1].endLine, 13u);
    EXPECT_EQ(back.includes[1].endColumn, 30u);
    EXPECT_EQ(back.tokens[2].role, TokenRole::DataReference);
    EXPECT_EQ(back.tokens[2].item, 2u);
}

TEST(AnalysisData, rarelyUsedOperandFieldsReadBackInBothForms)
{
    const AnalysisData data = sampleData();
    const std::string text = writeText(data);
    std::istringstream in(text);
    const std::vector<AnalysisData> forms = {AnalysisData::read(in, "x.adt"),
                                             AnalysisData::parse(AdtBinaryWriter::encode(data),
                                                                 "x.adt")};
    for (const AnalysisData &back : forms) {
        ASSERT_EQ(back.statements.size(), 2u);
        const std::vector<Operand> &ops = back.statements[1].operands;
        ASSERT_EQ(ops.size(), 2u);
        EXPECT_EQ(ops[0].function, "INTEGER-OF-DATE");
        EXPECT_EQ(ops[0].option, "INTO");
        EXPECT_EQ(ops[0].column, "EMP.HIRE_DATE");
        EXPECT_EQ(ops[0].sqlType, "CHAR(6)");
        EXPECT_TRUE(ops[1].option.empty());
        EXPECT_EQ(ops[1].column, "EMP.HIRE_DATE");
        EXPECT_TRUE(back.statements[0].operands[1].function.empty());
        EXPECT_EQ(writeText(back), text);
    }
}

TEST(AnalysisData, offsetsAreOneBasedInTheFile)
{
    const std::string text = writeText(sampleData());
    // Item 2 sits at 0-based offset 2, canonical offset 0.
    EXPECT_NE(text.find("ITEM\t2\t5\tWS-YY\t1\tWORKING-STORAGE\t1\t1\t3\t2\tCOMP-3"),
              std::string::npos);
}

TEST(AnalysisData, includeQualifierNamesLibraryAndReplacing)
{
    EXPECT_EQ(includeQualifier("", {}), "DEFAULT");
    EXPECT_EQ(includeQualifier("LIBA", {}), "LIB=LIBA");
    const std::string q = includeQualifier("", {{"A", "B"}});
    ASSERT_EQ(q.size(), std::string("DEFAULT+R12345678").size());
    EXPECT_EQ(q.substr(0, 9), "DEFAULT+R");
    EXPECT_EQ(q, includeQualifier("", {{"A", "B"}}));
    EXPECT_NE(q, includeQualifier("", {{"A", "C"}}));
    EXPECT_NE(includeQualifier("", {{"AB", "C"}}), includeQualifier("", {{"A", "BC"}}));
}

TEST(AnalysisData, malformedFilesAreRejectedWithFileAndLine)
{
    const std::string good = writeText(sampleData());
    auto replaced = [&good](const std::string &from, const std::string &to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Case
    {
        const char *label;
        std::string text;
        const char *expected;
    };
    const Case cases[] = {
        {"empty", "", "x.adt:0: expected the header"},
        {"wrong header", "HELLO\n", "x.adt:1: expected the header"},
        {"future version",
         replaced("CHRONEX-ADT\t2", "CHRONEX-ADT\t3"),
         "x.adt:1: expected format version 1 or 2"},
        {"truncated", good.substr(0, good.find("END")), "expected the END record"},
        {"bad number", replaced("ITEM\t2\t5", "ITEM\t2\tfive"), "x.adt:8: expected level as a"},
        {"bad level", replaced("ITEM\t2\t5", "ITEM\t2\t50"), "expected a level 1-49"},
        {"item out of sequence", replaced("ITEM\t2", "ITEM\t7"), "expected item id 2"},
        {"bad usage", replaced("COMP-3", "COMP-9"), "expected a usage, found \"COMP-9\""},
        {"unknown tag", replaced("NODE\t", "NOPE\t"), "expected a record tag"},
        {"short record",
         replaced("\tPROCEDURE\t0\t0\t20\t8\t1", "\tPROCEDURE"),
         "expected 8 fields in a NODE record"},
        {"bad escape", replaced("odd\\tthing", "odd\\qthing"), "expected one of"},
        {"backslash before a tab",
         replaced("ITEM\t2\t5", "ITEM\t2\\\t5"),
         "x.adt:8: expected one of"},
        {"backslash at the line end",
         replaced("odd\\tthing", "odd\\"),
         "expected an escape after a backslash, found the end of the line"},
        {"header only", "CHRONEX-ADT\t1", "x.adt:1: expected a PROGRAM record, found the end"},
        {"no PROGRAM record",
         "CHRONEX-ADT\t1\nITEM",
         "x.adt:2: expected a PROGRAM record, found \"ITEM\""},
        {"dangling reference", replaced("\t1\t3\t2\t1\t0", "\t1\t3\t2\t9\t0"), "refers to 9"},
        {"wrong count", replaced("END\t2\t2", "END\t2\t3"), "expected 2 items"},
        {"orphan operand",
         replaced("STMT\t1", "OPND\t1\tSOURCE\tITEM\t1\t\t\t0\tNONE\t0\t0\t\t0\t0\t0\nSTMT\t1"),
         "an OPND record right after its STMT"},
    };
    for (const Case &c : cases) {
        const std::string error = readError(c.text);
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.label << ": " << error;
    }
}

TEST(AnalysisData, laterFieldsAreIgnored)
{
    std::string text = writeText(sampleData());
    const std::size_t end = text.find('\n', text.find("NODE\t"));
    text.insert(end, "\tfuture");
    std::istringstream in(text);
    EXPECT_EQ(AnalysisData::read(in, "x.adt").nodes.size(), 1u);
}

TEST(AnalysisData, filesWrittenBeforeRolesAndCopyEndsReadWithoutThem)
{
    // Drop the last two fields of every INCLUDE and TOKEN record, as earlier writers wrote them.
    std::istringstream full(writeText(sampleData()));
    std::string text, line;
    while (std::getline(full, line)) {
        if (line.starts_with("INCLUDE\t") || line.starts_with("TOKEN\t"))
            for (int drop = 0; drop < 2; ++drop)
                line.erase(line.rfind('\t'));
        text += line + "\n";
    }
    std::istringstream in(text);
    const AnalysisData data = AnalysisData::read(in, "x.adt");
    EXPECT_EQ(data.includes[1].endLine, 0u);
    EXPECT_EQ(data.includes[1].path, "/src/my dir/DATES.cpy");
    EXPECT_EQ(data.tokens[2].role, TokenRole::None);
    EXPECT_EQ(data.tokens[2].item, 0u);
    EXPECT_EQ(data.tokens[2].text, "WS-YY");
}

TEST(AnalysisData, lineEndsAndTheLastNewlineDoNotMatter)
{
    const std::string text = writeText(sampleData());
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    const struct
    {
        const char *label;
        std::string text;
    } cases[] = {{"CR LF", crlf}, {"no final newline", text.substr(0, text.size() - 1)}};
    for (const auto &c : cases) {
        std::istringstream in(c.text);
        try {
            EXPECT_EQ(writeText(AnalysisData::read(in, "x.adt")), text) << c.label;
        } catch (const IAccessError &error) {
            ADD_FAILURE() << c.label << ": " << error.text();
        }
    }
}

TEST(AnalysisData, writeFileReplacesTheTargetAndLeavesNothingElse)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
                                      / ("adt-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "PAYROLL.adt").string();
    std::ofstream(path) << "old contents";

    const AnalysisData data = sampleData();
    data.writeFile(path);
    EXPECT_EQ(writeText(AnalysisData::readFile(path)), writeText(data));
    std::size_t files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";

    // A FIFO named as the analysis data is refused at once, never waited on.
    const std::string fifo = (dir / "FIFO.adt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    try {
        AnalysisData::readFile(fifo);
        ADD_FAILURE() << "a FIFO was read as analysis data";
    } catch (const IAccessError &error) {
        EXPECT_EQ(error.text(), "The analysis data file " + fifo + " is not a regular file.");
    }
    std::filesystem::remove(fifo);

    const std::string missing = (dir / "no-such-dir" / "X.adt").string();
    try {
        data.writeFile(missing);
        ADD_FAILURE() << "writing into a missing directory succeeded";
    } catch (const IAccessError &error) {
        EXPECT_NE(error.text().find((dir / "no-such-dir").string()), std::string::npos)
            << error.text();
    }
    std::filesystem::remove_all(dir);
}

// The digest that tells kelmkpu a unit's analysis data is the one it was recorded from: equal
// for equal data in either form, different for any change, and none once part is released.
TEST(AnalysisData, theContentDigestTellsChangedDataApart)
{
    const AnalysisData data = sampleData();
    const std::string digest = AdtFile::fromData(data)->contentDigest();
    EXPECT_EQ(digest.size(), 32u);
    EXPECT_EQ(AdtFile::fromBytes(writeText(data), "x.adt")->contentDigest(), digest);
    const std::vector<std::function<void(AnalysisData &)>> changes = {
        [](AnalysisData &d) { d.items[1].offset += 1; },
        [](AnalysisData &d) { d.tokens[2].text += "X"; },
        [](AnalysisData &d) { d.statements[0].operands[1].sign = 1; },
        [](AnalysisData &d) { d.includes[1].qualifier = "LIB=LIBB"; },
        [](AnalysisData &d) { d.programName = "PAYROLM"; },
    };
    for (std::size_t k = 0; k < changes.size(); ++k) {
        AnalysisData changed = data;
        changes[k](changed);
        EXPECT_NE(AdtFile::fromData(changed)->contentDigest(), digest) << "change " << k;
    }
    const std::unique_ptr<AdtFile> file = AdtFile::fromData(data);
    file->releaseTokens();
    EXPECT_EQ(file->contentDigest(), "");

    // Pieces count with their lengths, and every byte of a tail counts.
    EXPECT_NE(ContentDigest().add("ab").add("c").hex(), ContentDigest().add("a").add("bc").hex());
    const std::string hundred(100, 'x');
    EXPECT_NE(ContentDigest().add(hundred).hex(),
              ContentDigest().add(hundred.substr(0, 99) + "y").hex());
    EXPECT_EQ(ContentDigest().add(hundred).hex(), ContentDigest().add(std::string(100, 'x')).hex());
}
