#pragma once

#include "DbPropertyPage.h"

/// The compiler page of the unit property window: what the analysis database knows of how the
/// unit was compiled: its language, the dialect its storage was laid out for and what that
/// dialect makes of binary items, the copy libraries its COPY statements searched, how many COPY
/// statements it expanded (and how many with REPLACING), how many copybook files it read,
/// whether it compiled without errors, its state and the builder version that recorded it.
class DbCompilerPageInfo : public DbPropertyPage
{
    Q_OBJECT

public:
    DbCompilerPageInfo(QWidget *parent, DbPu &pu);

    /// What the dialect `dialect` (a `cobc -std` name) makes of binary items; empty for a name
    /// the front end does not know.
    static QString binaryLayout(const QString &dialect);
    /// The copy libraries of the include qualifiers ("DEFAULT", "LIB=PAYLIB", each maybe with
    /// "+R" and a hash for REPLACING), each once, in first-use order.
    static QStringList copyLibraries(const QStringList &qualifiers);
};
