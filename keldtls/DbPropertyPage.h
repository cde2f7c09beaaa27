#pragma once

#include <QWidget>

class DbPu;
class QFormLayout;

/// The base of the unit property window's pages (DbSourcePageInfo, DbCompilerPageInfo,
/// DbAnalysisPageInfo): a page over one program unit that loads the unit (DbPu::load) and, when
/// it cannot, says why instead of showing its content.
class DbPropertyPage : public QWidget
{
    Q_OBJECT

public:
    DbPropertyPage(QWidget *parent, DbPu &pu);

protected:
    /// True when the unit is loaded; otherwise the page shows the reason and the caller builds
    /// nothing more.
    bool unitLoaded();
    /// Adds a label and value row (the user resource library's string `labelId`); the value can
    /// be selected and copied. Returns the value label.
    QWidget *addRow(unsigned long labelId, const QString &value);
    QFormLayout *rows();

    DbPu &m_pu;

private:
    QFormLayout *m_rows = nullptr;
};
