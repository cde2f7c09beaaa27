#pragma once

#include "DbPropertyPage.h"

#include <QList>
#include <QPair>

class DbMark;

/// The analysis page of the unit property window: what the analysis database holds of the unit:
/// when it was recorded, how many tokens, expanded source lines, syntax nodes, data items and
/// records it has, and the findings of the date-field analysis: the date fields found (with a
/// count per kind) and the statements to window.
class DbAnalysisPageInfo : public DbPropertyPage
{
    Q_OBJECT

public:
    DbAnalysisPageInfo(QWidget *parent, DbPu &pu);

    /// The kinds of the date-field marks ("USED-AS-YEAR" of "USED-AS-YEAR bytes 1-2") with their
    /// counts, in first-found order.
    static QList<QPair<QString, int>> dateFieldKinds(const std::vector<DbMark> &marks);
};
