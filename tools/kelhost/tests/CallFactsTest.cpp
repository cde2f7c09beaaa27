#include "CallFacts.h"

#include "DbEu.h"
#include "DbPu.h"
#include "RecordedUnits.h"

#include <gtest/gtest.h>

namespace {

/// A caller with every kind of CALL: a literal, an item with a literal VALUE, an item with a
/// figurative VALUE, an item without VALUE, and a literal of a program outside the unit.
const char *const callerProgram = "       IDENTIFICATION DIVISION.\n"
                                  "       PROGRAM-ID. MAINPGM.\n"
                                  "       DATA DIVISION.\n"
                                  "       WORKING-STORAGE SECTION.\n"
                                  "       01  WS-TAX-PGM        PIC X(8) VALUE 'taxcalc '.\n"
                                  "       01  WS-BLANK-PGM      PIC X(8) VALUE SPACES.\n"
                                  "       01  WS-ANY-PGM        PIC X(8).\n"
                                  "       01  WS-AMOUNT         PIC 9(5).\n"
                                  "       PROCEDURE DIVISION.\n"
                                  "       MAIN-PARA.\n"
                                  "           CALL 'PAYCALC' USING WS-AMOUNT\n"
                                  "      *    CALL 'COMMENTED' IS NOT A CALL\n"
                                  "           CALL WS-TAX-PGM USING WS-AMOUNT\n"
                                  "           CALL WS-BLANK-PGM\n"
                                  "           CALL WS-ANY-PGM\n"
                                  "           CALL \"EXTERNAL1\"\n"
                                  "           STOP RUN.\n";

const char *const paycalcProgram = "       IDENTIFICATION DIVISION.\n"
                                   "       PROGRAM-ID. PAYCALC.\n"
                                   "       DATA DIVISION.\n"
                                   "       LINKAGE SECTION.\n"
                                   "       01  LK-AMOUNT         PIC 9(5).\n"
                                   "       PROCEDURE DIVISION USING LK-AMOUNT.\n"
                                   "       MAIN-PARA.\n"
                                   "           CALL 'TAXCALC' USING LK-AMOUNT\n"
                                   "           GOBACK.\n";

const char *const taxcalcProgram = "       IDENTIFICATION DIVISION.\n"
                                   "       PROGRAM-ID. TAXCALC.\n"
                                   "       PROCEDURE DIVISION.\n"
                                   "       MAIN-PARA.\n"
                                   "           GOBACK.\n";

class CallFactsTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_units = new RecordedUnits("CALLS");
        s_units->recordText("MAINPGM.cbl", callerProgram);
        s_units->recordText("PAYCALC.cbl", paycalcProgram);
        s_units->recordText("TAXCALC.cbl", taxcalcProgram);
        s_eu = &s_units->open();
    }
    static void TearDownTestSuite()
    {
        delete s_units;
        s_units = nullptr;
    }
    static DbPu &unit(const std::string &name)
    {
        DbPu *pu = s_eu->puNamed(name);
        EXPECT_NE(pu, nullptr) << name;
        EXPECT_TRUE(pu->isLoaded() || pu->load()) << pu->loadError();
        return *pu;
    }

    static RecordedUnits *s_units;
    static DbEu *s_eu;
};

RecordedUnits *CallFactsTest::s_units = nullptr;
DbEu *CallFactsTest::s_eu = nullptr;

TEST_F(CallFactsTest, eachCallStatementGivesItsTargetWhenTheSourceNamesIt)
{
    DbPu &main = unit("MAINPGM");
    const std::vector<CallFacts::Call> calls = CallFacts::callsOf(main);
    struct Expected
    {
        const char *target;
        bool dynamic;
    };
    // The commented CALL is no statement; the VALUE SPACES and the item without VALUE name no
    // program; a literal VALUE is trimmed and upper-cased as the runtime looks the name up.
    const std::vector<Expected> expected = {{"PAYCALC", false},
                                            {"TAXCALC", true},
                                            {"", true},
                                            {"", true},
                                            {"EXTERNAL1", false}};
    ASSERT_EQ(calls.size(), expected.size());
    std::uint32_t previousLine = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].target, expected[i].target);
        EXPECT_EQ(calls[i].isDynamic, expected[i].dynamic);
        const DbToken *word = main.numberToToken(calls[i].token);
        ASSERT_NE(word, nullptr);
        EXPECT_EQ(word->text(), "CALL");
        EXPECT_EQ(calls[i].line, word->expandedLine());
        EXPECT_GT(calls[i].line, previousLine);
        previousLine = calls[i].line;
    }
}

TEST_F(CallFactsTest, callersAreTheOtherUnitsThatCallTheUnitByAnyRoute)
{
    // TAXCALC is called dynamically by MAINPGM (through WS-TAX-PGM) and statically by PAYCALC.
    const std::vector<CallFacts::Caller> taxCallers = CallFacts::callersOf(*s_eu, unit("TAXCALC"));
    std::vector<std::string> names;
    for (const CallFacts::Caller &caller : taxCallers)
        names.push_back(caller.caller->puName() + (caller.call.isDynamic ? "/dynamic" : "/static"));
    EXPECT_EQ(names, (std::vector<std::string>{"MAINPGM/dynamic", "PAYCALC/static"}));

    EXPECT_TRUE(CallFacts::callersOf(*s_eu, unit("MAINPGM")).empty());
    EXPECT_TRUE(CallFacts::callsOf(unit("TAXCALC")).empty());
}

TEST(CallFactsNames, programNamesCompareAsTheRuntimeFindsThem)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"'PAYCALC'", "PAYCALC"},
        {"\"paycalc\"", "PAYCALC"},
        {"'  Tax01  '", "TAX01"},
        {"PLAIN", "PLAIN"},
        {"'", "'"}, // a lone quote is no quoted text
        {"''", ""},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(CallFacts::normalName(text), expected) << text;
}

} // namespace
