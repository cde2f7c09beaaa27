#pragma once

#include <cstdint>
#include <string>

class DbEu;
class DbNode;
class DbPu;
class TreeNode;

/// A record of the structure tree. Each program unit has its own table of records
/// (`DbTreeInfoTable`): record 1 is the unit's root, below it its divisions, the sections and
/// paragraphs of the procedure division, and the sections and records of the data division.
/// The execution unit has one root record of its own (`DbEu::treeRoot`), the parent of every
/// unit's record 1; the execution-unit tree is built from the program-unit table, so that root
/// lists no children itself.
///
/// Kinds: the execution-unit tree leaves out records of kind `dataDivisionEntry` (3) with their
/// subtrees, so it shows the control structure of every unit; a unit's own tree shows all.
class DbTreeInfo final
{
public:
    enum Kind : std::uint8_t {
        root = 0,             ///< the execution unit's root, or a unit's record 1
        division = 1,         ///< IDENTIFICATION, ENVIRONMENT, DATA, PROCEDURE DIVISION
        procedure = 2,        ///< a section or paragraph of the procedure division
        dataDivisionEntry = 3 ///< a data-division section or a data record (level 01/77)
    };

    std::uint8_t kind() const { return m_kind; }
    /// The text a tree shows, e.g. "PROCEDURE DIVISION", "MAIN-LOGIC SECTION", "01 CUST-REC".
    const std::string &text() const { return m_text; }

    DbTreeInfo *pParent() const { return m_parent; }
    /// The first child (left-most); null for a leaf.
    DbTreeInfo *pLChild() const { return m_firstChild; }
    /// The next sibling to the right; null for the last child.
    DbTreeInfo *pRSibling() const { return m_nextSibling; }

    /// The tree node a view made for this record; a record has at most one. The database never
    /// reads or owns it. Set and read on the GUI thread only.
    void setTreeNode(TreeNode *node) { m_treeNode = node; }
    TreeNode *treeNode() const { return m_treeNode; }

    /// The syntax node the record stands for; null for the execution unit's root.
    DbNode *syntaxNode() const { return m_node; }
    /// The unit whose table holds the record; null for the execution unit's root.
    DbPu *pPu() const { return m_pu; }
    bool isEuRoot() const { return m_pu == nullptr; }
    /// The record's id in its unit's table (1..R); 0 for the execution unit's root.
    std::uint32_t id() const { return m_id; }

private:
    friend class DbPu;
    friend class DbEu;

    std::string m_text;
    DbPu *m_pu = nullptr;
    DbNode *m_node = nullptr;
    DbTreeInfo *m_parent = nullptr;
    DbTreeInfo *m_firstChild = nullptr;
    DbTreeInfo *m_nextSibling = nullptr;
    TreeNode *m_treeNode = nullptr;
    std::uint32_t m_id = 0;
    std::uint8_t m_kind = root;
};
