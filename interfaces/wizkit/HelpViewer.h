#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

/// The help window of every window of a program: the help pages of a help library, HTML files
/// installed as <data dir>/help/<library>/<help id>.html (with index.html as the contents), shown
/// in a text browser. The pages link to each other; Alt+Left and Alt+Right go back and forth.
///
/// Each top-level window has at most one viewer, a window of its own that belongs to it: it is
/// made on first use and brought to the front afterwards, and it stays usable beside a modal
/// wizard or dialog because it is that window's child.
class HelpViewer final : public QWidget
{
    Q_OBJECT

public:
    /// Default and minimum size of a new viewer.
    static constexpr int defaultWidth = 640;
    static constexpr int defaultHeight = 520;
    static constexpr int minimumWidth = 360;
    static constexpr int minimumHeight = 260;

    /// The file of page `helpId` of `library`; empty when the library name is empty or the page
    /// is not installed.
    static QString pagePath(const QString &library, unsigned long helpId);

    /// Shows page `helpId` of `library` in the viewer of `owner`'s window, titled `title`.
    /// Returns the viewer, or null (and shows nothing) when the page is not installed.
    static HelpViewer *showPage(QWidget *owner,
                                const QString &library,
                                unsigned long helpId,
                                const QString &title);

    /// The page shown now.
    QUrl currentPage() const;
    QTextBrowser *browser() const { return m_browser; }

private:
    explicit HelpViewer(QWidget *owner);

    QTextBrowser *m_browser = nullptr;
};
