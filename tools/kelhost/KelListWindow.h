#pragma once

#include "HostRequests.h"
#include "HostView.h"

#include <QPointer>

#include <atomic>

class HostListModel;
class KelDetailsView;
class QLineEdit;
class QSortFilterProxyModel;
class QTreeView;
class XIMenuDefinition;
class XIOpenSettings;

/// A list view (view 595) of a program unit: symbols used, related programs or related source
/// members (HostRequests::ListKind), as a sortable table over a model (HostListModel) with a
/// filter on the names above it.
///
/// A double click (or Enter, or Selected > Find in Source) finds the row's place in the source
/// browser: a data item's declaration, a CALL, a COPY statement; a caller's CALL opens the
/// caller's source. Selecting a row passes its token on to the other views while "request
/// scrolling" is on; the list selects the row of what the other views select while "scroll on
/// request" is on. For data items, Selected also offers Show Data Map and Details.
///
/// Preferences: the symbols view's page (Options > Preferences) in a notebook of the list's
/// own. "Data symbols" off lists the sections and paragraphs after the data items; "related
/// source" on makes the list that a plain request opens the related source members.
class KelListWindow : public HostView
{
    Q_OBJECT

public:
    using ListKind = HostRequests::ListKind;

    KelListWindow(const StartWindowData &request, ListKind kind);
    ~KelListWindow() override;

    /// The list a request asks for: its word1, or for a plain request the one the symbols
    /// preferences choose.
    static ListKind kindFor(const StartWindowData &request, QWidget *preferencesOwner);

    ListKind listKind() const { return m_kind; }
    QString grabName() const override;
    QTreeView *listView() const { return m_list; }
    HostListModel *model() const { return m_model; }
    QSortFilterProxyModel *proxy() const { return m_proxy; }
    QLineEdit *filter() const { return m_filter; }

    /// Selects the model row `row` (in sight); false when it is filtered out or out of range.
    bool selectRow(int row);
    /// The model row selected; -1 when none.
    int selectedRow() const;
    /// Finds the selected row's place in the source. Any thread.
    bool findSelectedInSource();

    void reveal(const StartWindowData &request) override;
    void preferencesChanged() override;

    bool b1DblClick(const QPoint &position) override;
    bool b2Click(const QPoint &position) override;

protected:
    void followToken(DbPu &pu, std::uint32_t tokenNumber) override;
    void openPreferences() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildList();
    void buildCommands();
    void makeModel();
    void rowChanged();
    void selectTokenRow(const DbPu &pu, std::uint32_t token);

    ListKind m_kind;
    QTreeView *m_list = nullptr;
    HostListModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QLineEdit *m_filter = nullptr;
    XIAction *m_findInSource = nullptr;
    XIAction *m_showDataMap = nullptr;
    XIAction *m_details = nullptr;
    XIAction *m_showImpact = nullptr;
    XIAction *m_copybookMap = nullptr;
    XIMenuDefinition *m_popUp = nullptr;
    XIOpenSettings *m_preferences = nullptr;
    QPointer<KelDetailsView> m_detailsView;
    /// The selected row, read by the commands on the worker.
    std::atomic<int> m_selectedRow{-1};
    /// Set while the list selects a row for another view: not passed on.
    bool m_following = false;
};
