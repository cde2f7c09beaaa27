#pragma once

#include <QDialog>

class QLabel;
class QTabWidget;
class XISettingsPage;

/// A settings notebook: a window with one tab per page (XISettingsPage), a status line
/// "Page n of m" and a Close button. Shown modeless by default; XIOpenSettings opens it.
///
/// The notebook owns its pages. Pages are filled when first shown (XISettingsPage), so turning
/// to a page before the notebook is shown fills only that page. Each page sits in a scroll area,
/// so a page taller than most of the screen scrolls instead of stretching the window; smaller
/// pages make the notebook grow to fit them when they are filled.
class XISettingsView : public QDialog
{
    Q_OBJECT

public:
    XISettingsView(unsigned long notebookId, QWidget *owner);
    ~XISettingsView() override;

    unsigned long notebookId() const { return m_notebookId; }

    /// The window title.
    void setViewText(const QString &text);

    void addFirstPage(XISettingsPage *page);
    void addLastPage(XISettingsPage *page);
    void addPageBefore(XISettingsPage *page, XISettingsPage *before);
    void addPageAfter(XISettingsPage *page, XISettingsPage *after);
    /// Removes and deletes `page`.
    void removePage(XISettingsPage *page);

    void turnToPage(XISettingsPage *page);
    void turnToPage(int index);

    int pageCount() const;
    XISettingsPage *page(int index) const;
    int indexOf(const XISettingsPage *page) const;
    XISettingsPage *currentPage() const;

    /// "Page n of m" for the current page; empty without pages.
    QString statusText() const;

    QTabWidget *notebook() const { return m_notebook; }

    /// The smallest size the opener allows; the notebook also grows, as pages are filled, to
    /// fit each page without scrolling, up to most of the screen.
    void setRequestedMinimumSize(const QSize &size);

signals:
    /// The notebook's window is closing (it is deleted afterwards when it deletes itself on
    /// close).
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void insertPage(int index, XISettingsPage *page);
    void pageChanged();
    void populateCurrentPage();
    void fitPage(XISettingsPage *page);
    void updateMinimumSize();

    unsigned long m_notebookId;
    QTabWidget *m_notebook;
    QLabel *m_status;
    QSize m_requestedMinimum;
    bool m_closedSignalled = false;
};
