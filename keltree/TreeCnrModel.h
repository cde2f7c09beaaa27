#pragma once

#include <QAbstractItemModel>

#include <unordered_map>
#include <vector>

class DbEu;
class DbPu;
class DbTreeInfo;
class TreeNode;

/// The model behind a tree control (TreeCnr): the structure-tree records of a program unit or of
/// an execution unit, one row per record, each row standing for the record's TreeNode.
///
/// The model is built in one pass over the records (breadth first, so that each node's children
/// lie side by side in one array) and holds only a few integers per row; the view asks it for
/// rows as they are shown, so no widget item is made per record and a tree of 100,000 records
/// builds and expands quickly. The records, and so the model, never change after building.
///
/// The model holds one use of every node it shows (TreeNode::acquire) and gives them back when
/// it goes.
class TreeCnrModel final : public QAbstractItemModel
{
    Q_OBJECT

public:
    /// Which records a tree shows.
    enum class Records {
        all,                 ///< every record (a program unit's tree)
        leaveOutDataDivision ///< leave records of kind 3 out, with their subtrees
    };

    explicit TreeCnrModel(QObject *parent = nullptr);
    ~TreeCnrModel() override;

    /// Builds the tree of one program unit: record 1 of its table at the top, with all records.
    void buildProgramUnitTree(DbPu &pu);
    /// Builds the tree of an execution unit: its root record at the top, under it the tree of
    /// each loaded program unit in the order of the unit table, leaving out records of kind 3.
    void buildExecutionUnitTree(DbEu &eu);

    /// The node shown at `index`; null for an invalid index.
    TreeNode *nodeAt(const QModelIndex &index) const;
    /// The index of `node`; invalid when this model does not show it.
    QModelIndex indexOf(const TreeNode *node) const;
    bool contains(const TreeNode *node) const;
    /// The parent node of `node` in this model; null for a top-level node or one not shown.
    TreeNode *parentOf(const TreeNode *node) const;
    /// The first top-level node; null for an empty tree.
    TreeNode *root() const;
    /// How many nodes the model shows.
    int nodeCount() const { return static_cast<int>(m_entries.size()); }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Entry
    {
        TreeNode *node = nullptr;
        int parent = -1;     ///< entry of the parent node; -1 at the top
        int row = 0;         ///< position among its siblings
        int firstChild = -1; ///< entry of the first child; the others follow it
        int childCount = 0;
    };

    void clear();
    int addEntry(DbTreeInfo &record, int parent, int row);
    /// Adds the children of every entry from `first` on, breadth first.
    void addSubtrees(int first, Records records, std::size_t limit);
    int entryOf(const QModelIndex &index) const;

    std::vector<Entry> m_entries;
    std::vector<int> m_topLevel; ///< entries at the top
    std::unordered_map<const TreeNode *, int> m_entryOf;
};
