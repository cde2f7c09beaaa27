#pragma once

#include "XISettingsPage.h"

class DbPu;

/// One page of the settings notebook (KelSettingsView): the header of one program unit as label
/// and value rows, filled when the page is first shown. Its tab text is the unit's name.
///
/// Rows, in order: "Language Code:", "Expanded Source:", "Version:", "Release:", "Analyzed?:",
/// "Linkable?:", "State:", "Time Stamp:", "Code Page:". Every value except the file name and the
/// state is a decimal number (the time stamp in seconds since 1970, its date and time in the
/// value's tool tip); a value that is empty gets no row.
class KelSettingsPage : public XISettingsPage
{
    Q_OBJECT

public:
    explicit KelSettingsPage(const DbPu &pu, QWidget *parent = nullptr);

    const DbPu &pu() const { return m_pu; }

protected:
    void populatePage() override;

private:
    const DbPu &m_pu;
};
