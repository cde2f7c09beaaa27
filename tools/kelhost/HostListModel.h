#pragma once

#include <QAbstractTableModel>

#include <cstdint>

class DbPu;
class DbSymbol;

/// A model of one of the list views (symbols used, related programs, related source members):
/// rows that each stand for a place in the source, so that the list can find a row in the
/// source, select the row of a token another view selected, and say what it lists.
///
/// Sorting: Qt::UserRole gives each cell's sort key (numbers as numbers).
class HostListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int sortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    /// The token a row stands for (what a double click finds in the source); 0 when none.
    virtual std::uint32_t tokenOfRow(int row) const = 0;
    /// The unit of that token (another unit for a caller).
    virtual DbPu *unitOfRow(int row) const = 0;
    /// The data item of a row; null when the row is no data item.
    virtual DbSymbol *symbolOfRow(int) const { return nullptr; }
    /// The copybook a row stands for; empty when the row is no copybook.
    virtual QString copybookOfRow(int) const { return {}; }
    /// The row that shows token `token` of `pu`; -1 when none does.
    virtual int rowOfToken(const DbPu &pu, std::uint32_t token) const = 0;
    /// One line saying what the list holds, for the info area.
    virtual QString summary() const = 0;
    /// The column the list's filter looks at.
    virtual int nameColumn() const { return 0; }

    /// The column headings from the resource `id` ("Level|Name|...").
    static QStringList headings(unsigned long id);
};
