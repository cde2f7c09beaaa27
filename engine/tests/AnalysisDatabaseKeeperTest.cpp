// The keeper holds the analysis database's log open between builder runs and folds it into the
// database file when it lets go; it leaves alone what is not a database in log mode.

#include "AnalysisDatabaseKeeper.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

/// One builder run's worth of work: opens its own connection, runs `sql`, closes.
void runAsBuilder(const std::string &file, const std::string &sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 5000);
    char *error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

int countRows(const std::string &file)
{
    sqlite3 *db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM unit", -1, &statement, nullptr)
                == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

std::string contentOf(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AnalysisDatabaseKeeperTest, theRunsShareOneLogThatIsFoldedIntoTheFileAtTheEnd)
{
    TemporaryDirectory dir;
    const std::string file = dir.file("chxanalysis.db");
    AnalysisDatabaseKeeper keeper(file);
    keeper.holdIfPresent();
    EXPECT_FALSE(keeper.isHolding()) << "nothing to hold before the first run made the file";

    runAsBuilder(file,
                 "PRAGMA journal_mode=WAL; CREATE TABLE unit (name TEXT);"
                 "INSERT INTO unit VALUES ('P1')");
    EXPECT_FALSE(fs::exists(file + "-wal")) << "the last connection to close removes the log";
    keeper.holdIfPresent();
    ASSERT_TRUE(keeper.isHolding());

    for (const char *unit : {"P2", "P3", "P4"})
        runAsBuilder(file, std::string("INSERT INTO unit VALUES ('") + unit + "')");
    EXPECT_TRUE(fs::exists(file + "-wal")) << "a held log outlives the runs";
    EXPECT_EQ(countRows(file), 4);

    keeper.release();
    EXPECT_FALSE(keeper.isHolding());
    EXPECT_FALSE(fs::exists(file + "-wal"));
    // The database file alone now holds every unit: a copy of it without its log reads whole.
    fs::copy_file(file, dir.file("copy.db"));
    EXPECT_EQ(countRows(dir.file("copy.db")), 4);
}

TEST(AnalysisDatabaseKeeperTest, leavesAloneWhatItCannotHoldAsALoggedDatabase)
{
    struct Case
    {
        const char *what;
        std::string content; // written as the file; empty: an empty file
        const char *sql;     // or, when set, a database made by this
    };
    const Case cases[] = {
        {"an empty file", "", nullptr},
        {"a text file", "not a database at all\n", nullptr},
        {"a database in rollback mode", "", "CREATE TABLE unit (name TEXT)"},
    };
    for (const Case &one : cases) {
        SCOPED_TRACE(one.what);
        TemporaryDirectory dir;
        const std::string file = dir.write("chxanalysis.db", one.content);
        if (one.sql)
            runAsBuilder(file, one.sql);
        const std::string before = contentOf(file);
        {
            AnalysisDatabaseKeeper keeper(file);
            keeper.holdIfPresent();
            EXPECT_FALSE(keeper.isHolding());
        }
        EXPECT_EQ(contentOf(file), before);
        EXPECT_FALSE(fs::exists(file + "-wal"));
    }
}

} // namespace
