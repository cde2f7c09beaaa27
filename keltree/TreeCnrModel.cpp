#include "TreeCnrModel.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbTreeInfo.h"
#include "TreeNode.h"

TreeCnrModel::TreeCnrModel(QObject *parent)
    : QAbstractItemModel(parent)
{}

TreeCnrModel::~TreeCnrModel()
{
    clear();
}

void TreeCnrModel::clear()
{
    for (Entry &entry : m_entries)
        entry.node->release();
    m_entries.clear();
    m_topLevel.clear();
    m_entryOf.clear();
}

int TreeCnrModel::addEntry(DbTreeInfo &record, int parent, int row)
{
    TreeNode *node = TreeNode::acquire(record);
    const int entry = static_cast<int>(m_entries.size());
    if (!m_entryOf.try_emplace(node, entry).second) {
        // A record chain that leads back to a record already shown (a damaged table): show it
        // once only.
        node->release();
        return -1;
    }
    m_entries.push_back({node, parent, row, -1, 0});
    return entry;
}

void TreeCnrModel::addSubtrees(int first, Records records, std::size_t limit)
{
    // Breadth first: the children of each entry are appended together, so they lie side by side
    // and a row is found by adding it to the first child's entry.
    for (std::size_t at = static_cast<std::size_t>(first); at < m_entries.size(); ++at) {
        DbTreeInfo *record = m_entries[at].node->treeInfo();
        int row = 0;
        for (DbTreeInfo *child = record ? record->pLChild() : nullptr; child;
             child = child->pRSibling()) {
            if (records == Records::leaveOutDataDivision
                && child->kind() == DbTreeInfo::dataDivisionEntry)
                continue;
            if (m_entries.size() >= limit)
                return;
            const int entry = addEntry(*child, static_cast<int>(at), row);
            if (entry < 0)
                continue;
            if (row == 0)
                m_entries[at].firstChild = entry;
            ++row;
        }
        m_entries[at].childCount = row;
    }
}

void TreeCnrModel::buildProgramUnitTree(DbPu &pu)
{
    beginResetModel();
    clear();
    if (DbTreeInfo *unitRoot = pu.treeRoot()) {
        const int top = addEntry(*unitRoot, -1, 0);
        m_topLevel.push_back(top);
        addSubtrees(top, Records::all, pu.treeInfoTable().numberOfElements());
    }
    endResetModel();
}

void TreeCnrModel::buildExecutionUnitTree(DbEu &eu)
{
    beginResetModel();
    clear();
    const int top = addEntry(eu.treeRoot(), -1, 0);
    m_topLevel.push_back(top);
    std::size_t limit = 1;
    std::vector<DbTreeInfo *> unitRoots;
    for (std::uint32_t number = 1; number <= eu.numberOfUnits(); ++number) {
        DbPu *pu = eu.numberToPu(number);
        if (pu && pu->isLoaded() && pu->treeRoot()) {
            unitRoots.push_back(pu->treeRoot());
            limit += pu->treeInfoTable().numberOfElements();
        }
    }
    // The unit roots are the execution unit's children here: its own record lists none.
    int row = 0;
    const int firstUnit = static_cast<int>(m_entries.size());
    for (DbTreeInfo *unitRoot : unitRoots)
        if (addEntry(*unitRoot, top, row) >= 0)
            ++row;
    m_entries[top].firstChild = row > 0 ? firstUnit : -1;
    m_entries[top].childCount = row;
    if (row > 0)
        addSubtrees(firstUnit, Records::leaveOutDataDivision, limit);
    endResetModel();
}

TreeNode *TreeCnrModel::nodeAt(const QModelIndex &index) const
{
    const int entry = entryOf(index);
    return entry >= 0 ? m_entries[entry].node : nullptr;
}

QModelIndex TreeCnrModel::indexOf(const TreeNode *node) const
{
    const auto found = m_entryOf.find(node);
    if (found == m_entryOf.end())
        return {};
    return createIndex(m_entries[found->second].row, 0, quintptr(found->second));
}

bool TreeCnrModel::contains(const TreeNode *node) const
{
    return m_entryOf.contains(node);
}

TreeNode *TreeCnrModel::parentOf(const TreeNode *node) const
{
    const auto found = m_entryOf.find(node);
    if (found == m_entryOf.end())
        return nullptr;
    const int parent = m_entries[found->second].parent;
    return parent >= 0 ? m_entries[parent].node : nullptr;
}

TreeNode *TreeCnrModel::root() const
{
    return m_topLevel.empty() ? nullptr : m_entries[m_topLevel.front()].node;
}

int TreeCnrModel::entryOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    const auto entry = static_cast<std::size_t>(index.internalId());
    return entry < m_entries.size() ? static_cast<int>(entry) : -1;
}

QModelIndex TreeCnrModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column != 0)
        return {};
    if (!parent.isValid()) {
        if (row >= static_cast<int>(m_topLevel.size()))
            return {};
        return createIndex(row, 0, quintptr(m_topLevel[row]));
    }
    const int entry = entryOf(parent);
    if (entry < 0 || row >= m_entries[entry].childCount)
        return {};
    return createIndex(row, 0, quintptr(m_entries[entry].firstChild + row));
}

QModelIndex TreeCnrModel::parent(const QModelIndex &child) const
{
    const int entry = entryOf(child);
    if (entry < 0)
        return {};
    const int parent = m_entries[entry].parent;
    if (parent < 0)
        return {};
    return createIndex(m_entries[parent].row, 0, quintptr(parent));
}

int TreeCnrModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return static_cast<int>(m_topLevel.size());
    if (parent.column() != 0)
        return 0;
    const int entry = entryOf(parent);
    return entry >= 0 ? m_entries[entry].childCount : 0;
}

int TreeCnrModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool TreeCnrModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant TreeCnrModel::data(const QModelIndex &index, int role) const
{
    TreeNode *node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return node->displayText();
    default:
        return {};
    }
}

Qt::ItemFlags TreeCnrModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (rowCount(index) == 0)
        result |= Qt::ItemNeverHasChildren;
    return result;
}
