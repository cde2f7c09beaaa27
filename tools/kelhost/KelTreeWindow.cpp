#include "KelTreeWindow.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbToken.h"
#include "ExpandAllAction.h"
#include "ICurrentApplication.h"
#include "InitialViewAction.h"
#include "KelMouseClickHandler.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "StartWindowData.h"
#include "TreeCnr.h"
#include "TreeNode.h"
#include "XIToolBar.h"

#include <QMenu>

namespace {
constexpr int defaultWidth = 420;
constexpr int defaultHeight = 620;
} // namespace

KelTreeWindow::KelTreeWindow(const StartWindowData &request)
    : HostView(KelRes::treeViewName, request.puName.empty() ? nullptr : request.pu)
{
    setWindowTitle(ICurrentApplication::loadString(KelRes::hostTreeTitle).arg(objectName()));
    m_tree = pu() ? new TreeCnr(*pu(), this, this) : new TreeCnr(*eu(), this, this);
    setViewClient(m_tree);
    mouseClickHandler()->handleEventsFor(m_tree->viewport());

    connect(m_tree, &TreeCnr::userSelectedRecord, this, [this](DbTreeInfo *record) {
        if (m_following || !record)
            return;
        if (DbToken *start = TreeCnr::sourceToken(*record))
            if (DbPu *unit = start->pPu())
                passOn(*unit, unit->tokenToNumber(start), Coupling::selection);
    });

    QMenu *view = menu(KelRes::viewMenu);
    view->addAction(ExpandAllAction::singleton(*m_tree));
    view->addAction(InitialViewAction::singleton(*m_tree));
    addStandardCommands(KelRes::browserViewName);
    setScrollOnRequest(true);
    setRequestScroll(true);
    resize(defaultWidth, defaultHeight);
    registerWindow();
    reveal(request);
}

KelTreeWindow::~KelTreeWindow() = default;

QString KelTreeWindow::grabName() const
{
    return QStringLiteral("tree-") + objectName();
}

void KelTreeWindow::reveal(const StartWindowData &request)
{
    DbToken *token = request.token;
    if (!token && request.word2 != 0 && request.pu && request.pu->isLoaded())
        token = request.pu->firstTokenOnLine(request.word2);
    showToken(token);
    bringToFront();
}

bool KelTreeWindow::canShow(std::uint32_t tokenNumber, std::uint32_t unitNumber) const
{
    // The execution unit's tree shows every unit.
    return pu() ? HostView::canShow(tokenNumber, unitNumber)
                : eu()->numberToPu(unitNumber) != nullptr;
}

void KelTreeWindow::followToken(DbPu &unit, std::uint32_t tokenNumber)
{
    showToken(unit.numberToToken(tokenNumber));
}

void KelTreeWindow::showToken(DbToken *token)
{
    if (!token)
        return;
    m_following = true;
    m_tree->scrollTo(*token);
    m_following = false;
}

bool KelTreeWindow::b1DblClick(const QPoint &position)
{
    const QModelIndex index = m_tree->indexAt(position);
    TreeNode *node = m_tree->nodeAt(index.isValid() ? index : m_tree->currentIndex());
    if (!node)
        return false;
    DbToken *start = node->treeInfo() ? TreeCnr::sourceToken(*node->treeInfo()) : nullptr;
    if (!start)
        return false;
    findInSource(start->pPu(), start);
    return true;
}
