#pragma once

#include <cstdint>
#include <string>

class DbNode;
class DbPu;
class DbSymbol;

/// One token of a program unit: a word, literal, picture string, operator or comment of the
/// expanded source, in source order. Tokens are numbered 1..N within their unit
/// (`DbPu::tokenToNumber`); views exchange positions only as those numbers.
///
/// Comment lines (and `*>` comments) are tokens of type `comment`, one per comment line, so a
/// browser colours them like any other token; the words of a COPY statement are tokens of type
/// `copyStatement`. Neither ever names a data symbol.
class DbToken final
{
public:
    /// The ten browser token types, in this fixed order (the resource strings 0xC140 + type name
    /// them, and the browser preferences colour by them).
    enum Type : std::uint8_t {
        keyword = 0,        ///< reserved words and verbs
        dataName = 1,       ///< a data item's name, declared or referenced (also qualifiers)
        procedureName = 2,  ///< a section or paragraph name, declared or referenced
        literal = 3,        ///< alphanumeric, national and numeric literals
        comment = 4,        ///< a comment line or a `*>` comment
        picture = 5,        ///< a PICTURE character string
        levelNumber = 6,    ///< the level number of a data description entry
        copyStatement = 7,  ///< the words of a COPY statement
        operatorSymbol = 8, ///< arithmetic and relational operators, parentheses, period
        other = 9           ///< anything else (program and file names, index names, ...)
    };
    static constexpr unsigned typeCount = 10;

    Type type() const { return m_type; }
    const std::string &text() const { return m_text; }

    /// The include whose file holds the token: 0 for the program source, n for the n-th COPY
    /// (`DbPu::includeFile` gives its file).
    std::uint32_t include() const { return m_include; }
    /// Line and column of its first character in that file (1-based; columns after tab
    /// expansion).
    std::uint32_t line() const { return m_line; }
    std::uint32_t column() const { return m_column; }
    /// Characters the token spans on its line.
    std::uint32_t length() const { return m_length; }
    /// Line of the unit's expanded source that shows the token; 0 when unknown.
    std::uint32_t expandedLine() const { return m_expandedLine; }
    /// True when REPLACING produced the text (the place is that of the replaced text).
    bool isReplaced() const { return m_replaced; }

    /// Whether the token names a data item (a declaration, a reference, a qualifier).
    bool hasDataSymbol() const { return m_symbol != nullptr; }
    /// The data item the token names; null when `hasDataSymbol()` is false.
    DbSymbol *dataSymbol() const { return m_symbol; }
    /// The innermost syntax node that holds the token; every token of a loaded unit has one.
    DbNode *owningSyntaxNode() const { return m_node; }
    DbPu *pPu() const { return m_pu; }
    /// The token's number in its unit (1..N).
    std::uint32_t number() const { return m_number; }

private:
    friend class DbPu;

    std::string m_text;
    DbPu *m_pu = nullptr;
    DbSymbol *m_symbol = nullptr;
    DbNode *m_node = nullptr;
    std::uint32_t m_number = 0;
    std::uint32_t m_include = 0;
    std::uint32_t m_line = 0;
    std::uint32_t m_column = 0;
    std::uint32_t m_length = 0;
    std::uint32_t m_expandedLine = 0;
    Type m_type = other;
    bool m_replaced = false;
};
