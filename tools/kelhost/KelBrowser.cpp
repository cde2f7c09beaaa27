#include "KelBrowser.h"

#include "KelImpactWindow.h"

#include "DbEu.h"
#include "DbMark.h"
#include "DbNode.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IUserEvent.h"
#include "KelBrowserPreferences.h"
#include "KelDetailsView.h"
#include "KelMouseClickHandler.h"
#include "KelWindowActions.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "SourceDocument.h"
#include "StartWindowData.h"
#include "XIFindAndReplaceDialog.h"
#include "XIInfoArea.h"
#include "XIMenuDefinition.h"
#include "XIToolBar.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

/// The next match of `wanted` in `line` at or after `from` (backward: at or before it; -1 for
/// the end), honouring the find options; -1 when none.
qsizetype findInLine(const QString &line, const QString &wanted, unsigned options, qsizetype from)
{
    const Qt::CaseSensitivity sensitivity = options & XIFindAndReplaceDialog::MatchCase
                                                ? Qt::CaseSensitive
                                                : Qt::CaseInsensitive;
    const bool backward = options & XIFindAndReplaceDialog::Backward;
    const bool whole = options & XIFindAndReplaceDialog::WholeWords;
    qsizetype index = backward ? line.lastIndexOf(wanted, from, sensitivity)
                               : line.indexOf(wanted, from, sensitivity);
    while (index >= 0 && whole) {
        const qsizetype end = index + wanted.size();
        const bool before = index > 0 && isWordCharacter(line.at(index - 1));
        const bool after = end < line.size() && isWordCharacter(line.at(end));
        if (!before && !after)
            break;
        if (backward) {
            if (index == 0)
                return -1;
            index = line.lastIndexOf(wanted, index - 1, sensitivity);
        } else {
            index = line.indexOf(wanted, index + 1, sensitivity);
        }
    }
    return index;
}

constexpr int surfDelayMs = 60;
constexpr int defaultWidth = 960;
constexpr int defaultHeight = 680;

} // namespace

KelBrowser::KelBrowser(const StartWindowData &request)
    : HostView(KelRes::browserView, request.pu)
    , m_document(std::make_unique<SourceDocument>(*request.pu))
{
    setWindowTitle(text(KelRes::hostBrowserTitle).arg(objectName()));
    m_view = new SourceView(*m_document, this);
    setViewClient(m_view);
    // The text's clicks arrive on the view's viewport.
    mouseClickHandler()->handleEventsFor(m_view->viewport());
    buildCommands();
    resize(defaultWidth, defaultHeight);
    registerWindow();

    const KelBrowserPreferences preferences(this);
    setRequestScroll(preferences.requestScroll);
    setScrollOnRequest(preferences.scrollOnRequest);
    setSurfOnScroll(preferences.surfOnScrollRequest);
    applyPreferences();

    m_surfTimer = new QTimer(this);
    m_surfTimer->setSingleShot(true);
    m_surfTimer->setInterval(surfDelayMs);
    connect(m_surfTimer, &QTimer::timeout, this, [this] {
        const auto spans = m_document->spans(m_view->topLine());
        if (!spans.empty())
            passOn(spans.front().token, Coupling::scrolling);
    });
    connect(m_view, &SourceView::topLineChanged, m_surfTimer, qOverload<>(&QTimer::start));
    connect(m_view, &SourceView::selectionChanged, this, &KelBrowser::selectionChanged);

    if (request.token)
        showToken(pu()->tokenToNumber(request.token));
    else if (request.word2 != 0)
        showLine(request.word2);
    updateStatus();
    m_view->setFocus();
}

KelBrowser::~KelBrowser() = default;

QString KelBrowser::grabName() const
{
    return QStringLiteral("browser-") + objectName();
}

void KelBrowser::buildCommands()
{
    const QString simple = simpleCategory();
    const QString basic = basicCategory();

    QMenu *edit = menu(KelRes::editMenu);
    edit->addAction(addCommand(
        KelRes::findCommand, simple, [this] { find(); }, QKeySequence::Find));
    edit->addAction(addCommand(
        KelRes::findNextCommand, simple, [this] { findNext(); }, QKeySequence::FindNext));
    // A modal dialog is opened after the command, so the window is not busy meanwhile.
    edit->addAction(addCommand(
        KelRes::hostGoToLineCommand,
        simple,
        [this] { QTimer::singleShot(0, this, &KelBrowser::goToLine); },
        QKeySequence(Qt::CTRL | Qt::Key_L)));
    edit->addSeparator();
    edit->addAction(addCommand(
        KelRes::hostNextFindingCommand,
        simple,
        [this] { nextFinding(true); },
        QKeySequence(Qt::Key_F8)));
    edit->addAction(addCommand(
        KelRes::hostPreviousFindingCommand,
        simple,
        [this] { nextFinding(false); },
        QKeySequence(Qt::SHIFT | Qt::Key_F8)));
    edit->addSeparator();
    XIAction *copy = addCommand(
        KelRes::hostCopyCommand, simple, [this] { copySelection(); }, QKeySequence::Copy);
    edit->addAction(copy);

    // Selected: run on the worker (the registry search and the desktop request), with the token
    // selected when the command was given.
    m_findInGraph = addCommand(KelRes::hostFindInGraphCommand, basic, [this] {
        findInGraph(pu(), pu()->numberToToken(m_selectedToken.load()));
    });
    m_showDataMap = addCommand(KelRes::hostShowDataMapCommand, basic, [this] {
        showDataMap(pu(), pu()->numberToToken(m_selectedToken.load()));
    });
    m_details = addCommand(KelRes::detailsCommand, simple, [this] { openDetails(); });
    m_showImpact = addCommand(KelRes::hostImpactCommand, simple, [this] {
        QString error;
        if (const DbSymbol *symbol = selectedSymbol();
            symbol && !openImpactOfItem(*eu(), *pu(), *symbol, error))
            setStatusText(error);
    });
    m_findDeclaration = addCommand(
        KelRes::hostFindDeclarationCommand,
        simple,
        [this] { findDeclaration(); },
        QKeySequence(Qt::Key_F12));
    QMenu *selected = menu(KelRes::selectedMenu);
    selected->addAction(m_findInGraph);
    selected->addAction(m_showDataMap);
    selected->addAction(m_showImpact);
    selected->addAction(m_details);
    selected->addSeparator();
    selected->addAction(m_findDeclaration);

    m_popUp = new XIMenuDefinition(this);
    m_popUp->addItem(m_findInGraph)
        .addItem(m_showDataMap)
        .addItem(m_showImpact)
        .addItem(m_details)
        .addSeparator()
        .addItem(m_findDeclaration)
        .addSeparator()
        .addItem(copy);

    auto *relatedPrograms = new KelRelatedP(this);
    relatedPrograms->setPointer(this);
    relatedPrograms->setTextsFromResources(KelRes::relatedProgramsCommand,
                                           KelRes::flyOverFor(KelRes::relatedProgramsCommand));
    QMenu *view = menu(KelRes::viewMenu);
    view->addAction(relatedPrograms);
    view->addSeparator();
    view->addAction(addCommand(KelRes::hostDataMapCommand, basic, [this] {
        showDataMap(pu(), pu()->numberToToken(m_selectedToken.load()));
    }));
    view->addAction(addCommand(KelRes::hostStructureTreeCommand, basic, [this] {
        openStructureTree(pu()->numberToToken(m_selectedToken.load()));
    }));
    addStandardCommands(KelRes::browserViewName);

    toolBar()->addSeparatorItem().addItem(m_showDataMap).addItem(m_findInGraph);
    for (XIAction *action :
         {m_findInGraph, m_showDataMap, m_showImpact, m_details, m_findDeclaration})
        action->setEnabled(false);
}

void KelBrowser::applyPreferences()
{
    m_view->setSourceStyle(SourceStyle::fromPreferences(this));
}

void KelBrowser::preferencesChanged()
{
    applyPreferences();
}

void KelBrowser::coloursChanged()
{
    applyPreferences();
}

bool KelBrowser::showToken(std::uint32_t token)
{
    return m_view->selectToken(token, SourceView::Placement::centre, SourceView::Origin::user);
}

bool KelBrowser::showLine(std::uint32_t line)
{
    if (line == 0 || line > m_document->lineCount())
        return false;
    const auto spans = m_document->spans(line);
    if (!spans.empty())
        return showToken(spans.front().token);
    m_view->select(SourceView::Selection{line, 1, 0, 0},
                   SourceView::Placement::centre,
                   SourceView::Origin::user);
    return true;
}

DbToken *KelBrowser::selectedToken() const
{
    return pu()->numberToToken(m_selectedToken.load());
}

DbSymbol *KelBrowser::selectedSymbol() const
{
    const DbToken *token = selectedToken();
    return token ? token->dataSymbol() : nullptr;
}

void KelBrowser::selectionChanged(SourceView::Origin origin)
{
    const std::uint32_t token = m_view->selection().token;
    m_selectedToken = token;
    const DbToken *selected = pu()->numberToToken(token);
    const bool dataName = selected && selected->hasDataSymbol();
    m_findInGraph->setEnabled(selected != nullptr);
    m_showDataMap->setEnabled(dataName);
    m_showImpact->setEnabled(dataName);
    m_details->setEnabled(dataName);
    m_findDeclaration->setEnabled(selected
                                  && (dataName || selected->type() == DbToken::procedureName
                                      || selected->type() == DbToken::copyStatement));
    updateStatus();
    if (origin == SourceView::Origin::user && token != 0)
        passOn(token, Coupling::selection);
}

void KelBrowser::updateStatus()
{
    const SourceView::Selection &selection = m_view->selection();
    if (selection.isEmpty()) {
        setStatusText(text(KelRes::hostBrowserSummary)
                          .arg(m_document->lineCount())
                          .arg(pu()->numberOfTokens())
                          .arg(m_document->markedLineCount()));
        return;
    }
    QStringList parts;
    parts << text(KelRes::hostBrowserLineStatus)
                 .arg(selection.line)
                 .arg(m_document->lineCount())
                 .arg(QString::fromStdString(m_document->placeOf(selection.line)));
    if (const DbToken *token = pu()->numberToToken(selection.token)) {
        const DbSymbol *symbol = token->dataSymbol();
        parts << text(KelRes::hostBrowserTokenStatus)
                     .arg(text(KelRes::tokenTypeDisplayName(token->type())),
                          QString::fromStdString(token->text()),
                          symbol ? QString::fromStdString(symbol->longName()) : QString())
                     .remove(QStringLiteral(" ()"));
    }
    for (const DbMark *mark : m_document->marks(selection.line))
        parts << QString::fromStdString(mark->text());
    setStatusText(parts.join(QStringLiteral("  \u2014  ")));
}

bool KelBrowser::b1Click(const QPoint &position)
{
    const SourceView::Hit hit = m_view->hitTest(position);
    if (hit.line == 0)
        return false;
    m_view->setFocus();
    if (hit.area != SourceView::Area::text) {
        showLine(hit.line);
        return true;
    }
    const std::uint32_t token = m_document->tokenAt(hit.line, hit.column);
    if (token)
        m_view->selectToken(token, SourceView::Placement::ifHidden, SourceView::Origin::user);
    else
        m_view->clearSelection();
    return true;
}

bool KelBrowser::b1DblClick(const QPoint &position)
{
    const SourceView::Hit hit = m_view->hitTest(position);
    const std::uint32_t number = m_document->tokenAt(hit.line, hit.column);
    const DbToken *token = pu()->numberToToken(number);
    if (!token)
        return false;
    m_view->selectToken(number, SourceView::Placement::ifHidden, SourceView::Origin::user);
    // Commands are run after the gesture: the window is busy while it lasts.
    const DbSymbol *symbol = token->dataSymbol();
    if (symbol && symbol->declaringToken() == token)
        QTimer::singleShot(0, m_showDataMap, &QAction::trigger);
    else if (symbol || token->type() == DbToken::procedureName
             || token->type() == DbToken::copyStatement)
        QTimer::singleShot(0, this, [this] { findDeclaration(); });
    return true;
}

bool KelBrowser::b2Click(const QPoint &position)
{
    const SourceView::Hit hit = m_view->hitTest(position);
    if (hit.line == 0)
        return false;
    if (const std::uint32_t token = m_document->tokenAt(hit.line, hit.column))
        m_view->selectToken(token, SourceView::Placement::ifHidden, SourceView::Origin::user);
    const QPoint global = m_view->viewport()->mapToGlobal(position);
    QTimer::singleShot(0, this, [this, global] { m_popUp->popUp(this, global); });
    return true;
}

void KelBrowser::find()
{
    if (!m_findDialog) {
        m_findDialog = new XIFindAndReplaceDialog(this);
        connect(m_findDialog,
                &XIFindAndReplaceDialog::findNext,
                this,
                [this](const QString &text, unsigned options) { runFind(text, options, false); });
    }
    const DbToken *token = selectedToken();
    m_findDialog->setFindText(token && m_findText.isEmpty() ? QString::fromStdString(token->text())
                                                            : m_findText);
    m_findDialog->setOptions(m_findOptions);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

bool KelBrowser::findNext()
{
    if (m_findText.isEmpty()) {
        find();
        return false;
    }
    return runFind(m_findText, m_findOptions, false);
}

bool KelBrowser::runFind(const QString &wanted, unsigned options, bool restart)
{
    if (wanted.isEmpty())
        return false;
    m_findText = wanted;
    m_findOptions = options;
    const bool backward = options & XIFindAndReplaceDialog::Backward;
    const std::uint32_t count = m_document->lineCount();
    if (count == 0)
        return false;
    const SourceView::Selection &selection = m_view->selection();
    std::uint32_t line = backward ? count : 1;
    qsizetype from = backward ? -1 : 0;
    bool lineDone = false; // backward from column 1: nothing before it on the line
    if (!restart && !selection.isEmpty()) {
        line = selection.line;
        from = backward ? static_cast<qsizetype>(selection.column) - 2
                        : static_cast<qsizetype>(selection.column);
        lineDone = backward && from < 0;
    }
    bool wrapped = false;
    for (std::uint32_t step = 0; step <= count; ++step) {
        const QString lineText = QString::fromStdString(m_document->text(line));
        const qsizetype index = lineDone ? -1 : findInLine(lineText, wanted, options, from);
        if (index >= 0) {
            const auto column = static_cast<std::uint32_t>(index + 1);
            const auto length = static_cast<std::uint32_t>(wanted.size());
            std::uint32_t token = m_document->tokenAt(line, column);
            const DbToken *found = pu()->numberToToken(token);
            if (found && column + length > found->column() + std::max(found->length(), 1u))
                token = 0; // the match runs past the token: a range, not the token
            m_view->select(SourceView::Selection{line, column, length, token},
                           SourceView::Placement::centre,
                           SourceView::Origin::user);
            if (wrapped)
                setStatusText(text(KelRes::hostBrowserWrapped) + QStringLiteral("  ")
                              + statusText());
            return true;
        }
        lineDone = false;
        if (backward) {
            wrapped = wrapped || line == 1;
            line = line == 1 ? count : line - 1;
            from = -1;
        } else {
            wrapped = wrapped || line == count;
            line = line == count ? 1 : line + 1;
            from = 0;
        }
    }
    setStatusText(text(KelRes::hostBrowserNotFound).arg(wanted, objectName()));
    QApplication::beep();
    return false;
}

void KelBrowser::goToLine()
{
    bool accepted = false;
    const SourceView::Selection &selection = m_view->selection();
    const int line
        = QInputDialog::getInt(this,
                               text(KelRes::hostGoToLineTitle),
                               text(KelRes::hostGoToLineLabel).arg(m_document->lineCount()),
                               static_cast<int>(selection.isEmpty() ? m_view->topLine()
                                                                    : selection.line),
                               1,
                               static_cast<int>(m_document->lineCount()),
                               1,
                               &accepted);
    if (accepted)
        showLine(static_cast<std::uint32_t>(line));
}

bool KelBrowser::nextFinding(bool forward)
{
    const SourceView::Selection &selection = m_view->selection();
    const std::uint32_t from = selection.isEmpty() ? (forward ? 0 : m_view->topLine())
                                                   : selection.line;
    const std::uint32_t line = m_document->nextMarkedLine(from, forward);
    if (line == 0) {
        setStatusText(text(KelRes::hostBrowserNoFindings));
        return false;
    }
    const auto marks = m_document->marks(line);
    showToken(marks.front()->tokenNumber());
    return true;
}

void KelBrowser::openDetails()
{
    if (DbSymbol *symbol = selectedSymbol())
        m_detailsView = new KelDetailsView(this, *symbol);
}

bool KelBrowser::findDeclaration()
{
    const DbToken *token = selectedToken();
    if (!token)
        return false;
    if (const DbSymbol *symbol = token->dataSymbol()) {
        if (symbol->declaringToken() && symbol->declaringToken() != token)
            return showToken(pu()->tokenToNumber(symbol->declaringToken()));
        return false;
    }
    if (token->type() == DbToken::copyStatement) {
        const std::vector<DbIncludeRecord> &includes = pu()->includes();
        for (std::uint32_t include = 1; include < includes.size(); ++include) {
            if (includes[include].parent != token->include()
                || includes[include].copyLine != token->line())
                continue;
            for (std::uint32_t line = token->expandedLine(); line <= m_document->lineCount();
                 ++line)
                if (m_document->line(line).include == include)
                    return showLine(line);
        }
        return false;
    }
    if (token->type() == DbToken::procedureName) {
        // The paragraph or section whose name this is: its node starts with its name.
        const QString name = QString::fromStdString(token->text());
        for (std::uint32_t n = 1; n <= pu()->numberOfNodes(); ++n) {
            const DbNode *node = pu()->numberToNode(n);
            if ((node->kind() == DbNode::paragraph || node->kind() == DbNode::section)
                && name.compare(QString::fromStdString(node->name()), Qt::CaseInsensitive) == 0
                && node->firstToken() && node->firstToken() != token)
                return showToken(pu()->tokenToNumber(node->firstToken()));
        }
    }
    return false;
}

void KelBrowser::copySelection()
{
    const SourceView::Selection &selection = m_view->selection();
    if (selection.isEmpty())
        return;
    const QString line = QString::fromStdString(m_document->text(selection.line));
    QApplication::clipboard()->setText(
        selection.length > 0 ? line.mid(selection.column - 1, selection.length) : line);
}

bool KelBrowser::userEvent(IUserEvent &event)
{
    const auto p1 = static_cast<std::uint32_t>(event.parameter1());
    const auto p2 = static_cast<std::uint32_t>(event.parameter2());
    switch (event.eventId()) {
    case IEventTypes::canShowQuery: {
        const bool yes = canShow(p1, p2);
        event.setResult(yes ? 1 : 0);
        if (yes)
            m_lastQueriedToken = p1;
        return true;
    }
    case IEventTypes::findInSource: {
        if (p2 != puNumber())
            return true;
        const DbNode *node = pu()->numberToNode(p1);
        if (!node)
            return true;
        const DbToken *asked = pu()->numberToToken(m_lastQueriedToken);
        m_lastQueriedToken = 0;
        const DbToken *token = asked && pu()->tokenToNode(asked) == node ? asked
                                                                         : node->firstToken();
        if (token)
            showToken(pu()->tokenToNumber(token));
        return true;
    }
    default:
        return HostView::userEvent(event);
    }
}

void KelBrowser::followToken(DbPu &shown, std::uint32_t tokenNumber)
{
    if (&shown == pu())
        m_view->selectToken(tokenNumber,
                            SourceView::Placement::ifHidden,
                            SourceView::Origin::program);
}

void KelBrowser::reveal(const StartWindowData &request)
{
    if (request.token)
        showToken(pu()->tokenToNumber(request.token));
    else if (request.word2 != 0)
        showLine(request.word2);
    bringToFront();
}
