#pragma once

#include <cstdint>
#include <string>

class DbSymbol;
class KelDataMapWindow;

/// One data item of a data map: a symbol of the unit with what the map draws and looks up.
///
/// - display text: the item's position as the symbol gives it, a bit offset in eight hexadecimal
///   digits ("00000050" is byte 10); a group whose own text reads "00000000" takes the text of
///   its first subordinate item that has storage.
/// - key: the number of the symbol's declaring token in its unit (0 when it has none); views
///   exchange positions as token numbers, so the key is how the map finds the item.
/// - related keys: the declaring-token numbers of the symbol's related symbols (REDEFINES or
///   RENAMES object, OCCURS DEPENDING ON object or THRU item, an 88's variable), 0 where none.
/// - column: the item's depth in its record, 1 for the record itself.
/// - expanded: whether the map shows the items below it; root: 1 for an item with storage of its
///   own, 0 for one that describes the storage of another again (REDEFINES, RENAMES).
/// - mark text: what the date-field analysis found for the item ("ALWAYS-YEAR bytes 1-2"),
///   empty when it found nothing (KelDataMapWindow::updateMarks sets it).
///
/// Std-only: the map's logic and layout are tested and measured without a window.
class KelDataMapItem final
{
public:
    /// Makes the item for `symbol`, drawn in `window` (may be null).
    explicit KelDataMapItem(DbSymbol &symbol, KelDataMapWindow *window = nullptr);

    DbSymbol &symbol() const { return *m_symbol; }
    KelDataMapWindow *window() const { return m_window; }
    const std::string &displayText() const { return *m_displayText; }
    const std::string &name() const;
    std::uint32_t key() const { return m_key; }
    /// The key of related symbol `relation` (DbSymbol::Relation); 0 when there is none.
    std::uint32_t relatedKey(unsigned relation) const
    {
        return relation < relatedCount ? m_related[relation] : 0;
    }
    /// The record the item belongs to; null when the item is a record itself.
    DbSymbol *ownerRecord() const { return m_ownerRecord; }
    /// The symbol's level number.
    std::uint32_t attribute() const { return m_attribute; }

    /// Whether the display text is a position (eight hexadecimal digits, not "0E...").
    bool hasPosition() const { return m_hasPosition; }
    /// The position the display text gives, in bits from the record's first byte.
    std::uint64_t bitOffset() const { return m_bitOffset; }
    /// The bits the item spans: its length times its occurrence count (at least one).
    std::uint64_t bitLength() const;
    /// Whether the item takes storage: not a level 88 or 78 entry, and its display text is a
    /// position.
    bool takesStorage() const;

    int expanded() const { return m_expanded; }
    void setExpanded(int expanded) { m_expanded = expanded ? 1 : 0; }
    int root() const { return m_root; }
    void setRoot(int root) { m_root = root ? 1 : 0; }
    std::uint32_t column() const { return m_column; }
    void setColumn(std::uint32_t column) { m_column = column; }
    const std::string &markText() const { return m_markText; }
    void setMarkText(std::string text) { m_markText = std::move(text); }
    bool isMarked() const { return !m_markText.empty(); }

    /// "OCCURS n TIMES" for an item that occurs; empty otherwise.
    std::string occursCaption() const;

    /// Whether `text` is a position: eight hexadecimal digits that do not begin with "0E".
    static bool parsePosition(const std::string &text, std::uint64_t &bits);

    static constexpr unsigned relatedCount = 3;

private:
    DbSymbol *m_symbol;
    /// The symbol's own display text, or that of the subordinate item a group takes its text
    /// from; symbols live as long as their unit, so the item keeps no copy.
    const std::string *m_displayText;
    KelDataMapWindow *m_window;
    std::uint32_t m_key = 0;
    std::uint32_t m_related[relatedCount] = {0, 0, 0};
    DbSymbol *m_ownerRecord = nullptr;
    std::uint32_t m_attribute = 0;
    std::uint64_t m_bitOffset = 0;
    bool m_hasPosition = false;
    int m_expanded = 0;
    int m_root = 1;
    std::uint32_t m_column = 1;
    std::string m_markText;
};
