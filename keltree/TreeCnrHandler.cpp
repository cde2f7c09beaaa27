#include "TreeCnrHandler.h"

#include "TreeCnr.h"
#include "TreeNode.h"

#include <QItemSelectionModel>

TreeCnrHandler::TreeCnrHandler(TreeCnr &control)
    : QObject(&control)
    , m_control(&control)
{
    connect(&control, &QTreeView::expanded, this, &TreeCnrHandler::expanded);
    connect(&control, &QTreeView::collapsed, this, &TreeCnrHandler::collapsed);
    if (QItemSelectionModel *selection = control.selectionModel())
        connect(selection,
                &QItemSelectionModel::selectionChanged,
                this,
                &TreeCnrHandler::selectionChanged);
}

TreeCnrHandler::~TreeCnrHandler() = default;

void TreeCnrHandler::detach()
{
    if (m_control) {
        disconnect(m_control, nullptr, this, nullptr);
        if (QItemSelectionModel *selection = m_control->selectionModel())
            disconnect(selection, nullptr, this, nullptr);
    }
    m_control = nullptr;
}

void TreeCnrHandler::selectionChanged(const QItemSelection &selected,
                                      const QItemSelection &deselected)
{
    if (!m_control)
        return;
    const QPointer<TreeCnr> control = m_control;
    for (const QModelIndex &index : deselected.indexes())
        if (TreeNode *node = control->nodeAt(index))
            node->handleSelectedChange(control, 0);
    for (const QModelIndex &index : selected.indexes()) {
        // A hook may close the control's window; stop when the control has gone.
        if (!control)
            return;
        if (TreeNode *node = control->nodeAt(index))
            node->handleSelectedChange(control, 1);
    }
}

void TreeCnrHandler::expanded(const QModelIndex &index)
{
    if (!m_control || m_control->changingAllExpansion())
        return;
    if (TreeNode *node = m_control->nodeAt(index))
        node->handleTreeExpand(m_control);
}

void TreeCnrHandler::collapsed(const QModelIndex &index)
{
    if (!m_control)
        return;
    TreeNode *node = m_control->nodeAt(index);
    if (!node)
        return;
    node->handleTreeCollapse(m_control);
    if (m_control->changingAllExpansion())
        return;
    const QModelIndex current = m_control->currentIndex();
    TreeNode *selected = m_control->nodeAt(current);
    if (selected && current.isValid() && m_control->selectionModel()->isSelected(current)
        && m_control->isBelow(*selected, *node))
        m_control->selectionHiddenByCollapse(index);
}
