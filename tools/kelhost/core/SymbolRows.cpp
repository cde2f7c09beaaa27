#include "SymbolRows.h"

#include "DbMark.h"
#include "DbNode.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"

#include <map>

namespace {

std::string upperCase(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

SymbolRows::SymbolRows(const DbPu &pu, Procedures procedures)
{
    const std::uint32_t count = pu.numberOfSymbols();
    m_symbolCount = count;
    m_rows.resize(count);
    for (std::uint32_t n = 1; n <= count; ++n) {
        const DbSymbol *symbol = pu.symbol(n);
        Row &row = m_rows[n - 1];
        row.symbol = symbol;
        std::uint32_t depth = 0;
        for (const DbSymbol *up = symbol->parent(); up && depth < 64; up = up->parent())
            ++depth;
        row.depth = depth;
    }
    for (std::uint32_t t = 1; t <= pu.numberOfTokens(); ++t) {
        const DbToken *token = pu.numberToToken(t);
        const DbSymbol *symbol = token->dataSymbol();
        // Only names refer: the entry's level number carries its item too.
        if (symbol && token->type() == DbToken::dataName && symbol->number() >= 1
            && symbol->number() <= count && symbol->declaringToken() != token)
            ++m_rows[symbol->number() - 1].references;
    }
    for (const DbMark &mark : pu.marks()) {
        if (mark.kind() != DbMark::dateField || !mark.symbol())
            continue;
        const std::uint32_t n = mark.symbol()->number();
        if (n < 1 || n > count)
            continue;
        std::string &text = m_rows[n - 1].dateField;
        if (text.empty())
            ++m_dateFields;
        else
            text += "; ";
        text += mark.text();
    }
    if (procedures == Procedures::left)
        return;
    // Sections and paragraphs, with the procedure-name tokens that name them.
    std::map<std::string, std::size_t> byName;
    for (std::uint32_t n = 1; n <= pu.numberOfNodes(); ++n) {
        const DbNode *node = pu.numberToNode(n);
        if (node->kind() != DbNode::section && node->kind() != DbNode::paragraph)
            continue;
        // Procedure division only: the data division's sections are no procedures.
        bool procedureDivision = false;
        for (const DbNode *up = node->parent(); up; up = up->parent())
            if (up->kind() == DbNode::division)
                procedureDivision = upperCase(up->name()).find("PROCEDURE") != std::string::npos;
        if (!procedureDivision)
            continue;
        Row row;
        row.procedure = node;
        row.depth = node->kind() == DbNode::paragraph && node->parent()
                            && node->parent()->kind() == DbNode::section
                        ? 1
                        : 0;
        byName.emplace(upperCase(node->name()), m_rows.size());
        m_rows.push_back(row);
    }
    for (std::uint32_t t = 1; t <= pu.numberOfTokens(); ++t) {
        const DbToken *token = pu.numberToToken(t);
        if (token->type() != DbToken::procedureName)
            continue;
        const auto found = byName.find(upperCase(token->text()));
        if (found == byName.end())
            continue;
        // The name in the paragraph's or section's own header is its declaration.
        const DbNode *declared = m_rows[found->second].procedure;
        if (declared->firstToken() != token && token->owningSyntaxNode() != declared)
            ++m_rows[found->second].references;
    }
}

int SymbolRows::rowOfSymbol(std::uint32_t number) const
{
    return number >= 1 && number <= m_symbolCount ? static_cast<int>(number - 1) : -1;
}
