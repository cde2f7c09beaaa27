#include "KelImpactModel.h"

#include <QBrush>
#include <QPalette>

KelImpactModel::KelImpactModel(std::shared_ptr<const DbImpact> impact,
                               DbImpact::Result result,
                               QObject *parent)
    : QAbstractTableModel(parent)
    , m_impact(std::move(impact))
    , m_result(std::move(result))
{}

int KelImpactModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0
                            : static_cast<int>(m_result.hits.size() + m_result.notFollowed.size());
}

int KelImpactModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnCount_;
}

const DbImpact::Place *KelImpactModel::placeAt(int row) const
{
    if (row < 0)
        return nullptr;
    const auto r = static_cast<std::size_t>(row);
    if (r < m_result.hits.size())
        return &m_result.hits[r].place;
    if (r - m_result.hits.size() < m_result.notFollowed.size())
        return &m_result.notFollowed[r - m_result.hits.size()].place;
    return nullptr;
}

QVariant KelImpactModel::data(const QModelIndex &index, int role) const
{
    const DbImpact::Place *place = placeAt(index.row());
    if (!place || !index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const bool hit = row < m_result.hits.size();
    if (role == Qt::ForegroundRole && !hit)
        return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (static_cast<Column>(index.column())) {
    case programColumn:
        return QString::fromStdString(place->program);
    case placeColumn:
        return QString::fromStdString(place->file) + ':' + QString::number(place->line);
    case accessColumn:
        return hit ? QString::fromLatin1(DbImpact::modeText(m_result.hits[row].mode))
                   : tr("not followed");
    case statementColumn:
        return QString::fromStdString(place->text);
    case chainColumn:
        if (!hit)
            return QString::fromStdString(m_result.notFollowed[row - m_result.hits.size()].reason);
        if (m_result.hits[row].chain.empty())
            return tr("direct");
        return QString::fromStdString(DbImpact::chainText(m_result.hits[row].chain, *m_impact));
    }
    return {};
}

QVariant KelImpactModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (static_cast<Column>(section)) {
    case programColumn:
        return tr("Program");
    case placeColumn:
        return tr("Line");
    case accessColumn:
        return tr("Access");
    case statementColumn:
        return tr("Statement");
    case chainColumn:
        return tr("Reached through");
    }
    return {};
}
