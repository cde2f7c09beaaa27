#pragma once

#include "HostListModel.h"
#include "SymbolRows.h"

#include <QStringList>

/// The "symbols used" list: the unit's data items (SymbolRows) with level, name (indented by
/// its depth in the record), offset, length, picture, usage, the date field the analysis found,
/// the references and where it is declared; with procedures listed, the sections and paragraphs
/// follow.
class SymbolsUsedModel : public HostListModel
{
    Q_OBJECT

public:
    enum Column {
        level,
        name,
        offset,
        length,
        picture,
        usage,
        dateField,
        references,
        declaredIn,
        numberOfColumns
    };

    SymbolsUsedModel(DbPu &pu, SymbolRows::Procedures procedures, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::uint32_t tokenOfRow(int row) const override;
    DbPu *unitOfRow(int) const override { return m_pu; }
    DbSymbol *symbolOfRow(int row) const override;
    int rowOfToken(const DbPu &pu, std::uint32_t token) const override;
    QString summary() const override;
    int nameColumn() const override { return name; }

    const SymbolRows &rows() const { return m_rows; }

private:
    QVariant display(const SymbolRows::Row &row, int column) const;
    QVariant sortKey(const SymbolRows::Row &row, int rowNumber, int column) const;

    DbPu *m_pu;
    SymbolRows m_rows;
    QStringList m_headings;
    std::vector<QString> m_declaredIn; ///< by include id: its file's name
};
