#include "RelatedProgramsModel.h"

#include "DbEu.h"
#include "DbPu.h"
#include "ICurrentApplication.h"
#include "KelhostResourceIds.h"

#include <QFont>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

/// The unit of `eu` whose name is `name` (as CALL compares them); null when none.
DbPu *unitNamed(DbEu &eu, const std::string &name)
{
    for (std::uint32_t number = 1; number <= eu.numberOfUnits(); ++number) {
        DbPu *unit = eu.numberToPu(number);
        if (unit && CallFacts::normalName(unit->puName()) == name)
            return unit;
    }
    return nullptr;
}

} // namespace

RelatedProgramsModel::RelatedProgramsModel(DbEu &eu, DbPu &pu, QObject *parent)
    : HostListModel(parent)
    , m_pu(&pu)
    , m_headings(headings(KelRes::hostProgramsColumns))
{
    for (CallFacts::Call &call : CallFacts::callsOf(pu)) {
        DbPu *called = call.target.empty() ? nullptr : unitNamed(eu, call.target);
        m_rows.push_back({&pu, called, std::move(call), false});
    }
    m_calls = static_cast<int>(m_rows.size());
    for (CallFacts::Caller &caller : CallFacts::callersOf(eu, pu))
        m_rows.push_back({caller.caller, caller.caller, std::move(caller.call), true});
}

int RelatedProgramsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int RelatedProgramsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Column::numberOfColumns;
}

QVariant RelatedProgramsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_headings.value(section);
}

QVariant RelatedProgramsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row &row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return display(row, index.column());
    case sortRole:
        if (index.column() == where)
            return index.row();
        return display(row, index.column());
    case Qt::FontRole:
        if (index.column() == program && row.partner) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        if (index.column() == program && row.partner)
            return QString::fromStdString(row.partner->sourceFileName());
        return {};
    default:
        return {};
    }
}

QVariant RelatedProgramsModel::display(const Row &row, int column) const
{
    switch (column) {
    case program:
        if (row.isCaller)
            return QString::fromStdString(row.unit->puName());
        return row.call.target.empty() ? QStringLiteral("?")
                                       : QString::fromStdString(row.call.target);
    case relation:
        return text(row.isCaller ? KelRes::hostProgramsCalledBy : KelRes::hostProgramsCalls);
    case callKind:
        return text(row.call.isDynamic ? KelRes::hostProgramsDynamic : KelRes::hostProgramsStatic);
    case where:
        return QStringLiteral("%1:%2")
            .arg(QString::fromStdString(row.unit->puName()))
            .arg(row.call.line);
    case inUnit:
        return text(row.partner ? KelRes::hostProgramsInUnit : KelRes::hostProgramsOutside);
    default:
        return {};
    }
}

std::uint32_t RelatedProgramsModel::tokenOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return m_rows[static_cast<std::size_t>(row)].call.token;
}

DbPu *RelatedProgramsModel::unitOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return m_pu;
    return m_rows[static_cast<std::size_t>(row)].unit;
}

int RelatedProgramsModel::rowOfToken(const DbPu &pu, std::uint32_t token) const
{
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row].unit == &pu && m_rows[row].call.token == token)
            return static_cast<int>(row);
    return -1;
}

QString RelatedProgramsModel::summary() const
{
    if (m_rows.empty())
        return text(KelRes::hostProgramsNone).arg(QString::fromStdString(m_pu->puName()));
    return text(KelRes::hostProgramsSummary)
        .arg(m_calls)
        .arg(static_cast<int>(m_rows.size()) - m_calls)
        .arg(QString::fromStdString(m_pu->puName()));
}
