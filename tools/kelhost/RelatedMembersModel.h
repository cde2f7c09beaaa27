#pragma once

#include "HostListModel.h"
#include "MemberRows.h"

#include <QStringList>

/// The "related source members" list: the program source and every COPY statement the unit
/// expanded (MemberRows), with the copybook, its file, where the COPY stands, the lines it
/// brings in and the library or REPLACING it was included with.
class RelatedMembersModel : public HostListModel
{
    Q_OBJECT

public:
    enum Column { copybook, file, includedFrom, lines, library, numberOfColumns };

    explicit RelatedMembersModel(DbPu &pu, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The word COPY of the row's statement (the source's first token for the source's row).
    std::uint32_t tokenOfRow(int row) const override;
    DbPu *unitOfRow(int) const override { return m_pu; }
    /// The row of the include whose lines hold the token.
    int rowOfToken(const DbPu &pu, std::uint32_t token) const override;
    /// The copybook as written in its COPY statement; empty for the program source's row.
    QString copybookOfRow(int row) const override;
    QString summary() const override;

    const MemberRows &rows() const { return m_rows; }

private:
    DbPu *m_pu;
    MemberRows m_rows;
    QStringList m_headings;
};
