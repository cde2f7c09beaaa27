#pragma once

#include "HostView.h"
#include "SourceView.h"

#include <QPointer>

#include <atomic>
#include <memory>

class DbSymbol;
class KelDetailsView;
class QTimer;
class SourceDocument;
class XIFindAndReplaceDialog;
class XIMenuDefinition;
struct StartWindowData;

/// The source browser (view 592): the expanded source of a program unit (SourceView), with its
/// tokens coloured and styled by the browser preferences, copybook boundaries, line numbers and
/// the Year-2000 findings in the margin.
///
/// - Selecting: a click selects the token under the pointer (the keys move it); the info area
///   says what it is and where the line comes from. A double click on a data name shows its data
///   map, on a procedure name or a data name's declaration finds the paragraph or the item's
///   declaration, on a COPY statement goes to the copybook's first line. Button 2 opens the
///   Selected menu as a pop-up.
/// - Selected menu: Find in Graph (any token), Show Data Map and Details (data names), Find
///   Declaration.
/// - Edit menu: Find (Ctrl+F) and Find Next (F3) over the text of the lines, Go to Line (Ctrl+L),
///   Next and Previous Finding (F8, Shift+F8), Copy (Ctrl+C: the selection, or the line).
/// - Other views: answers the query 0x4011 for the tokens of its unit; 0x4013 (a syntax node)
///   selects the token that was just asked for when the node holds it, else the node's first
///   token, and centres it. Scroll coupling: see HostView.
class KelBrowser : public HostView
{
    Q_OBJECT

public:
    /// A browser on the request's unit (loaded), at its token or at line `word2`.
    explicit KelBrowser(const StartWindowData &request);
    ~KelBrowser() override;

    SourceView *sourceView() const { return m_view; }
    const SourceDocument &document() const { return *m_document; }
    QString grabName() const override;

    /// Selects token `token` and brings it into sight; false when it has no line.
    bool showToken(std::uint32_t token);
    /// Brings line `line` into sight and selects its first token; false when out of range.
    bool showLine(std::uint32_t line);
    /// The selected token; null when none (or a find's range is selected).
    DbToken *selectedToken() const;

    /// Opens the find dialog (modeless) with the last text.
    void find();
    /// Searches from the selection on with the last text and options; false when not found.
    bool findNext();
    /// Searches the lines' text for `text` from after the selection (`restart`: from the start,
    /// or the end backwards), wrapping round once; selects the match. False when none.
    bool runFind(const QString &text, unsigned options, bool restart);
    /// Asks for a line and goes there.
    void goToLine();
    /// Goes to the next (or previous) line with findings; false when the unit has none.
    bool nextFinding(bool forward);
    /// Opens the details notebook of the selected data name's item.
    void openDetails();
    /// Goes to the declaration of the selected name (data item or paragraph), or into the
    /// copybook of a COPY statement. False when there is none.
    bool findDeclaration();
    /// Copies the selection (or the selected line) to the clipboard.
    void copySelection();

    void preferencesChanged() override;
    void coloursChanged() override;

    bool b1Click(const QPoint &position) override;
    bool b1DblClick(const QPoint &position) override;
    bool b2Click(const QPoint &position) override;

    /// Selects the request's token (or line `word2`) and comes forward.
    void reveal(const StartWindowData &request) override;

protected:
    bool userEvent(IUserEvent &event) override;
    void followToken(DbPu &pu, std::uint32_t tokenNumber) override;

private:
    void buildCommands();
    void selectionChanged(SourceView::Origin origin);
    void updateStatus();
    void applyPreferences();
    DbSymbol *selectedSymbol() const;

    std::unique_ptr<SourceDocument> m_document;
    SourceView *m_view = nullptr;
    /// The selected token's number, read by the commands on the worker.
    std::atomic<std::uint32_t> m_selectedToken{0};
    /// The token of the last query this browser said yes to: the token a find event that follows
    /// is about.
    std::uint32_t m_lastQueriedToken = 0;
    QTimer *m_surfTimer = nullptr;

    XIAction *m_findInGraph = nullptr;
    XIAction *m_showDataMap = nullptr;
    XIAction *m_details = nullptr;
    XIAction *m_showImpact = nullptr;
    XIAction *m_findDeclaration = nullptr;
    XIMenuDefinition *m_popUp = nullptr;
    QPointer<XIFindAndReplaceDialog> m_findDialog;
    QPointer<KelDetailsView> m_detailsView;
    QString m_findText;
    unsigned m_findOptions = 0;
};
