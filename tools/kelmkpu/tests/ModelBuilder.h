#pragma once

#include "ProgramModel.h"

#include <string>
#include <utility>
#include <vector>

namespace kelmkpu::testing {

/// Builds small hand-made programs for the analyser tests: items are laid out one after another
/// in the current storage area; statements take item indexes.
class ModelBuilder
{
public:
    ModelBuilder() { model.files = {"PROG.cbl"}; }

    /// Starts a new storage area; items added afterwards go into it.
    std::uint32_t area(const std::string &name)
    {
        model.areas.push_back({name, 0, {}});
        m_next = 0;
        return static_cast<std::uint32_t>(model.areas.size() - 1);
    }

    std::uint32_t display(const std::string &name, std::uint32_t digits, std::int32_t scale = 0)
    {
        return add(name,
                   digits,
                   ItemCategory::NumericDisplay,
                   digits,
                   scale,
                   "9(" + std::to_string(digits) + ")");
    }
    std::uint32_t alnum(const std::string &name, std::uint32_t length)
    {
        return add(name,
                   length,
                   ItemCategory::Alphanumeric,
                   0,
                   0,
                   "X(" + std::to_string(length) + ")");
    }
    std::uint32_t packed(const std::string &name, std::uint32_t digits)
    {
        return add(name,
                   digits / 2 + 1,
                   ItemCategory::NumericPacked,
                   digits,
                   0,
                   "S9(" + std::to_string(digits) + ")");
    }
    std::uint32_t binary(const std::string &name, std::uint32_t digits, std::uint32_t length)
    {
        return add(name,
                   length,
                   ItemCategory::NumericBinary,
                   digits,
                   0,
                   "9(" + std::to_string(digits) + ")");
    }
    /// A group over the next `length` bytes; its children are added after it.
    std::uint32_t group(const std::string &name, std::uint32_t length)
    {
        const std::uint32_t index = add(name, length, ItemCategory::Group, 0, 0, "");
        model.items[index].elementary = false;
        m_next -= length;
        return index;
    }
    /// Skips `bytes` of the current area without an item.
    void skip(std::uint32_t bytes) { grow(bytes); }

    std::uint32_t include(const std::string &copybook, const std::string &qualifier)
    {
        model.files.push_back(copybook + ".cpy");
        model.includes.push_back(
            {copybook, qualifier, static_cast<std::uint32_t>(model.files.size() - 1), {}});
        m_include = static_cast<std::uint32_t>(model.includes.size() - 1);
        m_includeStart = m_next;
        return m_include;
    }
    void endInclude() { m_include = noIndex; }

    Operand op(std::uint32_t item, std::uint32_t refStart = 0, std::uint32_t refLength = 0)
    {
        Operand operand;
        operand.item = item;
        operand.refStart = refStart;
        operand.refLength = refLength;
        return operand;
    }

    void move(std::uint32_t from, std::uint32_t to)
    {
        statement(StatementKind::Move, "MOVE", {op(from), op(to)});
    }
    void moveOps(Operand from, Operand to) { statement(StatementKind::Move, "MOVE", {from, to}); }
    void compare(std::uint32_t a, std::uint32_t b)
    {
        statement(StatementKind::Compare, "IF", {op(a), op(b)});
    }
    void acceptDate(std::uint32_t to, AcceptForm form = AcceptForm::Date)
    {
        statement(StatementKind::AcceptDate,
                  "ACCEPT " + model.items[to].name + " FROM DATE",
                  {op(to)});
        model.statements.back().acceptForm = form;
    }
    void nonYear(std::uint32_t item)
    {
        statement(StatementKind::NonYearUse, "subscript " + model.items[item].name, {op(item)});
    }
    /// result = sum of sign * term; a literal term is left out.
    void compute(std::uint32_t result,
                 std::vector<std::pair<std::uint32_t, int>> terms,
                 bool linear = true)
    {
        statement(StatementKind::Arithmetic, "COMPUTE " + model.items[result].name, {op(result)});
        for (auto [item, sign] : terms)
            model.statements.back().terms.push_back({op(item), sign, linear});
    }

    ProgramModel model;

private:
    std::uint32_t add(const std::string &name,
                      std::uint32_t length,
                      ItemCategory category,
                      std::uint32_t digits,
                      std::int32_t scale,
                      const std::string &picture)
    {
        DataItem item;
        item.name = name;
        item.area = static_cast<std::uint32_t>(model.areas.size() - 1);
        item.offset = m_next;
        item.length = length;
        item.category = category;
        item.digits = digits;
        item.scale = scale;
        item.picture = picture;
        item.declared = {0, static_cast<std::uint32_t>(model.items.size() + 1), 8};
        if (m_include != noIndex) {
            item.include = m_include;
            item.canonicalOffset = m_next - m_includeStart;
            item.declared.file = model.includes[m_include].file;
        }
        model.items.push_back(item);
        grow(length);
        return static_cast<std::uint32_t>(model.items.size() - 1);
    }
    void grow(std::uint32_t bytes)
    {
        m_next += bytes;
        model.areas.back().size = std::max(model.areas.back().size, m_next);
    }
    void statement(StatementKind kind, const std::string &text, std::vector<Operand> operands)
    {
        Statement s;
        s.kind = kind;
        s.text = text;
        s.pos = {0, static_cast<std::uint32_t>(100 + model.statements.size()), 12};
        s.operands = std::move(operands);
        model.statements.push_back(std::move(s));
    }

    std::uint32_t m_next = 0;
    std::uint32_t m_include = noIndex;
    std::uint32_t m_includeStart = 0;
};

} // namespace kelmkpu::testing
