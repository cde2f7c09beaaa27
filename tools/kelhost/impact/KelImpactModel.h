#pragma once

#include "DbImpact.h"

#include <QAbstractTableModel>

#include <memory>

/// The rows of an impact list: one per statement hit (program, file and line, read or write,
/// the statement, the chain that led there), then one per flow not followed (its reason in the
/// chain column).
class KelImpactModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { programColumn, placeColumn, accessColumn, statementColumn, chainColumn };
    static constexpr int columnCount_ = chainColumn + 1;

    KelImpactModel(std::shared_ptr<const DbImpact> impact,
                   DbImpact::Result result,
                   QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The statement's place of row `row`; null when out of range.
    const DbImpact::Place *placeAt(int row) const;
    std::size_t hitCount() const { return m_result.hits.size(); }
    std::size_t notFollowedCount() const { return m_result.notFollowed.size(); }

private:
    std::shared_ptr<const DbImpact> m_impact;
    DbImpact::Result m_result;
};
