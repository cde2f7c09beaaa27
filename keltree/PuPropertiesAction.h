#pragma once

#include "XIAction.h"

#include <QPointer>

class TreeCnr;

/// The tree's action 0x6300: does nothing in this library (a derived view or host may give it a behaviour by overriding performAction()) and returns true.
/// Performed on a tree that has gone, it does nothing and returns false.
///
/// One instance at a time, bound to the tree most recently given to singleton(); the instance is
/// a child of that tree, so the tree's commands reach it and it goes with the tree.
class PuPropertiesAction : public XIAction
{
    Q_OBJECT

public:
    static constexpr unsigned long actionId = 0x6300;

    /// Deletes the existing instance, if any, and returns a new one bound to `tree`.
    static PuPropertiesAction *singleton(TreeCnr &tree);
    /// The instance made last; null when there is none (or its tree has gone).
    static PuPropertiesAction *instance();

    /// The tree the action works on; null when it has gone.
    TreeCnr *tree() const { return m_tree; }

    bool performAction() override;

protected:
    explicit PuPropertiesAction(TreeCnr &tree);

private:
    QPointer<TreeCnr> m_tree;
};
