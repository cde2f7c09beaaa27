#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DbNode;
class DbPu;
class DbSymbol;

/// The rows of the "symbols used" list of a loaded program unit: every data item in declaration
/// order with how deep it lies in its record, how often the program refers to it (the tokens
/// that name it, beside its declaration) and, when the date-field analysis marked it, what it
/// found ("USED-AS-YEAR bytes 1-2"). With `Procedures::listed` the sections and paragraphs of
/// the procedure division follow, each with the references to its name.
class SymbolRows final
{
public:
    enum class Procedures { left, listed };

    struct Row
    {
        const DbSymbol *symbol = nullptr;  ///< null for a procedure's row
        const DbNode *procedure = nullptr; ///< the section or paragraph, for a procedure's row
        std::uint32_t depth = 0;           ///< 0 for a level-01/77 item
        std::uint32_t references = 0;      ///< tokens naming the item, its declaration not counted
        std::string dateField;             ///< empty when the analysis did not mark it
    };

    explicit SymbolRows(const DbPu &pu, Procedures procedures = Procedures::left);

    const std::vector<Row> &rows() const { return m_rows; }
    /// The number of items the analysis marked as date fields.
    std::uint32_t dateFieldCount() const { return m_dateFields; }
    /// The number of data items (their rows come first, in symbol order).
    std::uint32_t symbolCount() const { return m_symbolCount; }
    /// The row of symbol number `number` (1-based); -1 when none.
    int rowOfSymbol(std::uint32_t number) const;

private:
    std::vector<Row> m_rows;
    std::uint32_t m_dateFields = 0;
    std::uint32_t m_symbolCount = 0;
};
