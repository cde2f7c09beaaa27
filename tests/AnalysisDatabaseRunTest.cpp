// The analysis database as a user gets it: kelconv converts a program whose records have
// REDEFINES, OCCURS (also DEPENDING ON), FILLER, RENAMES and nested copybooks; keldb then reads
// the database, and every offset and length it shows is the one GnuCOBOL itself gives (a program
// compiled with cobc displays BYTE-LENGTH and the ADDRESS OF difference of every item).

#include "FrontEnd.h"
#include "RunTestSupport.h"
#include "ToolchainRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using RunTestSupport::readFile;
using RunTestSupport::writeFile;

namespace {

const char *const acctrec = "      * ACCOUNT MASTER RECORD (133 BYTES)\n"
                            "           05  ACCT-ID             PIC 9(8).\n"
                            "           05  ACCT-NAME           PIC X(30).\n"
                            "           05  ACCT-OPENED.\n"
                            "               10  ACCT-OPEN-YY    PIC 99.\n"
                            "               10  ACCT-OPEN-MMDD  PIC 9(4).\n"
                            "           05  ACCT-OPENED-N REDEFINES ACCT-OPENED PIC 9(6).\n"
                            "           05  FILLER              PIC X(2).\n"
                            "           05  ACCT-ADDRESS.\n"
                            "               COPY ADDRREC.\n"
                            "           05  ACCT-BALANCE        PIC S9(9)V99 COMP-3.\n"
                            "           05  ACCT-HISTORY OCCURS 4 TIMES.\n"
                            "               10  HIST-YY         PIC 99.\n"
                            "               10  HIST-AMT        PIC S9(7) COMP.\n"
                            "               10  FILLER          PIC X.\n"
                            "           05  ACCT-FLAGS          PIC X.\n"
                            "               88  ACCT-CLOSED     VALUE 'C'.\n";
const char *const addrrec = "               10  ADDR-STREET     PIC X(25).\n"
                            "               10  ADDR-CITY.\n"
                            "                   COPY CITYREC.\n"
                            "               10  ADDR-ZIP        PIC 9(5).\n";
const char *const cityrec = "                   15  CITY-NAME   PIC X(20).\n"
                            "                   15  CITY-CODE   PIC 9(3) COMP-3.\n";
const char *const program = "       IDENTIFICATION DIVISION.\n"
                            "       PROGRAM-ID. ORACLE.\n"
                            "       DATA DIVISION.\n"
                            "       WORKING-STORAGE SECTION.\n"
                            "       01  ACCOUNT-RECORD.\n"
                            "           COPY ACCTREC.\n"
                            "       01  ACCOUNT-COPY REDEFINES ACCOUNT-RECORD.\n"
                            "           05  COPY-KEY            PIC X(8).\n"
                            "           05  FILLER              PIC X(125).\n"
                            "       01  TXN-HEADER.\n"
                            "           05  TXN-HEAD            PIC X(5).\n"
                            "           05  TXN-DATE.\n"
                            "               10  TXN-YY          PIC 99.\n"
                            "               10  TXN-MM          PIC 99.\n"
                            "           05  TXN-TYPE            PIC X.\n"
                            "       66  TXN-HEAD-DATE RENAMES TXN-HEAD THRU TXN-DATE.\n"
                            "      * GNUCOBOL GIVES THE CURRENT LENGTH OF A TABLE THAT DEPENDS ON\n"
                            "      * A COUNT: AT THE MAXIMUM IT IS THE LENGTH LAID OUT.\n"
                            "       01  TXN-COUNT               PIC 9(2) COMP VALUE 9.\n"
                            "       01  TXN-RECORD.\n"
                            "           05  TXN-KEY             PIC X(5).\n"
                            "           05  TXN-LINES OCCURS 1 TO 9 DEPENDING ON TXN-COUNT.\n"
                            "               10  TXN-CODE        PIC X(3).\n"
                            "               10  TXN-AMT         PIC S9(5)V99 COMP-3.\n"
                            "       77  WS-SWITCH               PIC X.\n"
                            "       PROCEDURE DIVISION.\n"
                            "           MOVE TXN-YY TO ACCT-OPEN-YY\n"
                            "           STOP RUN.\n";

/// The oracle: ORACLE.cbl's data division, then a procedure division that displays, for every
/// named storage item, its index, BYTE-LENGTH and offset in its record.
std::string oracleProgram(const cobol::AnalysisData &data)
{
    std::ostringstream p;
    const std::string source = program;
    p << source.substr(0, source.find("       PROCEDURE DIVISION."))
      << "       01 ZZ-P0 USAGE POINTER.\n"
         "       01 ZZ-N0 REDEFINES ZZ-P0 PIC S9(18) COMP-5.\n"
         "       01 ZZ-P1 USAGE POINTER.\n"
         "       01 ZZ-N1 REDEFINES ZZ-P1 PIC S9(18) COMP-5.\n"
         "       01 ZZ-LEN PIC 9(9).\n"
         "       01 ZZ-OFF PIC S9(9) SIGN LEADING SEPARATE.\n"
         "       PROCEDURE DIVISION.\n";
    for (const cobol::DataItem &item : data.items) {
        if (item.name == "FILLER" || item.level == 88 || item.level == 78)
            continue;
        // The fully qualified name, one part per line so no line passes column 72.
        std::string ref = "               " + item.name + "\n";
        for (const cobol::DataItem *up = data.item(item.parent); up; up = data.item(up->parent))
            ref += "                 OF " + up->name + "\n";
        int dimensions = 0;
        for (const cobol::DataItem *up = &item; up; up = data.item(up->parent))
            dimensions += up->occursMax > 0 ? 1 : 0;
        if (dimensions > 0)
            ref += dimensions == 1 ? "                 (1)\n" : "                 (1 1)\n";
        p << "           SET ZZ-P0 TO ADDRESS OF " << data.item(item.record)->name << "\n"
          << "           SET ZZ-P1 TO ADDRESS OF\n"
          << ref << "           COMPUTE ZZ-OFF = ZZ-N1 - ZZ-N0\n"
          << "           MOVE FUNCTION BYTE-LENGTH(\n"
          << ref << "               ) TO ZZ-LEN\n"
          << "           DISPLAY '" << item.id << " ' ZZ-LEN ' ' ZZ-OFF\n";
    }
    p << "           STOP RUN.\n";
    return p.str();
}

} // namespace

TEST(AnalysisDatabaseRun, keldbShowsTheOffsetsGnuCobolGives)
{
    const char *binValue = std::getenv("CHRONEX_BIN_DIR");
    ASSERT_NE(binValue, nullptr) << "CHRONEX_BIN_DIR is not set";
    RunTestSupport::TemporaryDirectory root;
    RunTestSupport::ScopedEnvironment environment;
    environment.set("CHRONEX_HOME", (root.path() / "home").string());
    environment.set("XDG_CACHE_HOME", (root.path() / "cache").string());
    environment.set("PATH", std::string(binValue) + ":" + std::getenv("PATH"));
    environment.unset("CHRONEX_OUTPUT_DIR");
    environment.unset("COBCPY");
    const fs::path src = root.path() / "src", out = root.path() / "out",
                   captures = root.path() / "captures";
    for (const fs::path &dir : {src, captures, root.path() / "home"})
        fs::create_directories(dir);
    writeFile(src / "ACCTREC.cpy", acctrec);
    writeFile(src / "ADDRREC.cpy", addrrec);
    writeFile(src / "CITYREC.cpy", cityrec);
    writeFile(src / "ORACLE.cbl", program);
    writeFile(root.path() / "seed.xsd", "");

    const ToolchainRun::ProcessResult conversion
        = ToolchainRun::run("kelconv",
                            {"--seed",
                             (root.path() / "seed.xsd").string(),
                             "--out",
                             out.string(),
                             "--title",
                             "Oracle run",
                             (src / "ORACLE.cbl").string()},
                            root.path(),
                            captures);
    const fs::path db = out / "chxanalysis.db";
    EXPECT_TRUE(conversion.output.ends_with("\nDatabase:  " + db.string() + "\n"))
        << conversion.output << conversion.errors;
    ASSERT_TRUE(fs::exists(db)) << conversion.output << conversion.errors;

    const ToolchainRun::ProcessResult units = ToolchainRun::run("keldb",
                                                                {"units", db.string()},
                                                                root.path(),
                                                                captures);
    EXPECT_EQ(units.status, 0) << units.errors;
    EXPECT_TRUE(units.output.starts_with("Execution unit: Oracle run (1 program units)\n"))
        << units.output;

    // What GnuCOBOL says.
    cobol::FrontEnd::Options options;
    options.includeDirectories = {src.string()};
    const cobol::AnalysisData data
        = cobol::FrontEnd(options).parseFile((src / "ORACLE.cbl").string()).data;
    writeFile(root.path() / "truth.cbl", oracleProgram(data));
    const ToolchainRun::ProcessResult compiled
        = ToolchainRun::run("cobc",
                            {"-x",
                             "-std=ibm",
                             "-I",
                             src.string(),
                             "-o",
                             (root.path() / "truth").string(),
                             (root.path() / "truth.cbl").string()},
                            root.path(),
                            captures);
    ASSERT_EQ(compiled.status, 0) << compiled.output << compiled.errors;
    const ToolchainRun::ProcessResult ran = ToolchainRun::run((root.path() / "truth").string(),
                                                              {},
                                                              root.path(),
                                                              captures);
    ASSERT_EQ(ran.status, 0) << ran.errors;
    std::map<std::uint32_t, std::pair<long, long>> truth; // item id -> length, offset
    std::istringstream lines(ran.output);
    for (long id, length, offset; lines >> id >> length >> offset;)
        truth[static_cast<std::uint32_t>(id)] = {length, offset};
    ASSERT_GT(truth.size(), 25u) << ran.output;

    // What keldb says: one line per symbol, symbol n is item n.
    const ToolchainRun::ProcessResult symbols
        = ToolchainRun::run("keldb", {"symbols", db.string(), "ORACLE"}, root.path(), captures);
    ASSERT_EQ(symbols.status, 0) << symbols.errors;
    const std::vector<std::string> rows = ToolchainRun::lines(symbols.output);
    ASSERT_EQ(rows.size(), data.items.size());
    std::map<std::string, long> offsetByName; // for the map below (names unique per record)
    for (const auto &[id, expected] : truth) {
        std::istringstream row(rows[id - 1]);
        std::string level, longName;
        long offset = -1, length = -1;
        row >> level >> offset >> length;
        std::getline(row >> std::ws, longName);
        EXPECT_EQ(length, expected.first) << longName;
        EXPECT_EQ(offset, expected.second) << longName;
        if (data.items[id - 1].record == 1)
            offsetByName[data.items[id - 1].name] = expected.second;
    }

    // The map of ACCOUNT-RECORD: every named item stands in the row of its GnuCOBOL offset.
    const ToolchainRun::ProcessResult map
        = ToolchainRun::run("keldb",
                            {"map", db.string(), "ORACLE", "ACCOUNT-RECORD"},
                            root.path(),
                            captures);
    ASSERT_EQ(map.status, 0) << map.errors;
    int placed = 0;
    for (const std::string &line : ToolchainRun::lines(map.output)) {
        ASSERT_GE(line.size(), 8u) << line;
        const long rowOffset = std::stol(line.substr(0, 8));
        std::istringstream items(line.substr(8));
        for (std::string column, name; items >> column;) {
            if (column == "OCCURS") { // "OCCURS n TIMES" follows its item
                items >> name >> name;
                continue;
            }
            items >> name;
            if (name == "FILLER")
                continue;
            ASSERT_TRUE(offsetByName.count(name)) << name;
            EXPECT_EQ(rowOffset, offsetByName[name]) << name << " in " << line;
            ++placed;
        }
    }
    EXPECT_EQ(placed, 18) << map.output;
}
