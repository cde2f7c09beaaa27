#pragma once

#include "XIOpenSettings.h"

class DbSymbol;

/// The details of a data item: a notebook (action id 0x6018, notebook id 0x5000, modeless) with
/// one page (KelDetailsPage) for the record that holds the item and then one for each of the
/// record's subordinate items, depth-first in declaration order; it opens on the page of the
/// item it was made for (the first page for a level-01 or 77 item).
///
/// Made with `new`, it opens its notebook at once and lives until the user closes the notebook,
/// then deletes itself; the view that opened it keeps only a QPointer. It belongs to the owner
/// window (when given) and closes with it.
class KelDetailsView : public XIOpenSettings
{
    Q_OBJECT

public:
    KelDetailsView(QWidget *owner, DbSymbol &symbol);
    ~KelDetailsView() override;

    DbSymbol &symbol() const { return m_symbol; }
    /// The page number (1-based) of the item the view was made for.
    int symbolPage() const { return m_symbolPage; }
    /// The number of pages.
    int pageCount() const { return m_pageCount; }

protected:
    void populateSettingsView() override;
    void settingsViewClosed() override;

private:
    void addPage(DbSymbol &symbol);
    void populateChildren(DbSymbol &symbol);

    DbSymbol &m_symbol;
    int m_symbolPage = 1;
    int m_pageCount = 0;
};
