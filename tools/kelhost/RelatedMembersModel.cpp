#include "RelatedMembersModel.h"

#include "DbPu.h"
#include "DbToken.h"
#include "ICurrentApplication.h"
#include "KelhostResourceIds.h"

#include <QFont>

RelatedMembersModel::RelatedMembersModel(DbPu &pu, QObject *parent)
    : HostListModel(parent)
    , m_pu(&pu)
    , m_rows(pu)
    , m_headings(headings(KelRes::hostMembersColumns))
{}

int RelatedMembersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.rows().size());
}

int RelatedMembersModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Column::numberOfColumns;
}

QVariant RelatedMembersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_headings.value(section);
}

QVariant RelatedMembersModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MemberRows::Row &row = m_rows.rows()[static_cast<std::size_t>(index.row())];
    if (role == Qt::FontRole && row.include == 0 && index.column() == copybook) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole && index.column() == lines)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == file)
        return QString::fromStdString(row.file);
    if (role == sortRole) {
        if (index.column() == lines)
            return row.lineCount;
        if (index.column() == includedFrom)
            return index.row();
    }
    if (role != Qt::DisplayRole && role != sortRole)
        return {};
    switch (index.column()) {
    case copybook:
        if (row.include == 0)
            return ICurrentApplication::loadString(KelRes::hostMembersProgramSource);
        return QString(static_cast<qsizetype>(row.depth - 1) * 2, u' ')
               + QString::fromStdString(row.copybook);
    case file:
        return QString::fromStdString(row.file);
    case includedFrom:
        return QString::fromStdString(row.includedFrom);
    case lines:
        return row.lineCount;
    case library:
        return QString::fromStdString(row.qualifier);
    default:
        return {};
    }
}

std::uint32_t RelatedMembersModel::tokenOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    const MemberRows::Row &entry = m_rows.rows()[static_cast<std::size_t>(row)];
    if (entry.include == 0)
        return m_pu->numberOfTokens() > 0 ? 1 : 0;
    return entry.copyToken;
}

int RelatedMembersModel::rowOfToken(const DbPu &pu, std::uint32_t token) const
{
    if (&pu != m_pu)
        return -1;
    const DbToken *found = pu.numberToToken(token);
    if (!found)
        return -1;
    // A COPY statement's words stand for the include they bring in.
    for (std::size_t row = 1; row < m_rows.rows().size(); ++row)
        if (m_rows.rows()[row].copyToken == token)
            return static_cast<int>(row);
    const DbSourceLine *line = pu.expandedLine(found->expandedLine());
    const std::uint32_t include = line ? line->include : found->include();
    return include < m_rows.rows().size() ? static_cast<int>(include) : -1;
}

QString RelatedMembersModel::summary() const
{
    return ICurrentApplication::loadString(KelRes::hostMembersSummary)
        .arg(static_cast<qulonglong>(m_rows.rows().size() - 1))
        .arg(m_rows.copybookFileCount())
        .arg(QString::fromStdString(m_pu->puName()));
}

QString RelatedMembersModel::copybookOfRow(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.rows().size()))
        return {};
    return QString::fromStdString(m_rows.rows()[static_cast<std::size_t>(row)].copybook);
}
