#include "InitialViewAction.h"

#include "KelresrcResourceIds.h"
#include "TreeCnr.h"

namespace {
QPointer<InitialViewAction> current;
}

InitialViewAction::InitialViewAction(TreeCnr &tree)
    : XIAction(actionId, {}, {}, &tree)
    , m_tree(&tree)
{
    setObjectName(QStringLiteral("InitialViewAction"));
    setTextsFromResources(KelRes::treeInitialViewCommand,
                          KelRes::flyOverFor(KelRes::treeInitialViewCommand));
}

InitialViewAction *InitialViewAction::singleton(TreeCnr &tree)
{
    delete current.data();
    current = new InitialViewAction(tree);
    return current;
}

InitialViewAction *InitialViewAction::instance()
{
    return current;
}

bool InitialViewAction::performAction()
{
    if (!m_tree)
        return false;
    m_tree->initialView();
    return true;
}
