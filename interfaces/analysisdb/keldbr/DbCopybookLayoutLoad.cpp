// DbCopybookLayout::load and ::copybooks: the part of DbCopybookLayout that reads a database
// file (keldbr).
#include "DbCopybookLayout.h"

#include "DbConnection.h"
#include "DbReader.h"
#include "DbSchema.h"

DbCopybookLayout DbCopybookLayout::load(const std::string &fileName, const std::string &copybook)
{
    DbConnection connection(fileName, DbConnection::Mode::readOnly, DbReader::busyTimeoutMs);
    DbSchema::checkForReading(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::read);
    DbStatement rows(connection,
                     "SELECT c.pu_id, pu.name, c.qualifier, c.level, c.name, c.parent, c.base, "
                     "c.byte_offset, c.length, c.occurs_max, c.usage, c.picture, c.line, "
                     "c.varies, c.synchronized, c.date_text FROM copybook_item c JOIN pu ON "
                     "pu.id = c.pu_id WHERE c.copybook = ? ORDER BY c.pu_id, c.seq");
    rows.bind(1, copybook);
    std::vector<std::pair<std::string, std::vector<DbCopybookItemRecord>>> units;
    std::int64_t lastUnit = -1;
    std::string lastQualifier;
    while (rows.step()) {
        DbCopybookItemRecord r;
        r.copybook = copybook;
        r.qualifier = rows.text(2);
        r.level = static_cast<std::uint32_t>(rows.integer(3));
        r.name = rows.text(4);
        r.parent = static_cast<std::uint32_t>(rows.integer(5));
        r.base = static_cast<std::uint32_t>(rows.integer(6));
        r.offset = static_cast<std::uint64_t>(std::max<std::int64_t>(0, rows.integer(7)));
        r.length = static_cast<std::uint64_t>(std::max<std::int64_t>(0, rows.integer(8)));
        r.occursMax = static_cast<std::uint32_t>(rows.integer(9));
        r.usage = rows.text(10);
        r.picture = rows.text(11);
        r.line = static_cast<std::uint32_t>(rows.integer(12));
        r.varies = rows.integer(13) != 0;
        r.synchronized = rows.integer(14) != 0;
        r.dateText = rows.text(15);
        if (rows.integer(0) != lastUnit || r.qualifier != lastQualifier) {
            lastUnit = rows.integer(0);
            lastQualifier = r.qualifier;
            units.emplace_back(rows.text(1), std::vector<DbCopybookItemRecord>());
        }
        // Damaged references would break the map's nesting: they become top-level entries.
        const std::size_t count = units.back().second.size();
        if (r.parent > count)
            r.parent = 0;
        if (r.base > count)
            r.base = 0;
        units.back().second.push_back(std::move(r));
    }
    transaction.commit();
    DbCopybookLayout layout;
    layout.build(copybook, units);
    return layout;
}

std::vector<std::string> DbCopybookLayout::copybooks(const std::string &fileName)
{
    DbConnection connection(fileName, DbConnection::Mode::readOnly, DbReader::busyTimeoutMs);
    DbSchema::checkForReading(connection);
    DbStatement rows(connection, "SELECT DISTINCT copybook FROM copybook_item ORDER BY copybook");
    std::vector<std::string> names;
    while (rows.step())
        names.push_back(rows.text(0));
    return names;
}
