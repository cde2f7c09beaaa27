#include "TreeNode.h"

#include "DbTreeInfo.h"
#include "TreeCnr.h"

TreeNode::TreeNode(DbTreeInfo &record)
    : m_treeInfo(&record)
    , m_displayText(QString::fromStdString(record.text()))
{
    record.setTreeNode(this);
}

TreeNode::~TreeNode()
{
    if (m_treeInfo && m_treeInfo->treeNode() == this)
        m_treeInfo->setTreeNode(nullptr);
    m_treeInfo = nullptr;
}

TreeNode *TreeNode::acquire(DbTreeInfo &record)
{
    TreeNode *node = record.treeNode();
    if (!node)
        node = new TreeNode(record);
    ++node->m_uses;
    return node;
}

void TreeNode::release()
{
    if (--m_uses <= 0)
        delete this;
}

std::string TreeNode::text() const
{
    return m_treeInfo ? m_treeInfo->text() : std::string();
}

void TreeNode::handleSelectedChange(TreeCnr *control, int selected)
{
    if (!control)
        return;
    if (selected) {
        control->dispatchNodeSelected(*this);
        return;
    }
    if (control->hasCollapsedAncestor(*this))
        TreeCnr::markSelectionLostByCollapse();
}

void TreeNode::handleTreeExpand(TreeCnr *control)
{
    if (control && control->currentNode() && control->isBelow(*control->currentNode(), *this))
        control->scrollToCurrentTreeNodeOrAncestor();
}

void TreeNode::handleTreeCollapse(TreeCnr *) {}
