#pragma once

#include "DbTreeInfo.h"

#include <QPointer>
#include <QTreeView>

class DbEu;
class DbPu;
class DbToken;
class TreeCnrHandler;
class TreeCnrModel;
class TreeNode;

/// The structure tree of a program unit or of an execution unit: a tree control (QTreeView over
/// a TreeCnrModel) showing one TreeNode per structure-tree record (DbTreeInfo), in the system
/// font (DSFont::systemFont).
///
/// The control keeps a current node (the node the view considers current, e.g. the record of
/// the token another view selected), shows it or its nearest visible ancestor, collapses to an
/// initial view or expands everything, and tells its owner which selections it made itself:
///
/// - A host that follows another view calls scrollTo(token). The control puts its cursor on the
///   token's record, or on the nearest ancestor of it that is visible when the branch is
///   collapsed, and remembers the record's node as current: expanding the branch later shows it.
/// - A host that reacts to the user's choices connects userSelectedRecord(), emitted only for
///   selections the user made (never for those the control makes while showing a node, or when
///   a collapse moved the selection to the collapsed node); sourceToken() gives the first token
///   of the record's syntax node, to show it in a source view. A derived tree may override the
///   hook nodeSelected() instead.
///
/// Selections the control makes itself are "acquired": while it shows a node it sets the
/// class-wide setting ignoreAcquiredSelections() to true, and a node that loses its selection
/// because an ancestor was collapsed makes the next ignoreAcquiredSelections() return true once.
///
/// Commands (ICommandEvent) sent to the control run the registered action with that command id
/// (XIAction registry): its own actions ExpandAllAction, InitialViewAction and
/// PuPropertiesAction, made with their singleton(), have the control as parent.
///
/// Problems (a token without syntax node, a record without node in this control, a unit that
/// cannot be loaded) are shown as messages of the analysis database library (KelMsg); the view
/// does not move and nothing is thrown. GUI thread only.
class TreeCnr : public QTreeView
{
    Q_OBJECT

public:
    /// The control's window id.
    static constexpr unsigned long windowId = 0x5037;
    /// The source tag of the control's messages.
    static constexpr const char *sourceTag = "keltree";

    /// The tree of one program unit with all its records; the unit is loaded when it is not yet.
    TreeCnr(DbPu &pu, QWidget *parent = nullptr, QWidget *owner = nullptr);
    /// The tree of an execution unit: its root record, under it the tree of each program unit in
    /// the order of the unit table (units are loaded as needed), leaving out records of kind 3
    /// (the data division's sections and records) with their subtrees.
    TreeCnr(DbEu &eu, QWidget *parent = nullptr, QWidget *owner = nullptr);
    ~TreeCnr() override;

    /// The window given as owner (may be null).
    QWidget *owner() const { return m_owner; }
    TreeCnrModel *treeModel() const { return m_model; }

    /// The first top-level node (the unit's or the execution unit's root); null for an empty
    /// tree.
    TreeNode *root() const;
    /// The node the view considers current; changes only through the show operations.
    TreeNode *currentNode() const { return m_currentNode; }
    /// The node under the control's cursor (what the user sees highlighted); may be an ancestor
    /// of currentNode() in a collapsed branch.
    TreeNode *cursorNode() const;
    /// Whether this control shows `node`.
    bool contains(const TreeNode *node) const;
    QModelIndex indexOf(const TreeNode *node) const;
    TreeNode *nodeAt(const QModelIndex &index) const;

    /// Expands every node with repainting suspended, refreshes, and shows the current node.
    void expandAll();
    /// Collapses every node and expands the root only, with repainting suspended; refreshes and
    /// shows the current node (its nearest visible ancestor).
    void initialView();
    /// Makes the root the current node and shows it.
    void setInitialCursorPosition();
    /// Collapses every node, puts the cursor on the root and selects it alone; an acquired
    /// selection.
    void setInitialSelection();
    /// Switches repainting on (non-zero) or off, remembering the state in updateEnabled().
    void enableUpdate(int enable);
    int updateEnabled() const { return m_updateEnabled; }

    using QTreeView::scrollTo;
    /// Shows the record of `token`: the tree record of the nearest syntax node around it that has
    /// one, or the nearest of that record's ancestors that this control shows. Reports message
    /// 0xFE0C (KelMsg) when the token has no syntax node or no record of the chain is shown here.
    void scrollTo(DbToken &token);
    /// Makes `node` (null: the root) the current node and puts the cursor on it, or on its
    /// nearest visible ancestor when it lies in a collapsed branch, scrolling it into view. An
    /// acquired selection.
    void scrollToTreeNodeOrAncestor(TreeNode *node);
    /// Shows the current node the same way.
    void scrollToCurrentTreeNodeOrAncestor();

    /// Whether the selection being made should be ignored by the owner: true once after a node
    /// lost its selection because an ancestor was collapsed (the flag is cleared), otherwise the
    /// class-wide setting.
    static bool ignoreAcquiredSelections();
    /// Sets the class-wide setting (non-zero: true).
    static void setIgnoreAcquiredSelections(int ignore);

    /// Whether `node` lies below `ancestor` (strictly) in this control.
    bool isBelow(const TreeNode &node, const TreeNode &ancestor) const;
    /// Whether some ancestor of `node` is collapsed in this control (the node is hidden).
    bool hasCollapsedAncestor(const TreeNode &node) const;

    /// The first token of the syntax node `record` stands for: where the record begins in the
    /// source. Null for the execution unit's root and records without syntax node.
    static DbToken *sourceToken(const DbTreeInfo &record);

    /// Room for about 24 characters and 8 rows: smaller, the tree scrolls.
    QSize minimumSizeHint() const override;
    /// Room for about 40 characters and 25 rows.
    QSize sizeHint() const override;

signals:
    /// The user selected `record`'s node (not emitted for acquired selections).
    void userSelectedRecord(DbTreeInfo *record);

protected:
    /// Called with the node whenever a node becomes selected, by the user or by the control.
    /// The base asks ignoreAcquiredSelections() once and, unless the selection is to be ignored,
    /// emits userSelectedRecord(); a derived tree that overrides it decides itself.
    virtual void nodeSelected(TreeNode &node);

    bool event(QEvent *event) override;

private:
    friend class TreeNode;
    friend class TreeCnrHandler;

    explicit TreeCnr(QWidget *parent, QWidget *owner);
    void finishConstruction();
    void dispatchNodeSelected(TreeNode &node);
    /// The collapse of `node` hid the selected node: the selection moves to `node`.
    void selectionHiddenByCollapse(const QModelIndex &collapsed);
    void putCursorOn(const QModelIndex &index);
    static void markSelectionLostByCollapse();
    static bool loadUnit(DbPu &pu);
    /// Collapses or expands everything with the nodes' callbacks held back: the caller shows the
    /// current node afterwards.
    void changeAllExpansion(bool expand);
    bool changingAllExpansion() const { return m_changingAllExpansion; }

    QPointer<QWidget> m_owner;
    TreeCnrModel *m_model = nullptr;
    TreeCnrHandler *m_handler = nullptr;
    TreeNode *m_currentNode = nullptr;
    int m_updateEnabled = 1;
    bool m_changingAllExpansion = false;
};
