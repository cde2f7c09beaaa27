#include "ExpandAllAction.h"

#include "KelresrcResourceIds.h"
#include "TreeCnr.h"

namespace {
QPointer<ExpandAllAction> current;
}

ExpandAllAction::ExpandAllAction(TreeCnr &tree)
    : XIAction(actionId, {}, {}, &tree)
    , m_tree(&tree)
{
    setObjectName(QStringLiteral("ExpandAllAction"));
    setTextsFromResources(KelRes::treeExpandAllCommand,
                          KelRes::flyOverFor(KelRes::treeExpandAllCommand));
}

ExpandAllAction *ExpandAllAction::singleton(TreeCnr &tree)
{
    delete current.data();
    current = new ExpandAllAction(tree);
    return current;
}

ExpandAllAction *ExpandAllAction::instance()
{
    return current;
}

bool ExpandAllAction::performAction()
{
    if (!m_tree)
        return false;
    m_tree->QTreeView::expandAll();
    return true;
}
