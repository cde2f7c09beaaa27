#include "TreeCnr.h"

#include "DSFont.h"
#include "DbEu.h"
#include "DbNode.h"
#include "DbPu.h"
#include "DbToken.h"
#include "DbTreeInfo.h"
#include "ICommandEvent.h"
#include "IEventTypes.h"
#include "KelMsg.h"
#include "KelMsgIds.h"
#include "TreeCnrHandler.h"
#include "TreeCnrModel.h"
#include "TreeNode.h"
#include "XIAction.h"

#include <QHeaderView>

#include <string>

namespace {

// Source lines the control's messages name (they identify the check that failed).
constexpr unsigned long tokenWithoutNodeLine = 477;
constexpr unsigned long euRootWithoutNodeLine = 443;
constexpr unsigned long recordWithoutNodeLine = 446;
constexpr unsigned long unitNotLoadedLine = 120;

int ignoreSelectionsSetting = 0;
bool lostByCollapse = false;

} // namespace

TreeCnr::TreeCnr(QWidget *parent, QWidget *owner)
    : QTreeView(parent)
    , m_owner(owner)
    , m_model(new TreeCnrModel(this))
{
    setObjectName(QStringLiteral("TreeCnr"));
    setProperty("windowId", QVariant::fromValue<qulonglong>(windowId));
    setFont(DSFont::systemFont());
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // One column as wide as its widest text, so that long texts scroll instead of being cut.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
}

TreeCnr::TreeCnr(DbPu &pu, QWidget *parent, QWidget *owner)
    : TreeCnr(parent, owner)
{
    loadUnit(pu);
    m_model->buildProgramUnitTree(pu);
    finishConstruction();
}

TreeCnr::TreeCnr(DbEu &eu, QWidget *parent, QWidget *owner)
    : TreeCnr(parent, owner)
{
    for (std::uint32_t number = 1; number <= eu.numberOfUnits(); ++number)
        if (DbPu *pu = eu.numberToPu(number))
            loadUnit(*pu);
    m_model->buildExecutionUnitTree(eu);
    finishConstruction();
}

TreeCnr::~TreeCnr()
{
    // The model gives its nodes back; nothing may call the selection hook meanwhile.
    if (m_handler)
        m_handler->detach();
    m_currentNode = nullptr;
}

bool TreeCnr::loadUnit(DbPu &pu)
{
    if (pu.load())
        return true;
    KelMsg::msg(sourceTag, unitNotLoadedLine, KelMsgId::unitNotLoaded, pu.puName(), pu.loadError());
    return false;
}

void TreeCnr::finishConstruction()
{
    setModel(m_model);
    setInitialCursorPosition();
    expand(indexOf(root()));
    m_handler = new TreeCnrHandler(*this);
    show();
}

TreeNode *TreeCnr::root() const
{
    return m_model->root();
}

TreeNode *TreeCnr::cursorNode() const
{
    return nodeAt(currentIndex());
}

bool TreeCnr::contains(const TreeNode *node) const
{
    return node && m_model->contains(node);
}

QModelIndex TreeCnr::indexOf(const TreeNode *node) const
{
    return m_model->indexOf(node);
}

TreeNode *TreeCnr::nodeAt(const QModelIndex &index) const
{
    return m_model->nodeAt(index);
}

void TreeCnr::enableUpdate(int enable)
{
    m_updateEnabled = enable ? 1 : 0;
    setUpdatesEnabled(m_updateEnabled != 0);
}

void TreeCnr::expandAll()
{
    const bool wasEnabled = m_updateEnabled != 0;
    if (wasEnabled)
        enableUpdate(0);
    changeAllExpansion(true);
    if (wasEnabled)
        enableUpdate(1);
    viewport()->update();
    scrollToCurrentTreeNodeOrAncestor();
}

void TreeCnr::initialView()
{
    const bool wasEnabled = m_updateEnabled != 0;
    if (wasEnabled)
        enableUpdate(0);
    changeAllExpansion(false);
    expand(indexOf(root()));
    if (wasEnabled)
        enableUpdate(1);
    viewport()->update();
    scrollToCurrentTreeNodeOrAncestor();
}

void TreeCnr::setInitialCursorPosition()
{
    m_currentNode = root();
    scrollToTreeNodeOrAncestor(m_currentNode);
}

void TreeCnr::setInitialSelection()
{
    const int saved = ignoreSelectionsSetting;
    ignoreSelectionsSetting = 1;
    changeAllExpansion(false);
    const QModelIndex rootIndex = indexOf(root());
    if (rootIndex.isValid() && selectionModel()) {
        selectionModel()->setCurrentIndex(rootIndex, QItemSelectionModel::ClearAndSelect);
    }
    ignoreSelectionsSetting = saved;
}

void TreeCnr::changeAllExpansion(bool expand)
{
    m_changingAllExpansion = true;
    if (expand)
        QTreeView::expandAll();
    else
        collapseAll();
    m_changingAllExpansion = false;
}

void TreeCnr::putCursorOn(const QModelIndex &index)
{
    if (!selectionModel())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    QTreeView::scrollTo(index, QAbstractItemView::EnsureVisible);
}

void TreeCnr::scrollToTreeNodeOrAncestor(TreeNode *node)
{
    if (!node)
        node = root();
    if (!contains(node))
        return;
    const int saved = ignoreSelectionsSetting;
    ignoreSelectionsSetting = 1;
    // The node to show is the topmost collapsed node on the way up (each node below a collapsed
    // one is hidden), or the node itself when every ancestor is expanded. QTreeView::scrollTo
    // would expand the branch instead; the view shows the ancestor and keeps the branch as the
    // user left it.
    QModelIndex shown = indexOf(node);
    for (QModelIndex up = shown.parent(); up.isValid(); up = up.parent())
        if (!isExpanded(up))
            shown = up;
    putCursorOn(shown);
    ignoreSelectionsSetting = saved;
    m_currentNode = node;
}

void TreeCnr::scrollToCurrentTreeNodeOrAncestor()
{
    scrollToTreeNodeOrAncestor(m_currentNode);
}

void TreeCnr::scrollTo(DbToken &token)
{
    DbNode *syntaxNode = token.owningSyntaxNode();
    if (!syntaxNode) {
        const std::uint32_t number = token.pPu() ? token.pPu()->tokenToNumber(&token)
                                                 : token.number();
        KelMsg::msg(sourceTag,
                    tokenWithoutNodeLine,
                    KelMsgId::consistencyCheck,
                    "Token should have owning node.  tokId=" + std::to_string(number));
        return;
    }
    DbTreeInfo *record = nullptr;
    for (DbNode *up = syntaxNode; up && !record; up = up->parent())
        record = up->treeInfo();
    DbTreeInfo *last = record;
    for (DbTreeInfo *up = record; up; up = up->pParent()) {
        last = up;
        if (contains(up->treeNode())) {
            scrollToTreeNodeOrAncestor(up->treeNode());
            return;
        }
    }
    if (last && last->isEuRoot()) {
        KelMsg::msg(sourceTag,
                    euRootWithoutNodeLine,
                    KelMsgId::consistencyCheck,
                    std::string("DbTreeInfo should have TreeNode.  treeInfoId=Eu root"));
        return;
    }
    const std::uint32_t id = last && last->pPu() ? last->pPu()->treeInfoTable().toId(last) : 0;
    KelMsg::msg(sourceTag,
                recordWithoutNodeLine,
                KelMsgId::consistencyCheck,
                "DbTreeInfo should have TreeNode.  treeInfoId=" + std::to_string(id));
}

bool TreeCnr::ignoreAcquiredSelections()
{
    if (lostByCollapse) {
        lostByCollapse = false;
        return true;
    }
    return ignoreSelectionsSetting != 0;
}

void TreeCnr::setIgnoreAcquiredSelections(int ignore)
{
    ignoreSelectionsSetting = ignore ? 1 : 0;
}

void TreeCnr::markSelectionLostByCollapse()
{
    lostByCollapse = true;
}

bool TreeCnr::isBelow(const TreeNode &node, const TreeNode &ancestor) const
{
    const QModelIndex target = indexOf(&ancestor);
    if (!target.isValid())
        return false;
    for (QModelIndex up = indexOf(&node).parent(); up.isValid(); up = up.parent())
        if (up == target)
            return true;
    return false;
}

bool TreeCnr::hasCollapsedAncestor(const TreeNode &node) const
{
    for (QModelIndex up = indexOf(&node).parent(); up.isValid(); up = up.parent())
        if (!isExpanded(up))
            return true;
    return false;
}

DbToken *TreeCnr::sourceToken(const DbTreeInfo &record)
{
    const DbNode *node = record.syntaxNode();
    return node ? node->firstToken() : nullptr;
}

QSize TreeCnr::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    return {metrics.averageCharWidth() * 24 + frame, (metrics.height() + 4) * 8 + frame};
}

QSize TreeCnr::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    return {metrics.averageCharWidth() * 40 + frame, (metrics.height() + 4) * 25 + frame};
}

void TreeCnr::dispatchNodeSelected(TreeNode &node)
{
    nodeSelected(node);
}

void TreeCnr::nodeSelected(TreeNode &node)
{
    if (!ignoreAcquiredSelections())
        emit userSelectedRecord(node.treeInfo());
}

void TreeCnr::selectionHiddenByCollapse(const QModelIndex &collapsed)
{
    // As a tree control does: the selection that the collapse hid moves to the collapsed node.
    // The hidden node's deselection marks the selection as lost by collapse, so the selection of
    // the collapsed node counts as acquired.
    if (selectionModel())
        selectionModel()->setCurrentIndex(collapsed, QItemSelectionModel::ClearAndSelect);
}

bool TreeCnr::event(QEvent *event)
{
    if (event->type() == IEventTypes::command) {
        auto *command = static_cast<ICommandEvent *>(event);
        if (XIAction *action = XIAction::find(command->commandId())) {
            action->performAction();
            command->setHandled();
            return true;
        }
        command->setHandled(false);
        return false;
    }
    return QTreeView::event(event);
}
