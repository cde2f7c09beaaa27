#pragma once

#include "DSOpenSettings.h"

/// The preferences notebook the views open from their menus: a settings notebook (DSOpenSettings)
/// titled by KELRESRC 0x7023 with three pages in this order:
///
///     1  KelGrapherPreferencesPage    tab 0x7003 "Grapher"        key 593
///     2  KelBrowserPreferencesPage    tab 0x7004 "Browser"        key 592
///     3  KelBrowserPreferencesPage2   tab 0xE042 "Token Colours"  key 594 (in the browser's
///                                                                  section)
///
/// A notebook made with id 0x7003 (the grapher's view name) opens on page 1, one made with id
/// 0x7004 (the browser's) on page 2, any other on page 1. The pages' preference sets belong to
/// the notebook's owner window, so applying them tells the owner when it is a view of the set's
/// kind (and the other open views of that kind).
///
/// One notebook is shared by the whole process: getCurrentPreferences() makes it on first use,
/// owned by the desktop window. A view may also own a notebook of its own (the data map makes
/// one with id 0x7002 and itself as owner).
class KelPreferencesView : public DSOpenSettings
{
    Q_OBJECT

public:
    /// Page numbers (1-based) the notebook opens on.
    static constexpr int grapherPageNumber = 1;
    static constexpr int browserPageNumber = 2;

    KelPreferencesView(unsigned long id, QWidget *owner);
    ~KelPreferencesView() override;

    /// The shared notebook, made on first use with the desktop window as owner: the window
    /// registered under the object id KELRESRC 0x7005 ("Desktop"), or no owner when there is no
    /// desktop (a notebook made without owner is made again once a desktop has registered).
    /// `id` says which page it opens on (and, when it is open already, turns to).
    static KelPreferencesView *getCurrentPreferences(unsigned long id);

    /// Opens the notebook or brings it forward; an open notebook asked for another id than
    /// before turns to that id's page.
    bool performAction() override;

    /// The page number (1-based) for the notebook id `id`.
    static int pageNumberFor(unsigned long id);

protected:
    void populateSettingsView() override;

private:
    void turnToPageFor(unsigned long id);

    unsigned long m_shownId = 0;
};
