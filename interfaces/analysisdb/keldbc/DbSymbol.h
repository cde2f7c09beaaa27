#pragma once

#include "DbCursor.h"

#include <cstdint>
#include <string>
#include <vector>

class DbPu;
class DbToken;

/// A data item of a program unit, with the attributes the data map, the details page and
/// `keldb` read. Symbols are numbered 1..S in declaration order within their unit.
///
/// Positions: `offset()` is the byte offset of the item's first byte from its record's first
/// byte (items inside an OCCURS describe their first occurrence); `displayText()` carries the
/// same position as a bit offset (offset * 8) in eight upper-case hexadecimal digits, the row
/// key of the data map ("00000050" is byte 10). Items without storage (level 78 constants, level
/// 88 condition names) have display texts that begin with "0E".
class DbSymbol final
{
public:
    /// Which related symbol `relatedSymbol` gives.
    enum Relation : unsigned {
        redefinesOrRenames = 0, ///< the REDEFINES object, or the first item a 66 entry renames
        dependingOnOrThru = 1,  ///< the OCCURS DEPENDING ON object, or a 66's THRU item
        conditionalVariable = 2 ///< for a level-88 entry: its conditional variable
    };
    static constexpr unsigned relationCount = 3;

    /// Walks the subordinate items of a symbol (group members and its level-88 entries) in
    /// declaration order.
    class ChildCursor final : public DbCursor<DbSymbol>
    {
    public:
        explicit ChildCursor(const DbSymbol &symbol)
            : DbCursor<DbSymbol>(std::span<DbSymbol *const>(symbol.m_children))
        {}
    };

    /// The symbol number as decimal text ("1", "2", ...).
    std::string sNumber() const { return std::to_string(m_number); }
    std::uint32_t number() const { return m_number; }

    std::uint32_t level() const { return m_level; }
    /// The data name, upper case; "FILLER" for unnamed entries.
    const std::string &name() const { return m_name; }
    /// The name qualified up to its record: "CUST-YY OF CUST-DATES OF CUST-REC".
    const std::string &longName() const { return m_longName; }
    DbPu *pPu() const { return m_pu; }

    /// The token that declares the item: its name, or its level number when it has none.
    DbToken *declaringToken() const { return m_declaringToken; }
    /// The enclosing group (for a level-88 entry: its conditional variable); null at level 01/77.
    DbSymbol *parent() const { return m_parent; }
    const std::vector<DbSymbol *> &children() const { return m_children; }
    /// The level-01/77 item the entry belongs to (itself for those).
    DbSymbol *record() const { return m_record; }
    /// True for level-01 and level-77 items: the items a data map shows as records.
    bool isRecordStart() const { return m_recordStart; }
    /// The item whose storage this one describes again: the REDEFINES object, or the first item
    /// a level-66 entry renames. Null when the item has storage of its own.
    DbSymbol *baseSymbol() const { return m_base; }
    bool hasBaseSymbol() const { return m_base != nullptr; }
    /// A related symbol; null when there is none.
    DbSymbol *relatedSymbol(Relation relation) const
    {
        return relation < relationCount ? m_related[relation] : nullptr;
    }
    bool hasRelatedSymbol(Relation relation) const { return relatedSymbol(relation) != nullptr; }

    bool isGroup() const { return m_group; }
    /// The OCCURS maximum (OCCURS n TIMES gives n); 0 when the item does not occur.
    std::uint32_t occurrences() const { return m_occursMax; }
    std::uint32_t occursMinimum() const { return m_occursMin; }
    bool hasOccurrences() const { return m_occursMax != 0; }

    std::uint64_t offset() const { return m_offset; }
    /// Bytes of one occurrence (groups with OCCURS DEPENDING ON at their maximum); 0 for 88/78.
    std::uint64_t length() const { return m_length; }
    const std::string &displayText() const { return m_displayText; }

    /// DISPLAY, BINARY, COMP-5, COMP-3, COMP-1, COMP-2, POINTER, INDEX or NATIONAL.
    const std::string &usage() const { return m_usage; }
    /// The PICTURE as written (upper case); empty for groups and items without one.
    const std::string &picture() const { return m_picture; }
    /// GROUP, ALPHANUMERIC, NUMERIC, NUMERIC-EDITED, ..., CONDITION (88), RENAMES (66).
    const std::string &category() const { return m_category; }
    /// The VALUE clause as written; empty when none.
    const std::string &value() const { return m_value; }
    /// FILE, WORKING-STORAGE, LOCAL-STORAGE, LINKAGE or OTHER.
    const std::string &storageArea() const { return m_area; }
    bool isSigned() const { return m_signed; }
    bool isSignSeparate() const { return m_signSeparate; }
    bool isSynchronized() const { return m_synchronized; }
    /// The include whose text declares the entry (0 = the program source) and the line of its
    /// level number in that include's file.
    std::uint32_t include() const { return m_include; }
    std::uint32_t line() const { return m_line; }

private:
    friend class DbPu;

    std::string m_name;
    std::string m_longName;
    std::string m_displayText;
    std::string m_usage;
    std::string m_picture;
    std::string m_category;
    std::string m_value;
    std::string m_area;
    std::vector<DbSymbol *> m_children;
    DbPu *m_pu = nullptr;
    DbToken *m_declaringToken = nullptr;
    DbSymbol *m_parent = nullptr;
    DbSymbol *m_record = nullptr;
    DbSymbol *m_base = nullptr;
    DbSymbol *m_related[relationCount] = {nullptr, nullptr, nullptr};
    std::uint64_t m_offset = 0;
    std::uint64_t m_length = 0;
    std::uint32_t m_number = 0;
    std::uint32_t m_level = 0;
    std::uint32_t m_occursMin = 0;
    std::uint32_t m_occursMax = 0;
    std::uint32_t m_include = 0;
    std::uint32_t m_line = 0;
    bool m_group = false;
    bool m_recordStart = false;
    bool m_signed = false;
    bool m_signSeparate = false;
    bool m_synchronized = false;
};
