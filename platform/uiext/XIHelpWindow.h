#pragma once

#include <QWidget>

class QLabel;
class QTextBrowser;

/// A help window: shows the HTML pages of one help library, with Index, Back, Forward and Close.
///
/// A help library is the directory `<data dir>/help/<library>` (InstallPaths::dataDirectory())
/// holding `index.html` (the index) and one `<page>.html` per page; help panels are numbered
/// pages ("1400.html"). The views' help library is the application help library ("kelhelp"
/// unless set). One window per library: asking again turns the open window to the page and
/// brings it to the front. A missing library or page shows a page that says where the help was
/// looked for, never an empty window.
class XIHelpWindow : public QWidget
{
    Q_OBJECT

public:
    /// Shows `page` ("index", a panel number or a page name) of `library`, titled `title` (the
    /// library's default title when empty), and returns the window (deleted when closed).
    static XIHelpWindow *showHelp(const QString &library,
                                  const QString &page,
                                  const QString &title = {});

    /// The directory of `library`.
    static QString directory(const QString &library);
    /// Whether `library` has `page`.
    static bool hasPage(const QString &library, const QString &page);

    /// The help library that a help file name stands for: its file name in lower case without
    /// directory and extension ("KELHELP.HLP" -> "kelhelp"), as the help viewer program reads it.
    static QString libraryForHelpFile(const QString &helpFile);

    static void setApplicationLibrary(const QString &library);
    static QString applicationLibrary();

    const QString &library() const { return m_library; }
    /// The page shown ("index", "1400" ...).
    const QString &page() const { return m_page; }
    /// True when the page shown is the missing-help notice.
    bool isShowingMissingHelp() const { return m_missing; }
    QTextBrowser *browser() const { return m_browser; }

    void showPage(const QString &page);

private:
    explicit XIHelpWindow(const QString &library);

    QString m_library;
    QString m_page;
    bool m_missing = false;
    QTextBrowser *m_browser;
};
