#include "ProgramUnitBuilder.h"
#include "AnalysisData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace cobol;
using kelmkpu::ProgramUnitBuilder;

namespace {

/// A temporary output directory, removed with everything in it.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelmkpu-test-XXXXXX")
                                  .string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    std::string file(const std::string &name) const
    {
        return (std::filesystem::path(m_path) / name).string();
    }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

DataItem item(std::uint32_t id,
              const std::string &name,
              int level,
              std::uint32_t parent,
              std::uint32_t storage,
              std::uint64_t offset,
              std::uint64_t length,
              Category category,
              const std::string &picture,
              int digits)
{
    DataItem d;
    d.id = id;
    d.name = name;
    d.level = level;
    d.parent = parent;
    d.record = storage;
    d.storage = storage;
    d.offset = offset;
    d.length = length;
    d.category = category;
    d.picture = picture;
    d.digits = digits;
    d.place = {0, 10 + id, 8};
    return d;
}

Operand itemOperand(OperandRole role, std::uint32_t id, int sign = 0)
{
    Operand op;
    op.role = role;
    op.item = id;
    op.sign = sign;
    return op;
}

/// A program that includes copybook DATEREC (REC-ID X(4), REC-EXP 99) as record 1 and has a
/// working-storage date and a year. `producer` fills the copybook's year from ACCEPT FROM DATE;
/// the consumer only copies REC-EXP out and compares it.
AnalysisData program(const std::string &name, bool producer)
{
    AnalysisData data;
    data.programName = name;
    data.sourcePath = "/src/" + name + ".cbl";
    data.includes.push_back({0, "", "", {}, "", data.sourcePath, 0, 0, 0});
    data.includes.push_back({1, "DATEREC", "", {}, "DEFAULT", "/src/DATEREC.cpy", 0, 5, 8});
    data.items.push_back(item(1, "CUST-REC", 1, 0, 1, 0, 6, Category::Group, "", 0));
    DataItem id = item(2, "REC-ID", 5, 1, 1, 0, 4, Category::Alphanumeric, "X(4)", 0);
    DataItem yy = item(3, "REC-EXP", 5, 1, 1, 4, 2, Category::Numeric, "99", 2);
    for (DataItem *d : {&id, &yy}) {
        d->declaredIn = 1;
        d->hasCanonical = true;
        d->canonicalOffset = d->offset;
        d->canonicalLength = d->length;
        d->place.include = 1;
    }
    data.items.push_back(id);
    data.items.push_back(yy);
    data.items.push_back(item(4, "WS-TODAY", 1, 0, 4, 0, 6, Category::Numeric, "9(6)", 6));
    data.items.push_back(item(5, "OUT-EXP", 1, 0, 5, 0, 2, Category::Numeric, "99", 2));
    Statement s;
    s.id = 1;
    s.place = {0, 40, 12};
    if (producer) {
        s.kind = StatementKind::Accept;
        s.verb = "ACCEPT";
        s.detail = "DATE";
        s.operands = {itemOperand(OperandRole::Target, 4)};
        data.statements.push_back(s);
        s.id = 2;
        s.kind = StatementKind::Move;
        s.verb = "MOVE";
        s.detail.clear();
        Operand part = itemOperand(OperandRole::Source, 4);
        part.refMod = RefMod::Constant;
        part.refOffset = 1;
        part.refLength = 2;
        s.operands = {part, itemOperand(OperandRole::Target, 3)};
        data.statements.push_back(s);
    } else {
        s.kind = StatementKind::Move;
        s.verb = "MOVE";
        s.operands = {itemOperand(OperandRole::Source, 3), itemOperand(OperandRole::Target, 5)};
        data.statements.push_back(s);
        s.id = 2;
        s.place.line = 41;
        s.kind = StatementKind::Compare;
        s.context = StatementContext::If;
        s.verb = "IF";
        s.detail = ">";
        Operand literal;
        literal.role = OperandRole::Compared;
        literal.kind = OperandKind::Literal;
        literal.text = "50";
        s.operands = {itemOperand(OperandRole::Compared, 5), literal};
        data.statements.push_back(s);
    }
    return data;
}

/// What the engine would append to the seed file after reading `xrl`: one seed block per INCLUDE.
std::string seedBlocks(const std::string &xrl)
{
    std::istringstream in(xrl);
    std::string line;
    std::string out;
    std::string kind;
    while (std::getline(in, line)) {
        if (line.rfind("<INCLUDE> ", 0) == 0) {
            out += "<SEED> <INCLUDE> " + line.substr(10) + "\n";
        } else if (line == "</RESULT>") {
            out += "</SEED>\n\n";
        } else if (line.rfind("<INDEX> ", 0) == 0) {
            std::string lower;
            for (char c : kind)
                lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::istringstream fields(line);
            std::string tag, index, lengthTag, length;
            fields >> tag >> index >> lengthTag >> length;
            out += "  <" + lower + "> <index> " + index + " <length> " + length + "\n";
        } else if (line.size() > 2 && line[0] == '<' && line[1] != '/' && line != "<RESULT>"
                   && line.rfind("<PROGRAM-INFO>", 0) != 0 && line.rfind("<FILE>", 0) != 0) {
            kind = line.substr(1, line.size() - 2);
        }
    }
    return out;
}

int runBuilder(const std::vector<std::string> &arguments, std::string *errors = nullptr)
{
    std::ostringstream err;
    const int rc = ProgramUnitBuilder::run(arguments, err);
    if (errors)
        *errors = err.str();
    return rc;
}

} // namespace

TEST(ProgramUnitBuilder, writesTheProgramInfoFileInTheEngineShape)
{
    TempDir dir;
    program("PROGA", true).writeFile(dir.file("PROGA.adt"));
    writeText(dir.file("seed.asd"), "");
    EXPECT_EQ(runBuilder({dir.file("PROGA.adt"),
                          "/r " + dir.file("seed.asd") + " /m- /c /u+ /d " + dir.path()}),
              0);
    EXPECT_EQ(readText(dir.file("PROGA.xrl")),
              "<PROGRAM-INFO>\n"
              "<FILE> /src/PROGA.cbl </FILE>\n"
              "<FILE> DATEREC </FILE>\n"
              "</PROGRAM-INFO>\n"
              "<INCLUDE> DATEREC DEFAULT\n"
              "<RESULT>\n"
              "<USED-AS-YEAR>\n"
              "<INDEX> 5 <LENGTH> 2\n"
              "</USED-AS-YEAR>\n"
              "</RESULT>\n");
    const std::string xca = readText(dir.file("PROGA.xca"));
    EXPECT_NE(
        xca.find(
            "FIELD\t/src/"
            "DATEREC.cpy\t13\tREC-EXP\tUSED-AS-YEAR\t1-2\tCUST-REC\t5-6\tDATEREC\tDEFAULT\t5-6\n"),
        std::string::npos)
        << xca;
    EXPECT_NE(xca.find(
                  "FIELD\t/src/PROGA.cbl\t14\tWS-TODAY\tUSED-AS-YEAR\t1-2\tWS-TODAY\t1-2\t\t\t\n"),
              std::string::npos)
        << xca;
    EXPECT_NE(xca.find("SUMMARY\t2\t0\t0\t0\t"), std::string::npos) << xca;
    // Nothing else is written into the output directory but the expanded source and the
    // analysis database (no WAL file is left behind).
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"PROGA.adt",
                                        "PROGA.xca",
                                        "PROGA.xpd",
                                        "PROGA.xrl",
                                        "chxanalysis.db",
                                        "seed.asd"}));
}

TEST(ProgramUnitBuilder, knowledgeReachesAnotherProgramThroughTheSharedCopybook)
{
    TempDir dir;
    program("PROGA", true).writeFile(dir.file("PROGA.adt"));
    program("PROGB", false).writeFile(dir.file("PROGB.adt"));
    writeText(dir.file("seed.asd"), "* user seeds\n");
    const std::vector<std::string>
        options{"/r", dir.file("seed.asd"), "/m-", "/c", "/u+", "/d", dir.path()};
    auto args = [&](const std::string &adt) {
        std::vector<std::string> all{dir.file(adt)};
        all.insert(all.end(), options.begin(), options.end());
        return all;
    };
    ASSERT_EQ(runBuilder(args("PROGB.adt")), 0);
    EXPECT_EQ(readText(dir.file("PROGB.xca")).find("OUT-EXP"), std::string::npos)
        << "B alone knows nothing";
    ASSERT_EQ(runBuilder(args("PROGA.adt")), 0);
    writeText(dir.file("seed.asd"), "* user seeds\n" + seedBlocks(readText(dir.file("PROGA.xrl"))));
    ASSERT_EQ(runBuilder(args("PROGB.adt")), 0);
    const std::string xca = readText(dir.file("PROGB.xca"));
    EXPECT_NE(xca.find("FIELD\t/src/PROGB.cbl\t15\tOUT-EXP\tUSED-AS-YEAR\t1-2\t"),
              std::string::npos)
        << xca;
    EXPECT_NE(xca.find("WINDOW\t/src/PROGB.cbl\t41\t12\tOUT-EXP\tcomparison with a two-digit year"),
              std::string::npos)
        << xca;
    // The seeded knowledge comes back as used-as (never promoted to always), so the loop settles.
    const std::string xrl = readText(dir.file("PROGB.xrl"));
    EXPECT_NE(xrl.find("<USED-AS-YEAR>\n<INDEX> 5 <LENGTH> 2\n"), std::string::npos) << xrl;
    const std::string before = xrl + xca;
    ASSERT_EQ(runBuilder(args("PROGB.adt")), 0);
    EXPECT_EQ(readText(dir.file("PROGB.xrl")) + readText(dir.file("PROGB.xca")), before)
        << "deterministic";
}

TEST(ProgramUnitBuilder, returnCodesFollowTheConvention)
{
    TempDir dir;
    program("PROGA", true).writeFile(dir.file("PROGA.adt"));
    writeText(dir.file("bad.adt"), "CHRONEX-ADT\t1\nPROGRAM\tX\n");
    writeText(
        dir.file("warn.asd"),
        "<SEED> <INCLUDE> DATEREC DEFAULT\n  <sometimes-year> <index> 1 <length> 2\n</SEED>\n");
    struct Case
    {
        const char *label;
        std::vector<std::string> arguments;
        int rc;
        const char *message;
    };
    for (const Case &c : std::vector<Case>{
             {"clean", {dir.file("PROGA.adt"), "/d", dir.path()}, 0, ""},
             {"seed warning",
              {dir.file("PROGA.adt"), "/r", dir.file("warn.asd"), "/d", dir.path()},
              4,
              "expected a date-field kind such as <always-year>, found \"<sometimes-year>\""},
             {"malformed adt",
              {dir.file("bad.adt"), "/d", dir.path()},
              8,
              "cannot use the analysis data file"},
             {"missing adt",
              {dir.file("none.adt"), "/d", dir.path()},
              8,
              "cannot use the analysis data file"},
             {"missing seed",
              {dir.file("PROGA.adt"), "/r", dir.file("none.asd"), "/d", dir.path()},
              8,
              "cannot open the seed file"},
             {"bad command line", {dir.file("PROGA.adt")}, 12, "no output directory given"},
             {"missing output directory",
              {dir.file("PROGA.adt"), "/d", dir.file("nodir")},
              12,
              "does not exist"},
         }) {
        std::string errors;
        EXPECT_EQ(runBuilder(c.arguments, &errors), c.rc) << c.label << ": " << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.label << ": " << errors;
    }
    // A failed analysis still leaves files that say why.
    EXPECT_NE(readText(dir.file("bad.xca")).find("ERROR\tcannot use the analysis data file"),
              std::string::npos);
    EXPECT_EQ(readText(dir.file("bad.xrl")).rfind("<PROGRAM-INFO>\n<FILE> ", 0), 0u);
}
