#include "CompilerDriver.h"

#include <gtest/gtest.h>

namespace {

std::string summary(const std::vector<std::string> &args)
{
    const CompilerDriver::Arguments a = CompilerDriver::parseArguments(args);
    if (!a.error.empty())
        return "error: " + a.error;
    std::string out = "source=" + a.source + " dialect=" + a.dialect;
    out += a.analyze ? " analyze" : "";
    out += a.compileOnly ? " c" : "";
    out += a.freeFormat ? " free" : "";
    for (const std::string &dir : a.includeDirectories)
        out += " I=" + dir;
    for (const std::string &word : a.ignored)
        out += " ignored=" + word;
    return out;
}

} // namespace

TEST(CompilerDriverArguments, optionsAndSources)
{
    struct Case
    {
        const char *label;
        std::vector<std::string> args;
        const char *expected;
    };
    const Case cases[] = {
        {"engine's command line",
         {"-c", "-i/src/my dir", "-qANALYZE", "/src/my dir/A.cbl"},
         "source=/src/my dir/A.cbl dialect=ibm analyze c I=/src/my dir"},
        {"slash forms, any case",
         {"/C", "/qanalyze", "/std=mf", "/abs/path/B.cbl"},
         "source=/abs/path/B.cbl dialect=mf analyze c"},
        {"an absolute path that looks like /q or /c is a source",
         {"/quarterly/C.cbl"},
         "source=/quarterly/C.cbl dialect=ibm"},
        {"free format", {"-free", "P.cbl"}, "source=P.cbl dialect=ibm free"},
        {"separate include argument",
         {"-i", "cpy", "-I", "more", "P.cbl"},
         "source=P.cbl dialect=ibm I=cpy I=more"},
        {"unknown words are kept for a warning",
         {"-xref", "-qLIST", "P.cbl"},
         "source=P.cbl dialect=ibm ignored=-xref ignored=-qLIST"},
        {"no source", {"-c"}, "error: No COBOL source was given."},
        {"two sources",
         {"A.cbl", "B.cbl"},
         "error: Only one COBOL source can be checked at a time; found 2."},
        {"include without directory", {"-i"}, "error: The option -i needs a directory."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(summary(c.args), c.expected) << c.label;
}
