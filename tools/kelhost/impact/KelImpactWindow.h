#pragma once

#include "DbImpact.h"
#include "KelWindow.h"

#include <memory>

class DbSymbol;
class KelImpactModel;
class QTreeView;

/// The impact list view (a list view, kind 's'): every statement of the execution unit that
/// reads or writes the bytes of a data item (or of a byte range of a copybook), one row each
/// with its program, file and line, access, statement text and the chain of statements that
/// carried the bytes there; then the flows the analysis does not follow, greyed, with their
/// reasons. Double-click (or Enter) on a row finds the statement in that program's source
/// browser, reusing an open one (findInSource).
///
/// The host opens it through `openImpactOfItem` / `openImpactOfCopybook`.
class KelImpactWindow final : public KelWindow
{
    Q_OBJECT

public:
    /// A window over `result` (found in `impact`, which must be the facts of `eu`) about
    /// `subject` ("CUST-EXP of PROGA", "copybook CUSTREC bytes 27-32"). `pu` may be null.
    KelImpactWindow(DbEu &eu,
                    DbPu *pu,
                    std::shared_ptr<const DbImpact> impact,
                    DbImpact::Result result,
                    const QString &subject);
    ~KelImpactWindow() override;

    KelImpactModel *model() const { return m_model; }
    QTreeView *list() const { return m_list; }

    /// The token a row's statement starts with, the unit loaded on the way; null when the unit
    /// cannot be loaded or the place has no token.
    DbToken *tokenAt(int row, DbPu **pu) const;

signals:
    /// A row was opened; findInSource has been asked for it.
    void statementOpened(DbPu *pu, DbToken *token);

private:
    void openRow(int row);

    KelImpactModel *m_model = nullptr;
    QTreeView *m_list = nullptr;
};

/// The host's factories for the impact view. Both read the impact facts of `eu`'s database
/// (DbImpact::load), compute the impact, open the window (it deletes itself when closed) and
/// return it; null with the reason in `error` when the database cannot be read or the item has
/// no storage.
KelImpactWindow *openImpactOfItem(DbEu &eu, DbPu &pu, const DbSymbol &item, QString &error);
KelImpactWindow *openImpactOfCopybook(DbEu &eu,
                                      const std::string &copybook,
                                      std::uint32_t firstByte,
                                      std::uint32_t lastByte,
                                      QString &error);
