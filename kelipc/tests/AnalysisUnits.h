#pragma once

#include "DbEu.h"
#include "DbPu.h"
#include "DbWriter.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

/// A real analysis database for registry tests: an execution unit named `euName` with one
/// program unit per name, recorded through the database's writer into a temporary directory
/// and opened read-only as the views open it. The units hold only what every unit has (the root
/// node and tree record): the registry needs their names and identities, not their contents.
class AnalysisUnits final
{
public:
    AnalysisUnits(const std::string &euName, const std::vector<std::string> &units)
    {
        const std::string file = DbEu::databasePathIn(m_directory.path().toStdString());
        for (const std::string &name : units) {
            DbUnitData unit;
            unit.header.name = name;
            unit.header.sourceFile = QDir(m_directory.path())
                                         .filePath(QString::fromStdString(name) + ".cbl")
                                         .toStdString();
            unit.nodes.push_back({});
            DbTreeRecord root;
            root.text = name;
            root.node = 1;
            unit.treeRecords.push_back(root);
            DbWriter::record(file, euName, unit);
        }
        m_eu = DbEu::open(file);
    }

    DbEu &eu() { return *m_eu; }
    DbPu *pu(const std::string &name) { return m_eu->puNamed(name); }

private:
    QTemporaryDir m_directory;
    std::unique_ptr<DbEu> m_eu;
};
