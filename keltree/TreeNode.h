#pragma once

#include <QString>

#include <string>

class DbTreeInfo;
class TreeCnr;

/// The object a tree control (TreeCnr) shows for one structure-tree record (DbTreeInfo). A record
/// has at most one node, registered with it (DbTreeInfo::setTreeNode), and every control that
/// shows the record shows that same node: a program-unit tree and an execution-unit tree over
/// the same unit share their nodes.
///
/// A node lives as long as some control shows it: the controls acquire it when they are built
/// and release it when they go, and the last release deletes it and clears the record's pointer,
/// so a record never points to a node that has gone. Nodes are plain objects, not widgets: a
/// control shows them through its model, so a large tree costs one small object per record.
///
/// GUI thread only.
class TreeNode final
{
public:
    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;

    /// The node of `record`: its existing node, or a new one registered with the record. The
    /// caller holds one use of it until release().
    static TreeNode *acquire(DbTreeInfo &record);
    /// Gives up one use; the last one deletes the node.
    void release();

    /// The record the node stands for; null once the node is being deleted.
    DbTreeInfo *treeInfo() const { return m_treeInfo; }
    /// The record's text, read again from the record (empty when it has none).
    std::string text() const;
    /// The text the node shows: the record's text when the node was made.
    const QString &displayText() const { return m_displayText; }
    /// How many controls (or other holders) use the node.
    int useCount() const { return m_uses; }

    /// The control selected (`selected` non-zero) or deselected the node. A selection calls the
    /// control's selection hook; a deselection caused by collapsing an ancestor marks the
    /// selection as lost by collapse (TreeCnr::ignoreAcquiredSelections).
    void handleSelectedChange(TreeCnr *control, int selected);
    /// The control expanded the node: when the control's current node lies below it, the current
    /// node is shown again (it may have become visible).
    void handleTreeExpand(TreeCnr *control);
    /// The control collapsed the node; nothing to do.
    void handleTreeCollapse(TreeCnr *control);

private:
    explicit TreeNode(DbTreeInfo &record);
    ~TreeNode();

    DbTreeInfo *m_treeInfo;
    QString m_displayText;
    int m_uses = 0;
};
