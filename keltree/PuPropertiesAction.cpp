#include "PuPropertiesAction.h"

#include "KelresrcResourceIds.h"
#include "TreeCnr.h"

namespace {
QPointer<PuPropertiesAction> current;
}

PuPropertiesAction::PuPropertiesAction(TreeCnr &tree)
    : XIAction(actionId, {}, {}, &tree)
    , m_tree(&tree)
{
    setObjectName(QStringLiteral("PuPropertiesAction"));
    setTextsFromResources(KelRes::treePropertiesCommand,
                          KelRes::flyOverFor(KelRes::treePropertiesCommand));
}

PuPropertiesAction *PuPropertiesAction::singleton(TreeCnr &tree)
{
    delete current.data();
    current = new PuPropertiesAction(tree);
    return current;
}

PuPropertiesAction *PuPropertiesAction::instance()
{
    return current;
}

bool PuPropertiesAction::performAction()
{
    return m_tree != nullptr;
}
