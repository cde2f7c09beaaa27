#pragma once

#include "DbEu.h"
#include "DbWriter.h"
#include "TempDirectory.h"
#include "UnitFixture.h"

#include <memory>
#include <string>
#include <vector>

/// A real analysis database in a directory of its own: an execution unit with one small,
/// complete program unit per name (UnitFixture's unit: 16 tokens, 5 syntax nodes), recorded
/// through the database's writer and opened read-only as the views open it. Units are loaded
/// on request (DbPu::load), as in the host program.
class DemoDatabase final
{
public:
    explicit DemoDatabase(const std::vector<std::string> &units = {"PAYROLL", "TAXCALC", "REPORTS"},
                          const std::string &euName = "PAYROLL-SYSTEM")
        : m_file(DbEu::databasePathIn(m_directory.path().string()))
    {
        for (const std::string &name : units)
            DbWriter::record(m_file, euName, smallUnit(name, "/src/cobol/" + name + ".cbl"));
        m_eu = DbEu::open(m_file);
    }

    DbEu &eu() { return *m_eu; }
    const std::string &file() const { return m_file; }
    /// Another execution unit object over the same file.
    std::unique_ptr<DbEu> openAgain() const { return DbEu::open(m_file); }

private:
    TempDirectory m_directory;
    std::string m_file;
    std::unique_ptr<DbEu> m_eu;
};
