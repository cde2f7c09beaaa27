#pragma once

#include <cstdint>
#include <string>

class DbPu;
class DbSymbol;
class DbToken;
class DbTreeInfo;

/// A syntax node of a program unit: the unit itself, a division, a section, a paragraph, a
/// sentence, a statement or a data description entry. Nodes nest through `parent()`; node 1 is
/// the unit and the only node without a parent. A node covers the tokens from `firstToken()` to
/// `lastToken()`; a token's owning node is the innermost node that covers it.
class DbNode final
{
public:
    enum Kind : std::uint8_t {
        programUnit = 0,
        division = 1,
        section = 2, ///< a section of the data or the procedure division
        paragraph = 3,
        sentence = 4,  ///< statements up to a separator period
        statement = 5, ///< one statement; conditional statements hold the statements they run
        dataEntry = 6  ///< a data description entry; subordinate entries nest in their group
    };

    Kind kind() const { return m_kind; }
    /// The division, section, paragraph or data name; a statement's verb; empty for sentences.
    const std::string &name() const { return m_name; }
    /// The enclosing node; null for the unit's node.
    DbNode *parent() const { return m_parent; }
    DbToken *firstToken() const { return m_firstToken; }
    DbToken *lastToken() const { return m_lastToken; }
    /// The data entry's symbol; null for other kinds.
    DbSymbol *symbol() const { return m_symbol; }
    /// The structure-tree record that stands for the node; null when it has none (sentences,
    /// statements and subordinate data entries have none).
    DbTreeInfo *treeInfo() const { return m_treeInfo; }
    DbPu *pPu() const { return m_pu; }
    /// The node's number in its unit (1..K), as `DbPu::nodeToNumber` gives it.
    std::uint32_t number() const { return m_number; }

private:
    friend class DbPu;

    std::string m_name;
    DbPu *m_pu = nullptr;
    DbNode *m_parent = nullptr;
    DbToken *m_firstToken = nullptr;
    DbToken *m_lastToken = nullptr;
    DbSymbol *m_symbol = nullptr;
    DbTreeInfo *m_treeInfo = nullptr;
    std::uint32_t m_number = 0;
    Kind m_kind = programUnit;
};
