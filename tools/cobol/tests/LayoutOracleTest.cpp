// Checks the data layout against GnuCOBOL itself: for each data-division fragment and dialect a
// generated program displays, for every named storage item, FUNCTION BYTE-LENGTH and its offset
// in its record (the difference of ADDRESS OF pointers); the front end must agree byte for byte.
#include "ChildProcess.h"
#include "FrontEnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace cobol;

namespace {

struct Fragment
{
    const char *label;
    const char *data;             ///< WORKING-STORAGE entries, each line starting in column 8
    bool laxDialectsOnly = false; ///< a larger REDEFINES is an error under the default dialect
};

const Fragment fragments[] = {
    {"usages and pictures",
     "       01 R-USAGE.\n"
     "          05 U-X       PIC X(3).\n"
     "          05 U-B1      PIC S9(2) COMP.\n"
     "          05 U-B2      PIC 9(4) BINARY.\n"
     "          05 U-B3      PIC S9(7) COMP-4.\n"
     "          05 U-B4      PIC 9(12) COMP.\n"
     "          05 U-C5A     PIC S99 COMP-5.\n"
     "          05 U-C5B     PIC 9(6) COMP-5.\n"
     "          05 U-P1      PIC S9(7) COMP-3.\n"
     "          05 U-P2      PIC 9(4)V99 PACKED-DECIMAL.\n"
     "          05 U-F1      COMP-1.\n"
     "          05 U-F2      COMP-2.\n"
     "          05 U-PTR     USAGE POINTER.\n"
     "          05 U-IDX     USAGE INDEX.\n"
     "          05 U-SL      PIC S9(3) SIGN LEADING SEPARATE.\n"
     "          05 U-ST      PIC S9(3) SIGN TRAILING.\n"
     "          05 U-PP      PIC 9(3)PP.\n"
     "          05 U-PL      PIC PP99.\n"
     "          05 U-V       PIC S9(5)V9(3).\n"
     "          05 U-ED      PIC ZZ,ZZ9.99CR.\n"
     "          05 U-DT      PIC 99/99/99.\n"
     "          05 U-A       PIC A(4).\n"},
    {"group usage inherited",
     "       01 R-INH.\n"
     "          05 I-G COMP-3.\n"
     "             10 I-A PIC S9(5).\n"
     "             10 I-B PIC 9(2).\n"
     "          05 I-H BINARY.\n"
     "             10 I-C PIC 9(3).\n"
     "             10 I-D PIC 9(9).\n"},
    {"nested occurs",
     "       01 R-OCC.\n"
     "          05 O-HEAD PIC X(3).\n"
     "          05 O-ROW OCCURS 3.\n"
     "             10 O-KEY PIC 9(2).\n"
     "             10 O-COL OCCURS 4.\n"
     "                15 O-YY PIC 99.\n"
     "                15 O-AMT PIC S9(5) COMP-3.\n"
     "          05 O-TAIL PIC X.\n"},
    {"occurs inside redefines and redefines chains",
     "       01 R-RED.\n"
     "          05 D-BASE PIC X(12).\n"
     "          05 D-TBL REDEFINES D-BASE.\n"
     "             10 D-ENT OCCURS 6 PIC 99.\n"
     "          05 D-DATE REDEFINES D-BASE.\n"
     "             10 D-YY PIC 99.\n"
     "             10 D-MM PIC 99.\n"
     "          05 D-AFTER PIC X(2).\n"
     "       01 R-RED2 REDEFINES R-RED.\n"
     "          05 D2-ALL PIC X(20).\n"},
    {"redefines larger than its base",
     "       01 R-BIG.\n"
     "          05 B-SMALL PIC X(2).\n"
     "          05 B-LARGE REDEFINES B-SMALL PIC X(6).\n"
     "          05 B-NEXT PIC X(3).\n",
     true},
    {"occurs depending on",
     "       01 R-ODO-CNT PIC 9(2) VALUE 5.\n"
     "       01 R-ODO.\n"
     "          05 Q-LEN PIC 9(3).\n"
     "          05 Q-ENT OCCURS 1 TO 5 DEPENDING ON R-ODO-CNT.\n"
     "             10 Q-YY PIC 99.\n"
     "             10 Q-X PIC X(3).\n"},
    {"levels 66 77 78 88",
     "       77 L-COUNT PIC S9(4) COMP.\n"
     "       78 L-CONST VALUE 42.\n"
     "       01 R-LVL.\n"
     "          05 L-A PIC X(2).\n"
     "             88 L-A-YES VALUE 'YY'.\n"
     "          05 L-B PIC 9(4).\n"
     "          05 L-C PIC X(5).\n"
     "       66 L-AB RENAMES L-A THRU L-B.\n"
     "       66 L-CC RENAMES L-C.\n"},
    {"sync slack",
     "       01 R-SYN.\n"
     "          05 S-A PIC X.\n"
     "          05 S-B PIC S9(4) COMP SYNC.\n"
     "          05 S-C PIC X(3).\n"
     "          05 S-D PIC S9(9) COMP SYNC.\n"
     "          05 S-E PIC X.\n"
     "          05 S-F PIC S9(18) COMP SYNC.\n"
     "          05 S-G USAGE POINTER SYNC.\n"
     "          05 S-H COMP-2 SYNC.\n"
     "          05 S-T OCCURS 3.\n"
     "             10 S-T1 PIC X.\n"
     "             10 S-T2 PIC S9(9) COMP-5 SYNC.\n"
     "             10 S-T3 PIC X.\n"},
    {"binary scaling and sign",
     "       01 R-BSC.\n"
     "          05 X-PP PIC 9(3)PP COMP.\n"
     "          05 X-SP PIC SPP9(2) COMP.\n"
     "          05 X-S5 PIC S9(3) COMP-5.\n"
     "          05 X-U9 PIC 9(9) COMP.\n"
     "          05 X-S10 PIC S9(10) COMP-3.\n"
     "          05 X-V PIC SV9(4) COMP.\n"},
};

std::string temporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "chronex-oracle-XXXXXX")
                              .string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

std::string programFor(const Fragment &fragment, const AnalysisData &data)
{
    std::ostringstream p;
    p << "       IDENTIFICATION DIVISION.\n"
         "       PROGRAM-ID. ORACLE.\n"
         "       DATA DIVISION.\n"
         "       WORKING-STORAGE SECTION.\n"
      << fragment.data
      << "       01 ZZ-P0 USAGE POINTER.\n"
         "       01 ZZ-N0 REDEFINES ZZ-P0 PIC S9(18) COMP-5.\n"
         "       01 ZZ-P1 USAGE POINTER.\n"
         "       01 ZZ-N1 REDEFINES ZZ-P1 PIC S9(18) COMP-5.\n"
         "       01 ZZ-LEN PIC 9(9).\n"
         "       01 ZZ-OFF PIC S9(9) SIGN LEADING SEPARATE.\n"
         "       PROCEDURE DIVISION.\n";
    for (const DataItem &item : data.items) {
        if (item.name == "FILLER" || item.level == 88 || item.level == 78
            || item.name.rfind("ZZ-", 0) == 0)
            continue;
        // One subscript (1) per OCCURS level above or at the item.
        int dimensions = 0;
        for (const DataItem *up = &item; up; up = data.item(up->parent))
            if (up->occursMax > 0)
                ++dimensions;
        std::string ref = item.name;
        if (dimensions > 0) {
            ref += "(1";
            for (int d = 1; d < dimensions; ++d)
                ref += " 1";
            ref += ")";
        }
        const DataItem *record = data.item(item.record);
        p << "           SET ZZ-P0 TO ADDRESS OF " << record->name << "\n"
          << "           SET ZZ-P1 TO ADDRESS OF " << ref << "\n"
          << "           COMPUTE ZZ-OFF = ZZ-N1 - ZZ-N0\n"
          << "           MOVE FUNCTION BYTE-LENGTH(" << ref << ")\n"
          << "             TO ZZ-LEN\n"
          << "           DISPLAY '" << item.name << " ' ZZ-LEN ' ' ZZ-OFF\n";
    }
    p << "           STOP RUN.\n";
    return p.str();
}

} // namespace

TEST(LayoutOracle, frontEndAgreesWithGnuCobol)
{
    if (ChildProcess::run({"cobc", "--version"}).outcome != ChildProcess::Outcome::Exited)
        GTEST_SKIP() << "cobc is not installed";
    const std::string dir = temporaryDirectory();
    ASSERT_FALSE(dir.empty());
    for (const char *dialectName : {"default", "ibm"}) {
        FrontEnd::Options options;
        options.dialect = *Dialect::byName(dialectName);
        for (const Fragment &fragment : fragments) {
            if (fragment.laxDialectsOnly && options.dialect.name == "default")
                continue;
            SCOPED_TRACE(std::string(fragment.label) + " / " + dialectName);
            // Parse once to learn the items, then generate and parse the real program.
            const std::string skeleton = programFor(fragment, {});
            const AnalysisData first = FrontEnd(options).parseText("x.cbl", skeleton).data;
            const std::string program = programFor(fragment, first);
            const std::string source = dir + "/oracle.cbl";
            std::ofstream(source) << program;
            const FrontEnd::Result ours = FrontEnd(options).parseFile(source);
            const std::string exe = dir + "/oracle";
            const ChildProcess::Result compiled = ChildProcess::run(
                {"cobc", "-x", std::string("-std=") + dialectName, "-o", exe, source});
            ASSERT_EQ(compiled.exitCode, 0) << compiled.output << program;
            const ChildProcess::Result ran = ChildProcess::run({exe});
            ASSERT_EQ(ran.exitCode, 0) << ran.output;
            std::map<std::string, std::pair<long, long>> truth;
            std::istringstream lines(ran.output);
            std::string name, len, off;
            while (lines >> name >> len >> off)
                truth[name] = {std::stol(len), std::stol(off)};
            int compared = 0;
            for (const DataItem &item : ours.data.items) {
                const auto it = truth.find(item.name);
                if (it == truth.end())
                    continue;
                ++compared;
                EXPECT_EQ(static_cast<long>(item.length), it->second.first)
                    << item.name << " length";
                EXPECT_EQ(static_cast<long>(item.offset), it->second.second)
                    << item.name << " offset";
            }
            EXPECT_GT(compared, 2) << ran.output;
        }
    }
    std::filesystem::remove_all(dir);
}
