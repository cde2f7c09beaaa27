#include "HostOptions.h"
#include "AnalysisPlan.h"
#include "DatabaseLocation.h"
#include "DbEu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct ParseCase
{
    const char *label;
    std::vector<std::string> arguments;
    bool valid;
    const char *errorPart; ///< part of the error (invalid) or of a summary (valid)
};

std::string summary(const HostOptions &options)
{
    std::string text = options.analyze ? "analyze" : "db=" + options.database;
    for (const HostOpenRequest &open : options.opens)
        text += " " + HostOptions::kindName(open.kind) + ":" + open.unit + ":"
                + std::to_string(open.line);
    if (!options.grabDirectory.empty())
        text += " grab=" + options.grabDirectory;
    for (const std::string &source : options.sources)
        text += " src=" + source;
    return text;
}

TEST(HostOptions, commandLines)
{
    const std::vector<ParseCase> cases = {
        {"database only", {"out"}, true, "db=out"},
        {"opens in order",
         {"--open", "b:PAYRUN:120", "--open", "datamap:PAYRUN", "--open", "tree:*", "db"},
         true,
         "db=db browser:PAYRUN:120 datamap:PAYRUN:0 tree::0"},
        {"grab", {"--grab", "/tmp/shots", "db"}, true, "db=db grab=/tmp/shots"},
        {"analyze",
         {"--analyze", "-I", "copy", "--dialect", "ibm", "A.cbl", "B.cbl"},
         true,
         "analyze src=A.cbl src=B.cbl"},
        {"no database", {}, false, "found 0 arguments"},
        {"two databases", {"a", "b"}, false, "found 2 arguments"},
        {"unknown option", {"--frobnicate", "db"}, false, "unknown option '--frobnicate'"},
        {"open without value", {"db", "--open"}, false, "--open expects a value"},
        {"open unknown kind", {"--open", "x:PAYRUN", "db"}, false, "KIND one of"},
        {"open bad line", {"--open", "b:PAYRUN:0", "db"}, false, "line number from 1"},
        {"open line not a number", {"--open", "b:PAYRUN:ten", "db"}, false, "'ten'"},
        {"include without analyze", {"-I", "copy", "db"}, false, "goes with --analyze"},
        {"analyze without sources", {"--analyze"}, false, "found none"},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.label);
        HostOptions options;
        std::string error;
        EXPECT_EQ(options.parse(c.arguments, error), c.valid) << error;
        if (c.valid)
            EXPECT_EQ(summary(options), c.errorPart);
        else
            EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
    }
}

class ScratchDirectory
{
public:
    ScratchDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "kelhost-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary directory");
        m_path = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const fs::path &path() const { return m_path; }
    fs::path write(const std::string &name, const std::string &text = "x") const
    {
        fs::create_directories((m_path / name).parent_path());
        std::ofstream(m_path / name) << text;
        return m_path / name;
    }

private:
    fs::path m_path;
};

TEST(DatabaseLocation, namesTheFileOrTheDirectoryThatHoldsIt)
{
    ScratchDirectory scratch;
    const fs::path database = scratch.write(std::string("run/") + DbEu::databaseFileName);
    fs::create_directories(scratch.path() / "empty");

    EXPECT_EQ(DatabaseLocation::resolve((scratch.path() / "run").string()).file, database.string());
    EXPECT_EQ(DatabaseLocation::resolve(database.string()).file, database.string());

    const DatabaseLocation missing = DatabaseLocation::resolve((scratch.path() / "nope").string());
    EXPECT_TRUE(missing.file.empty());
    EXPECT_NE(missing.error.find("does not exist"), std::string::npos);
    const DatabaseLocation empty = DatabaseLocation::resolve((scratch.path() / "empty").string());
    EXPECT_TRUE(empty.file.empty());
    EXPECT_NE(empty.error.find("holds no analysis database"), std::string::npos);

    // An empty file is what a conversion that has just started leaves for a moment.
    const fs::path starting = scratch.write("starting.db", "");
    EXPECT_TRUE(DatabaseLocation::isBeingSetUp(starting.string()));
    EXPECT_FALSE(DatabaseLocation::isBeingSetUp(database.string()));
}

TEST(AnalysisPlan, oneDatabasePerSetOfSourcesAndNoClashingBaseNames)
{
    ScratchDirectory scratch;
    const std::string a = scratch.write("src/PAYRUN.cbl").string();
    const std::string b = scratch.write("src/EMPAGE.cbl").string();
    const std::string clash = scratch.write("other/PAYRUN.cbl").string();
    const std::string cache = (scratch.path() / "cache").string();

    AnalysisPlan plan;
    std::string error;
    ASSERT_TRUE(plan.build({a, b}, "", {}, cache, error)) << error;
    EXPECT_EQ(plan.steps().size(), 4u);
    EXPECT_EQ(plan.steps()[0].program, "zmc2");
    EXPECT_EQ(plan.steps()[1].program, "kelmkpu");
    EXPECT_EQ(plan.title(), "src");
    EXPECT_EQ(plan.databaseFile(), plan.outputDirectory() + "/" + DbEu::databaseFileName);

    // The same sources in another order share the database; another dialect does not.
    AnalysisPlan again;
    ASSERT_TRUE(again.build({b, a}, "", {}, cache, error));
    EXPECT_EQ(again.outputDirectory(), plan.outputDirectory());
    AnalysisPlan ibm;
    ASSERT_TRUE(ibm.build({a, b}, "ibm", {}, cache, error));
    EXPECT_NE(ibm.outputDirectory(), plan.outputDirectory());

    AnalysisPlan refused;
    EXPECT_FALSE(refused.build({a, clash}, "", {}, cache, error));
    EXPECT_NE(error.find("same base name PAYRUN"), std::string::npos) << error;
    EXPECT_FALSE(refused.build({(scratch.path() / "none.cbl").string()}, "", {}, cache, error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
}

} // namespace
