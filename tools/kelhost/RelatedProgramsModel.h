#pragma once

#include "CallFacts.h"
#include "HostListModel.h"

#include <QStringList>

class DbEu;

/// The "related programs" list of a program unit: the programs it calls (static CALLs of a
/// literal, dynamic CALLs of an item with a literal VALUE, dynamic CALLs whose target cannot be
/// told) and the units of the execution unit that call it. A row stands for the CALL statement,
/// in the unit that holds it, so a double click finds the call in the source.
class RelatedProgramsModel : public HostListModel
{
    Q_OBJECT

public:
    enum Column { program, relation, callKind, where, inUnit, numberOfColumns };

    /// Reads the calls of `pu` and, loading the other units, its callers in `eu`.
    RelatedProgramsModel(DbEu &eu, DbPu &pu, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::uint32_t tokenOfRow(int row) const override;
    DbPu *unitOfRow(int row) const override;
    int rowOfToken(const DbPu &pu, std::uint32_t token) const override;
    QString summary() const override;

private:
    struct Row
    {
        DbPu *unit = nullptr;    ///< the unit holding the CALL
        DbPu *partner = nullptr; ///< the unit called (null outside the execution unit) or calling
        CallFacts::Call call;
        bool isCaller = false;
    };
    QVariant display(const Row &row, int column) const;

    DbPu *m_pu;
    std::vector<Row> m_rows;
    int m_calls = 0;
    QStringList m_headings;
};
