#include "DatabaseContent.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement prepare(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot read the database: " + std::string(sqlite3_errmsg(db)));
    return Statement(statement, &sqlite3_finalize);
}

std::string value(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return "NULL";
    case SQLITE_BLOB: {
        const auto *bytes = static_cast<const unsigned char *>(
            sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        static const char digits[] = "0123456789abcdef";
        std::string text = "x'";
        for (int i = 0; i < size; ++i) {
            text += digits[bytes[i] >> 4];
            text += digits[bytes[i] & 15];
        }
        return text + "'";
    }
    default: {
        const auto *text = sqlite3_column_text(statement, column);
        return text ? std::string(reinterpret_cast<const char *>(text)) : std::string();
    }
    }
}

} // namespace

std::string databaseContent(const std::string &path)
{
    sqlite3 *handle = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    Connection db(handle, &sqlite3_close);
    if (opened != SQLITE_OK)
        throw std::runtime_error("cannot open the database " + path);

    const std::set<std::string> clockColumns = {"eu.created", "eu.updated", "pu.time_stamp"};
    std::vector<std::string> tables;
    for (Statement names = prepare(db.get(),
                                   "SELECT name FROM sqlite_schema WHERE type = 'table' "
                                   "AND name NOT LIKE 'sqlite_%' AND name != 'pu_origin' "
                                   "ORDER BY name");
         sqlite3_step(names.get()) == SQLITE_ROW;)
        tables.push_back(value(names.get(), 0));

    std::string content;
    for (const std::string &table : tables) {
        Statement rows = prepare(db.get(), "SELECT * FROM \"" + table + "\"");
        const int columns = sqlite3_column_count(rows.get());
        std::vector<std::string> lines;
        while (sqlite3_step(rows.get()) == SQLITE_ROW) {
            std::string line;
            for (int c = 0; c < columns; ++c) {
                const std::string name = sqlite3_column_name(rows.get(), c);
                if (!clockColumns.contains(table + "." + name))
                    line += name + "=" + value(rows.get(), c) + " ";
            }
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        content += "== " + table + "\n";
        for (const std::string &line : lines)
            content += line + "\n";
    }
    return content;
}

std::string databaseValue(const std::string &path, const std::string &sql)
{
    sqlite3 *handle = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    Connection db(handle, &sqlite3_close);
    if (opened != SQLITE_OK)
        throw std::runtime_error("cannot open the database " + path);
    Statement row = prepare(db.get(), sql);
    return sqlite3_step(row.get()) == SQLITE_ROW ? value(row.get(), 0) : std::string();
}
