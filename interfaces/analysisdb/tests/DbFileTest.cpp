// The database file: recording, replacing, reading while a unit is replaced, concurrent
// writers, and every kind of unusable file.
#include "DbConnection.h"
#include "DbEu.h"
#include "DbPu.h"
#include "DbSchema.h"
#include "DbWriter.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"
#include "TempDirectory.h"
#include "UnitFixture.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

namespace {

std::string bytesOf(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The message number and text DbEu::open throws for `path`; 0 when it opens.
std::pair<unsigned long, std::string> openError(const std::string &path)
{
    try {
        DbEu::open(path);
    } catch (const KelMsgException &e) {
        KelMsg::clearPending();
        return {e.message().number, e.text()};
    }
    return {0, ""};
}

/// A second version of the fixture's unit: another token text and one more mark.
DbUnitData secondVersion()
{
    DbUnitData u = smallUnit();
    u.tokens[1].text = "REC2";
    u.marks.push_back({0, 5, 2, "USED-AS-YEAR bytes 1-1"});
    return u;
}

} // namespace

TEST(DbFile, aRecordedUnitLoadsAsItWasWritten)
{
    TempDirectory dir;
    const std::string db = DbEu::databasePathIn(dir.path().string());
    const DbUnitData data = smallUnit();
    DbWriter::record(db, "Payroll conversion", data);

    std::unique_ptr<DbEu> eu = DbEu::open(db);
    EXPECT_EQ(eu->euName(), "Payroll conversion");
    ASSERT_EQ(eu->numberOfUnits(), 1u);
    DbPu &pu = *eu->numberToPu(1);
    EXPECT_EQ(pu.puName(), "SMALL");
    EXPECT_EQ(pu.header().tokenCount, 16u);
    EXPECT_EQ(DbPu::toIString(pu.state()), "Analyzed");
    EXPECT_FALSE(pu.isLoaded());
    ASSERT_TRUE(pu.load()) << pu.loadError();
    EXPECT_TRUE(pu.load()); // loaded once

    ASSERT_EQ(pu.numberOfTokens(), data.tokens.size());
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        const DbToken &t = *pu.numberToToken(n);
        const DbTokenRecord &r = data.tokens[n - 1];
        EXPECT_EQ(t.text(), r.text);
        EXPECT_EQ(t.type(), r.type);
        EXPECT_EQ(t.column(), r.column);
        EXPECT_EQ(t.expandedLine(), r.expandedLine);
        EXPECT_EQ(pu.symbol(r.symbol), t.dataSymbol());
        EXPECT_EQ(pu.nodeToNumber(t.owningSyntaxNode()), r.node);
    }
    EXPECT_EQ(pu.symbol(2)->longName(), "A OF REC");
    EXPECT_EQ(pu.symbol(2)->displayText(), "00000000");
    EXPECT_EQ(pu.treeRoot()->pLChild()->text(), "01 REC");
    EXPECT_EQ(pu.marks().at(0).text(), "comparison with a two-digit year");
    EXPECT_EQ(pu.expandedLine(4)->text, "       MOVE A OF REC TO B.");
    EXPECT_EQ(pu.includeFile(0)->path(), "/src/SMALL.cbl");

    // The file is marked as ours, versioned and in WAL mode.
    DbConnection connection(db, DbConnection::Mode::readOnly, 1000);
    EXPECT_EQ(connection.integer("PRAGMA user_version"), DbSchema::version);
    EXPECT_EQ(connection.integer("PRAGMA application_id"), 0x4B454C44);
    DbStatement mode(connection, "PRAGMA journal_mode");
    ASSERT_TRUE(mode.step());
    EXPECT_EQ(mode.text(0), "wal");
}

TEST(DbFile, recordingAgainReplacesTheUnitAndSameNamesFromOtherDirectoriesStayApart)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    DbWriter::record(db, "run", smallUnit("SMALL", "/a/SMALL.cbl"));
    DbWriter::record(db, "run", smallUnit("OTHER", "/a/OTHER.cbl"));
    DbUnitData again = secondVersion();
    again.header.sourceFile = "/a/SMALL.cbl";
    DbWriter::record(db, "run again", again);
    DbWriter::record(db, "run again", smallUnit("SMALL", "/b/SMALL.cbl"));

    std::unique_ptr<DbEu> eu = DbEu::open(db);
    EXPECT_EQ(eu->euName(), "run again");
    ASSERT_EQ(eu->numberOfUnits(), 3u);
    EXPECT_EQ(eu->numberToPu(1)->sourceFileName(), "/a/SMALL.cbl"); // kept its number
    EXPECT_EQ(eu->numberToPu(2)->puName(), "OTHER");
    EXPECT_EQ(eu->numberToPu(3)->sourceFileName(), "/b/SMALL.cbl");
    EXPECT_EQ(eu->numberToPu(3)->puName(), "SMALL");
    ASSERT_TRUE(eu->numberToPu(1)->load());
    EXPECT_EQ(eu->numberToPu(1)->numberToToken(2)->text(), "REC2");
    EXPECT_EQ(eu->numberToPu(1)->marks().size(), 2u);
    EXPECT_EQ(eu->puNamed("SMALL"), eu->numberToPu(1));

    EXPECT_TRUE(DbWriter::remove(db, "/a/OTHER.cbl"));
    EXPECT_FALSE(DbWriter::remove(db, "/a/OTHER.cbl"));
    EXPECT_EQ(DbEu::open(db)->numberOfUnits(), 2u);
}

TEST(DbFile, readersSeeOneWholeVersionWhileAWriterReplacesTheUnit)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    DbWriter::record(db, "run", smallUnit());

    // Objects loaded before a replacement stay as they were.
    std::unique_ptr<DbEu> before = DbEu::open(db);
    ASSERT_TRUE(before->numberToPu(1)->load());
    const DbToken *name = before->numberToPu(1)->numberToToken(2);
    DbWriter::record(db, "run", secondVersion());
    EXPECT_EQ(name->text(), "REC");
    std::unique_ptr<DbEu> after = DbEu::open(db);
    ASSERT_TRUE(after->numberToPu(1)->load());
    EXPECT_EQ(after->numberToPu(1)->numberToToken(2)->text(), "REC2");

    // Readers on their own threads while one writer replaces the unit again and again: every
    // load succeeds and sees one version whole.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i)
            DbWriter::record(db, "run", i % 2 ? smallUnit() : secondVersion());
        done = true;
    });
    int loads = 0;
    bool allWhole = true;
    while (!done || loads < 5) {
        std::unique_ptr<DbEu> eu = DbEu::open(db);
        DbPu &pu = *eu->numberToPu(1);
        if (!pu.load()) {
            allWhole = false;
            ADD_FAILURE() << pu.loadError();
            break;
        }
        const bool first = pu.numberToToken(2)->text() == "REC" && pu.marks().size() == 1;
        const bool second = pu.numberToToken(2)->text() == "REC2" && pu.marks().size() == 2;
        allWhole = allWhole && (first || second);
        ++loads;
    }
    writer.join();
    EXPECT_TRUE(allWhole);
    EXPECT_GE(loads, 5);
}

TEST(DbFile, concurrentWritersWaitForEachOtherInsteadOfFailing)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    std::atomic<int> failures{0};
    auto record = [&](const std::string &prefix) {
        for (int i = 0; i < 15; ++i) {
            try {
                DbWriter::record(db,
                                 "run",
                                 smallUnit(prefix + std::to_string(i),
                                           "/" + prefix + "/" + std::to_string(i) + ".cbl"));
            } catch (const KelMsgException &e) {
                ++failures;
                ADD_FAILURE() << e.text();
            }
        }
    };
    std::thread a(record, "A"), b(record, "B"), c(record, "C");
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(DbEu::open(db)->numberOfUnits(), 45u);
}

TEST(DbFile, aWriterLockedOutPastItsWaitSaysSoAndChangesNothing)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    DbWriter::record(db, "run", smallUnit());
    const std::string before = bytesOf(db);
    {
        DbConnection holder(db, DbConnection::Mode::readWrite, 0);
        DbTransaction lock(holder, DbTransaction::Kind::write);
        try {
            DbWriter::record(db, "run", secondVersion(), 200);
            ADD_FAILURE() << "recorded although the file was locked";
        } catch (const KelMsgException &e) {
            KelMsg::clearPending();
            EXPECT_EQ(e.message().number, KelMsgId::databaseLocked);
            EXPECT_NE(e.text().find(db), std::string::npos) << e.text();
        }
    }
    std::unique_ptr<DbEu> eu = DbEu::open(db);
    ASSERT_TRUE(eu->numberToPu(1)->load());
    EXPECT_EQ(eu->numberToPu(1)->numberToToken(2)->text(), "REC");
}

// A writer that keeps its chunks elsewhere until the write: each is read back as it is
// written; one that cannot be read fails the write, which leaves the unit recorded before.
TEST(DbFile, chunksLoadedAtWriteTimeAreWrittenAndOneUnreadableChangesNothing)
{
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable ? "readable" : "unreadable");
        TempDirectory dir;
        const std::string db = dir.file("chxanalysis.db");
        DbWriter::record(db, "run", smallUnit());
        const DbUnitData unit = secondVersion();
        DbWriter::Chunks chunks = DbWriter::encode(unit);
        std::vector<std::string> kept;
        for (auto *list : {&chunks.lines, &chunks.tokens, &chunks.nodes})
            for (DbWriter::Chunks::Chunk &chunk : *list)
                kept.push_back(std::exchange(chunk.data, std::string()));
        const std::size_t listStart[] = {0,
                                         chunks.lines.size(),
                                         chunks.lines.size() + chunks.tokens.size()};
        chunks.load = [&](int list, std::size_t index, std::string &data, std::string &error) {
            if (!readable && list == 1)
                return error = "the spill file is gone", false;
            data = kept.at(listStart[list] + index);
            return true;
        };
        try {
            DbWriter::record(db, "run", unit, DbWriter::busyTimeoutMs, &chunks);
            EXPECT_TRUE(readable) << "recorded although a chunk could not be read";
        } catch (const KelMsgException &e) {
            KelMsg::clearPending();
            EXPECT_FALSE(readable) << e.text();
            EXPECT_EQ(e.message().number, KelMsgId::unitNotRecorded);
            EXPECT_NE(e.text().find("the spill file is gone"), std::string::npos) << e.text();
        }
        std::unique_ptr<DbEu> eu = DbEu::open(db);
        ASSERT_TRUE(eu->numberToPu(1)->load());
        EXPECT_EQ(eu->numberToPu(1)->numberToToken(2)->text(), readable ? "REC2" : "REC");
    }
}

TEST(DbFile, readingNeverChangesTheFile)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    DbWriter::record(db, "run", smallUnit());
    const std::string before = bytesOf(db);
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<DbEu> eu = DbEu::open(db);
        ASSERT_TRUE(eu->numberToPu(1)->load());
    }
    EXPECT_EQ(bytesOf(db), before);
}

TEST(DbFile, unusableFilesGiveAMessageNamingTheFile)
{
    TempDirectory dir;
    const std::string good = dir.file("good.db");
    DbWriter::record(good, "run", smallUnit());
    const std::string goodBytes = bytesOf(good);
    auto write = [&](const std::string &name, const std::string &bytes) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
        return dir.file(name);
    };
    auto withSql = [&](const std::string &name, const std::string &sql) {
        const std::string path = write(name, goodBytes);
        DbConnection connection(path, DbConnection::Mode::readWrite, 1000);
        connection.execute(sql);
        return path;
    };
    const struct
    {
        const char *label;
        std::string path;
        unsigned long number;
        const char *says;
    } cases[] = {
        {"missing", dir.file("none.db"), KelMsgId::databaseMissing, "does not exist"},
        {"a directory", dir.path().string(), KelMsgId::notAnAnalysisDatabase, "directory"},
        {"empty", write("empty.db", ""), KelMsgId::notAnAnalysisDatabase, "it is empty"},
        {"text",
         write("text.db", std::string(4096, 'x')),
         KelMsgId::notAnAnalysisDatabase,
         "not a database"},
        {"truncated",
         write("cut.db", goodBytes.substr(0, 200)),
         KelMsgId::databaseDamaged,
         "malformed"},
        {"another application's",
         withSql("other.db", "PRAGMA application_id=7"),
         KelMsgId::notAnAnalysisDatabase,
         "another application"},
        {"newer schema",
         withSql("newer.db", "PRAGMA user_version=3"),
         KelMsgId::schemaTooNew,
         "schema version 3"},
        {"schema 1, before the impact facts",
         withSql("version1.db", "PRAGMA user_version=1"),
         KelMsgId::schemaTooOld,
         "older version"},
        {"older schema",
         withSql("older.db", "PRAGMA user_version=0"),
         KelMsgId::schemaTooOld,
         "older version"},
    };
    for (const auto &c : cases) {
        const auto [number, text] = openError(c.path);
        EXPECT_EQ(number, c.number) << c.label << ": " << text;
        EXPECT_NE(text.find(c.path), std::string::npos) << c.label << ": " << text;
        EXPECT_NE(text.find(c.says), std::string::npos) << c.label << ": " << text;
    }

    // A writer never touches a file of a newer schema or of another application.
    const std::string newer = dir.file("newer.db");
    const std::string newerBytes = bytesOf(newer);
    EXPECT_THROW(DbWriter::record(newer, "run", smallUnit()), KelMsgException);
    EXPECT_EQ(bytesOf(newer), newerBytes);
    // A file of an older schema is set up anew by the next writer.
    DbWriter::record(dir.file("older.db"), "run", smallUnit());
    EXPECT_EQ(openError(dir.file("older.db")).first, 0u);
    KelMsg::clearPending();
}

TEST(DbFile, damagedUnitContentFailsTheLoadWithAReason)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    DbWriter::record(db, "run", smallUnit());
    const struct
    {
        const char *label;
        const char *sql;
        const char *says;
    } cases[] = {
        {"a chunk cut short", "UPDATE token_chunk SET data = substr(data, 1, 20)", "damaged"},
        {"a chunk missing", "UPDATE node_chunk SET seq = 1", "damaged"},
        {"a reference out of range",
         "UPDATE symbol SET parent = 9 WHERE seq = 1",
         "symbol 2 has the parent 9"},
        {"the unit gone", "DELETE FROM pu", "no longer in the analysis database"},
    };
    for (const auto &c : cases) {
        const std::string copy = dir.file(std::string("copy-") + c.label + ".db");
        std::filesystem::copy_file(db, copy);
        std::unique_ptr<DbEu> eu = DbEu::open(copy);
        {
            DbConnection connection(copy, DbConnection::Mode::readWrite, 1000);
            connection.execute(c.sql);
        }
        DbPu &pu = *eu->numberToPu(1);
        EXPECT_FALSE(pu.load()) << c.label;
        EXPECT_NE(pu.loadError().find(c.says), std::string::npos)
            << c.label << ": " << pu.loadError();
        EXPECT_NE(pu.loadError().find(copy), std::string::npos) << c.label;
        EXPECT_FALSE(KelMsg::hasPending()) << c.label;
    }
}

TEST(DbFile, aNewUnitTakesTheNumberAskedForWhileItIsFree)
{
    TempDirectory dir;
    const std::string db = dir.file("chxanalysis.db");
    // Recorded in another order than numbered, as parallel builder runs end.
    DbWriter::record(db,
                     "run",
                     smallUnit("THIRD", "/a/THIRD.cbl"),
                     DbWriter::busyTimeoutMs,
                     nullptr,
                     3);
    DbWriter::record(db,
                     "run",
                     smallUnit("FIRST", "/a/FIRST.cbl"),
                     DbWriter::busyTimeoutMs,
                     nullptr,
                     1);
    // Recorded again: it keeps its number whatever is asked.
    DbWriter::record(db,
                     "run",
                     smallUnit("FIRST", "/a/FIRST.cbl"),
                     DbWriter::busyTimeoutMs,
                     nullptr,
                     7);
    // A number that is taken gives the next free one after the highest.
    DbWriter::record(db,
                     "run",
                     smallUnit("CLASH", "/a/CLASH.cbl"),
                     DbWriter::busyTimeoutMs,
                     nullptr,
                     3);
    DbWriter::record(db, "run", smallUnit("PLAIN", "/a/PLAIN.cbl"));

    DbConnection connection(db, DbConnection::Mode::readOnly, 1000);
    const auto id = [&](const std::string &name) {
        DbStatement find(connection, "SELECT id FROM pu WHERE name = ?");
        find.bind(1, name);
        return find.step() ? find.integer(0) : 0;
    };
    EXPECT_EQ(id("FIRST"), 1);
    EXPECT_EQ(id("THIRD"), 3);
    EXPECT_EQ(id("CLASH"), 4);
    EXPECT_EQ(id("PLAIN"), 5);
    // The views number the units in that order, without gaps.
    std::unique_ptr<DbEu> eu = DbEu::open(db);
    ASSERT_EQ(eu->numberOfUnits(), 4u);
    EXPECT_EQ(eu->numberToPu(1)->puName(), "FIRST");
    EXPECT_EQ(eu->numberToPu(2)->puName(), "THIRD");
    EXPECT_EQ(eu->numberToPu(3)->puName(), "CLASH");
    EXPECT_EQ(eu->numberToPu(4)->puName(), "PLAIN");
}

TEST(DbFile, processesThatCreateTheFileTogetherAllRecordTheirUnits)
{
    // Builders started together on a new output directory each set the new file up; SQLite
    // refuses a switch to WAL at once while another process makes it, instead of waiting.
    constexpr int writers = 6;
    for (int round = 0; round < 30; ++round) {
        TempDirectory dir;
        const std::string db = dir.file("chxanalysis.db");
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        std::vector<pid_t> children;
        for (int w = 0; w < writers; ++w) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(start[1]);
                char go = 0;
                const bool started = ::read(start[0], &go, 1) >= 0;
                int status = started ? 0 : 3;
                try {
                    const std::string name = "W" + std::to_string(w);
                    DbWriter::record(db, "run", smallUnit(name, "/w/" + name + ".cbl"));
                } catch (...) {
                    status = 1;
                }
                ::_exit(status);
            }
            children.push_back(child);
        }
        ::close(start[0]);
        ::close(start[1]); // every child reads the end of the pipe at the same moment
        int failed = 0;
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            failed += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
        }
        ASSERT_EQ(failed, 0) << "round " << round;
        EXPECT_EQ(DbEu::open(db)->numberOfUnits(), std::size_t(writers));
    }
}
