#pragma once

#include "DSSettingsPage.h"
#include "IFrameWindow.h"

#include <QPointer>
#include <QSize>

class DSOpenSettings;
class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;

/// A settings notebook: a frame window whose client is a notebook of pages (DSSettingsPage)
/// with tabs, a status line ("Page n of m") and Help and Close buttons. An opener
/// (DSOpenSettings) makes it, fills it and shows it; when its frame closes it tells the opener
/// (DSOpenSettings::settingsViewClosed) and emits closed().
///
/// Pages are filled lazily (see DSSettingsPage). Each page sits in a scroll area; when a page is
/// filled the notebook grows its minimum size so that the page fits (forceCalcMinimumSize), up
/// to most of the screen, beyond which the page scrolls.
///
/// Ownership: the notebook owns its pages. It is a window of its own that belongs to its owner
/// window, so it closes with the owner.
class DSSettingsView : public IFrameWindow
{
    Q_OBJECT

public:
    using PageId = DSSettingsPage::PageId;

    /// A cursor over the pages in notebook order: setToFirst() (or setToLast()), then while
    /// isValid() read current() and call setToNext(). A cursor on a notebook without pages is
    /// never valid.
    class Cursor
    {
    public:
        explicit Cursor(const DSSettingsView &view);

        bool setToFirst();
        bool setToLast();
        bool setToNext();
        bool setToPrevious();
        bool isValid() const;
        void invalidate() { m_index = -1; }

        /// The page under the cursor (its id); 0 when invalid.
        PageId current() const;
        DSSettingsPage *element() const;

        bool operator==(const Cursor &other) const = default;

    private:
        const DSSettingsView *m_view;
        int m_index = -1;
    };

    /// A notebook titled `title` with the id `id`, belonging to `owner` (may be null), opened by
    /// `opener` (may be null).
    DSSettingsView(const QString &title, unsigned long id, QWidget *owner, DSOpenSettings *opener);
    ~DSSettingsView() override;

    unsigned long id() const { return m_id; }
    /// The owner window given at construction; null when there was none or it has gone.
    QWidget *owner() const { return m_owner; }

    // --- Pages ------------------------------------------------------------------------------------

    /// Adds `page` (made for this notebook) first, last, or before or after the page `other`
    /// (last or first when `other` is not in the notebook); returns the page's id.
    PageId addFirstPage(DSSettingsPage *page);
    PageId addLastPage(DSSettingsPage *page);
    PageId addPageBefore(DSSettingsPage *page, PageId other);
    PageId addPageAfter(DSSettingsPage *page, PageId other);
    /// Removes and deletes the page; nothing for an id that is not in the notebook.
    void removePage(PageId page);
    void removePage(const Cursor &cursor);
    /// Selects the page (and fills it when the notebook is shown).
    void turnToPage(PageId page);
    void turnToPage(const Cursor &cursor);

    /// The page with `id`; null when it is not in the notebook.
    DSSettingsPage *page(PageId id) const;
    /// The page at `index` (0-based, notebook order); null when out of range.
    DSSettingsPage *pageAt(int index) const;
    /// The position of the page (0-based); -1 when it is not in the notebook.
    int indexOf(PageId id) const;
    int numberOfPages() const;
    /// The selected page's id; 0 without pages.
    PageId currentPageId() const;
    DSSettingsPage *currentPage() const;

    // --- Texts ------------------------------------------------------------------------------------

    void setViewText(const QString &text);
    /// The title from the user resource library's string `textId`.
    void setViewText(unsigned long textId);
    QString viewText() const;

    /// The status line of the page: its own status text, else "Page " n " of " m with n its place
    /// in its section and m the number of pages in the section; empty for a page not in the
    /// notebook.
    QString statusText(PageId id) const;
    /// The status line shown now (for the selected page).
    QString statusText() const;

    /// Measures the page's tab again and shows its tab text.
    void refreshTabText(DSSettingsPage *page);
    /// The size of a tab for `text` in `font`: 14 by 6 for an empty text; otherwise the text's
    /// width and the font's character height, plus 14 and 6. A text with characters outside
    /// Latin-1 (double-byte in the legacy code pages) is measured by a temporary static text
    /// control, which takes an id from the page id counter.
    static QSize tabTextDBCS(const QString &text, const QFont &font);

    /// Grows the notebook's minimum size so that `window` (a page window) fits without scrolling,
    /// up to most of the available screen.
    void forceCalcMinimumSize(QWidget *window);
    /// The minimum size the opener asks for; the notebook never gets smaller than it.
    void setRequestedMinimumSize(const QSize &size);

    void setActionOwner(DSOpenSettings *opener);
    DSOpenSettings *actionOwner() const;

    QTabWidget *notebook() const { return m_notebook; }

signals:
    void pageAdded(DSSettingsView::PageId page);
    void pageRemoved(DSSettingsView::PageId page);
    /// A page was selected (and, when the notebook is shown, filled).
    void pageSelected(DSSettingsView::PageId page);
    /// The frame closed; the opener has been told.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    PageId insertPage(int index, DSSettingsPage *page);
    void select(int index);
    void initializeSelected();
    void updateStatusText();
    void updateMinimumSize();
    void showHelp();
    QScrollArea *containerAt(int index) const;

    unsigned long m_id;
    QPointer<QWidget> m_owner;
    QPointer<DSOpenSettings> m_opener;
    QTabWidget *m_notebook;
    QLabel *m_status;
    QPushButton *m_help;
    QList<QPointer<DSSettingsPage>> m_pages; ///< in notebook order
    QSize m_requestedMinimum;
    bool m_closeSignalled = false;
};
