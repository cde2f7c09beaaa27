#pragma once

#include "DbUnitData.h"

#include <cstdint>
#include <string>
#include <vector>

class DbConnection;

/// Reads an analysis database through a read connection (no statement here writes).
class DbReader final
{
public:
    /// The execution unit's name and its program units' headers, in table order.
    struct EuContents
    {
        std::string name;
        std::vector<DbUnitHeader> units;
        std::vector<std::int64_t> databaseIds;
    };

    /// Opens `fileName` read-only, checks its schema and reads the execution unit. Throws
    /// KelMsgException (see DbEu::open).
    static EuContents readEu(const std::string &fileName);

    /// Reads the unit with key `databaseId` in one read transaction, so it sees one version of
    /// the unit even while a writer replaces it. Throws KelMsgException: the unit is gone
    /// (`unitName` names it), or the file is unreadable or damaged.
    static DbUnitData readUnit(const std::string &fileName,
                               std::int64_t databaseId,
                               const std::string &unitName);

    /// How long readers wait for a writer's lock (WAL readers rarely wait at all).
    static constexpr int busyTimeoutMs = 10000;

private:
    static void readChunks(DbConnection &connection, std::int64_t id, DbUnitData &unit);
    static void readRows(DbConnection &connection, std::int64_t id, DbUnitData &unit);
};
