// A unit recorded again from the same analysis data keeps its records and takes only what the
// new analysis found; anything that changes under the records makes the run record it whole.
// Either way the database ends as a first recording with the same seeds leaves it.
#include "AnalysisData.h"
#include "DatabaseContent.h"
#include "DbConnection.h"
#include "DbEu.h"
#include "DbWriter.h"
#include "FrontEnd.h"
#include "ProgramUnitBuilder.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using kelmkpu::ProgramUnitBuilder;
namespace fs = std::filesystem;

namespace {

fs::path samplesDirectory()
{
    const char *sourceDir = std::getenv("CHRONEX_SOURCE_DIR");
    return fs::path(sourceDir ? sourceDir : "") / "samples";
}

/// The database's content (databaseContent) with `directory` written as <OUT>.
std::string contentOf(const std::string &database, const std::string &directory)
{
    std::string content = databaseContent(database);
    for (std::size_t at = content.find(directory); at != std::string::npos;
         at = content.find(directory, at))
        content.replace(at, directory.size(), "<OUT>");
    return content;
}

/// Whether two databases' contents (contentOf) are the same; if not, the first line that differs.
testing::AssertionResult sameContent(const std::string &a, const std::string &b)
{
    std::istringstream left(a), right(b);
    std::string l, r;
    for (int line = 1;; ++line) {
        const bool moreLeft = static_cast<bool>(std::getline(left, l));
        const bool moreRight = static_cast<bool>(std::getline(right, r));
        if (!moreLeft && !moreRight)
            return testing::AssertionSuccess();
        if (l != r || moreLeft != moreRight)
            return testing::AssertionFailure()
                   << "line " << line << ":\n  " << l.substr(0, 300) << "\n  " << r.substr(0, 300);
    }
}

/// Sets a mark in the unit's records that only recording the unit whole takes away.
void markRecords(const std::string &database)
{
    DbConnection connection(database, DbConnection::Mode::readWrite, 1000);
    connection.execute("UPDATE input_file SET copybook = 'KEPT' WHERE seq = 0");
}

bool recordsKept(const std::string &database)
{
    DbConnection connection(database, DbConnection::Mode::readOnly, 1000);
    DbStatement find(connection, "SELECT copybook FROM input_file WHERE seq = 0");
    return find.step() && find.text(0) == "KEPT";
}

class UnitRefresh : public testing::Test
{
public:
    void SetUp() override
    {
        if (!fs::exists(samplesDirectory() / "PAYRUN.cbl"))
            GTEST_SKIP() << "the sample application is not in the source tree";
        fs::copy(samplesDirectory() / "copybooks",
                 m_dir.path() / "src",
                 fs::copy_options::recursive);
        fs::copy(samplesDirectory() / "PAYRUN.cbl", m_dir.path() / "src" / "PAYRUN.cbl");
        fs::copy(samplesDirectory() / "Seedfile" / "sample.xsd", m_dir.path() / "sample.xsd");
        m_dir.write("none.xsd", "");
        writeAnalysisData();
    }

    /// The analysis data of src/PAYRUN.cbl, as zmc2 writes it.
    void writeAnalysisData()
    {
        cobol::FrontEnd::Options options;
        options.includeDirectories = {m_dir.file("src")};
        cobol::FrontEnd(options).parseFile(m_dir.file("src/PAYRUN.cbl")).data.writeFile(adt());
    }

    std::string adt() const { return m_dir.file("PAYRUN.adt"); }
    /// An output directory of its own; all have the same name, which the execution unit takes.
    std::string output(const std::string &name) const
    {
        fs::create_directories(m_dir.path() / name / "out");
        return m_dir.file(name + "/out");
    }
    static std::string database(const std::string &directory)
    {
        return DbEu::databasePathIn(directory);
    }

    /// A run of kelmkpu as the engine starts it.
    int run(const std::string &directory, const std::string &seeds)
    {
        std::ostringstream err;
        const int code = ProgramUnitBuilder::run(
            {adt(), "/r", m_dir.file(seeds), "/m-", "/c", "/u+", "/d", directory}, err);
        EXPECT_LE(code, ProgramUnitBuilder::Warnings) << err.str();
        m_err = err.str();
        return code;
    }

    TemporaryDirectory m_dir;
    std::string m_err;
};

} // namespace

TEST_F(UnitRefresh, aRunOnTheSameDataKeepsTheRecordsAndTakesWhatItsAnalysisFound)
{
    const std::string again = output("again"), first = output("first");
    run(again, "none.xsd");
    const std::string unseeded = contentOf(database(again), again);
    markRecords(database(again));
    EXPECT_TRUE(DbWriter::recordedUnit(database(again), m_dir.file("src/PAYRUN.cbl")));

    // Other seeds: other date fields and window sites, the same records.
    const int code = run(again, "sample.xsd");
    EXPECT_TRUE(recordsKept(database(again)));
    EXPECT_EQ(run(first, "sample.xsd"), code);
    const std::string seeded = contentOf(database(first), first);
    EXPECT_NE(seeded, unseeded);
    markRecords(database(first));
    EXPECT_TRUE(sameContent(contentOf(database(again), again), contentOf(database(first), first)));

    // The same seeds again: nothing to write but the time stamp; and back to none.
    run(again, "sample.xsd");
    EXPECT_TRUE(sameContent(contentOf(database(again), again), contentOf(database(first), first)));
    run(again, "none.xsd");
    EXPECT_TRUE(recordsKept(database(again)));
    const std::string plain = output("plain");
    run(plain, "none.xsd");
    markRecords(database(plain));
    EXPECT_TRUE(sameContent(contentOf(database(again), again), contentOf(database(plain), plain)));
}

TEST_F(UnitRefresh, whatChangesUnderTheRecordsMakesTheRunRecordTheUnitWhole)
{
    const auto later = [](const fs::path &path) {
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
    };
    const struct
    {
        const char *what;
        std::function<void(UnitRefresh &, const std::string &directory)> change;
    } cases[] = {
        {"a copybook written since",
         [&](UnitRefresh &t, const std::string &) {
             later(t.m_dir.path() / "src" / "EMPREC.cpy");
         }},
        {"the source edited and analysed again",
         [](UnitRefresh &t, const std::string &) {
             std::ofstream(t.m_dir.file("src/PAYRUN.cbl"), std::ios::app)
                 << "      * a comment added at the end\n";
             t.writeAnalysisData();
         }},
        {"the expanded source removed",
         [](UnitRefresh &, const std::string &directory) {
             fs::remove(fs::path(directory) / "PAYRUN.xpd");
         }},
        {"the expanded source edited",
         [](UnitRefresh &, const std::string &directory) {
             std::ofstream(fs::path(directory) / "PAYRUN.xpd", std::ios::app) << "more\n";
         }},
        {"a database of a build that kept no origins",
         [](UnitRefresh &, const std::string &directory) {
             DbConnection(database(directory), DbConnection::Mode::readWrite, 1000)
                 .execute("DROP TABLE pu_origin");
         }},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string again = output("again" + std::to_string(n));
        const std::string first = output("first" + std::to_string(n++));
        run(again, "none.xsd");
        c.change(*this, again);
        markRecords(database(again));
        run(again, "sample.xsd");
        EXPECT_FALSE(recordsKept(database(again)));
        EXPECT_TRUE(fs::exists(fs::path(again) / "PAYRUN.xpd"));
        run(first, "sample.xsd");
        EXPECT_TRUE(
            sameContent(contentOf(database(again), again), contentOf(database(first), first)));
        // And the run after that keeps the records again.
        markRecords(database(again));
        run(again, "sample.xsd");
        EXPECT_TRUE(recordsKept(database(again)));
    }
}

TEST_F(UnitRefresh, aUnitRecordedSinceFromOtherDataIsNotTouched)
{
    const std::string directory = output("out");
    run(directory, "none.xsd");
    const std::string before = contentOf(database(directory), directory);
    DbWriter::Refresh refresh;
    refresh.sourceFile = m_dir.file("src/PAYRUN.cbl");
    refresh.originKey = "0123456789abcdef0123456789abcdef";
    refresh.state = DbPuState::analyzedWithWarnings;
    refresh.marks.push_back({0, 1, 1, "USED-AS-YEAR bytes 1-2"});
    EXPECT_FALSE(DbWriter::refresh(database(directory), "OTHER", refresh));
    refresh.sourceFile = m_dir.file("src/NOSUCH.cbl");
    EXPECT_FALSE(DbWriter::refresh(database(directory), "OTHER", refresh));
    EXPECT_EQ(contentOf(database(directory), directory), before);
    EXPECT_FALSE(DbWriter::recordedUnit(database(directory), refresh.sourceFile));
    EXPECT_FALSE(DbWriter::recordedUnit(m_dir.file("none.db"), m_dir.file("src/PAYRUN.cbl")));
    EXPECT_FALSE(DbWriter::recordedUnit(m_dir.file("none.xsd"), m_dir.file("src/PAYRUN.cbl")));
}
