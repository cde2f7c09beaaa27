#pragma once

#include "XISettingsPage.h"

class DbSymbol;

/// One page of the details notebook (KelDetailsView): the attributes of one data item, as label
/// and value rows, filled when the page is first shown. Its tab text is the item's name.
///
/// Rows, in order: level, long name, length, picture, the flags group, redefines and date field
/// (" X " when set, three blanks when clear), then usage, offset, occurs, value, storage area and
/// where it is declared. An attribute without a value (an 88's length, a group's picture) gets no
/// row.
class KelDetailsPage : public XISettingsPage
{
    Q_OBJECT

public:
    KelDetailsPage(DbSymbol &symbol, int pageNumber, QWidget *parent = nullptr);

    DbSymbol &symbol() const { return m_symbol; }
    /// The page's number in its notebook (1-based).
    int pageNumber() const { return m_pageNumber; }

protected:
    void populatePage() override;

private:
    DbSymbol &m_symbol;
    int m_pageNumber;
};
