#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

class DSSettingsView;
class QWidget;

/// One page of a settings notebook (DSSettingsView).
///
/// A page is filled lazily: its window is made, and populatePage() called, the first time the
/// page is selected in a notebook that is shown; a page that is never selected never builds its
/// controls. Derive, override populatePage() and build the controls as children of window().
///
/// Ids: every page takes an id from the class-wide counter (nextId()) when it is made; the id
/// names the page in the notebook's operations (turnToPage, removePage ...) and its window.
///
/// Tabs and sections: a page with a major tab (TabType::major) starts a section of the notebook,
/// pages with a minor tab (TabType::minor) continue the section before them. The status line of
/// a page without status text of its own reads "Page n of m" for its place in its section.
///
/// The notebook owns its pages (they are its children): removing a page deletes it.
class DSSettingsPage : public QObject
{
    Q_OBJECT

public:
    enum class TabType : unsigned char {
        major = 1, ///< a tab of its own that starts a section
        minor = 2  ///< continues the section before it
    };
    using PageId = unsigned long;

    /// A page of `view` with the given tab and tab text. `key` is the caller's number for the page
    /// (the preferences notebook gives the view number it edits); `helpPanel` the page's panel in
    /// the application help library (0 for none).
    DSSettingsPage(
        DSSettingsView *view, TabType tabType, const QString &tabText, int key, int helpPanel);
    /// As above, the tab type chosen from the page's place in its section: a major tab for the
    /// first page (`positionInSection` 1 or less), a minor tab for the others.
    DSSettingsPage(DSSettingsView *view,
                   const QString &tabText,
                   int key,
                   int helpPanel,
                   int positionInSection);
    ~DSSettingsPage() override;

    /// Hands out the next id of the class-wide counter (and counts it).
    static PageId nextId();
    /// The id nextId() would hand out, without taking it.
    static PageId peekNextId();

    PageId pageId() const { return m_pageId; }
    DSSettingsView *settingsView() const { return m_view; }
    /// The page window; null until the page is initialised (first selected).
    QWidget *window() const { return m_window; }
    bool isInitialized() const { return m_window != nullptr; }

    QString tabText() const { return m_tabText; }
    /// Changes the tab text and the notebook's tab (refreshTabText).
    void setTabText(const QString &text);
    TabType tabType() const { return m_tabType; }
    int key() const { return m_key; }

    /// The status line of the page; empty gives "Page n of m".
    QString statusText() const { return m_statusText; }
    void setStatusText(const QString &text);

    /// Help for the page: `panel` of the help `library` (the application's help library when
    /// empty), and further panels the page refers to.
    void setHelpInfo(const QString &library,
                     unsigned long panel,
                     const QList<unsigned long> &helpData = {});
    QString helpLibrary() const { return m_helpLibrary; }
    unsigned long helpPanel() const { return m_helpPanel; }
    QList<unsigned long> helpData() const { return m_helpData; }

    /// Makes the page window inside `notebookWindow` (the tab's container) and fills it
    /// (populatePage). The notebook calls this on the page's first selection; later calls do
    /// nothing.
    void initializePage(QWidget *notebookWindow, int index);

    /// The size of the page's tab (DSSettingsView::tabTextDBCS), kept by the notebook.
    QSize tabSize() const { return m_tabSize; }
    void setTabSize(const QSize &size) { m_tabSize = size; }

signals:
    /// The status text changed.
    void statusTextChanged();

protected:
    /// Builds the page's controls as children of window(). Called once, on first selection.
    virtual void populatePage();

private:
    DSSettingsView *m_view;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_container; ///< the tab's scroll area that holds the page window
    QString m_tabText;
    TabType m_tabType;
    int m_key;
    QString m_helpLibrary;
    unsigned long m_helpPanel = 0;
    QList<unsigned long> m_helpData;
    QString m_statusText;
    PageId m_pageId;
    QSize m_tabSize;
};
