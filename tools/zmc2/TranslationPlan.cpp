#include "TranslationPlan.h"

#include "AnalysisData.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool isProcedureNode(const cobol::AnalysisData &data, std::uint32_t node)
{
    for (int guard = 0; node != 0 && node <= data.nodes.size() && guard < 100; ++guard) {
        const cobol::ProgramNode &n = data.nodes[node - 1];
        if (n.kind == cobol::ProgramNode::Kind::Division)
            return n.name == "PROCEDURE";
        node = n.parent;
    }
    return false;
}

} // namespace

TranslationPlan TranslationPlan::of(const cobol::AnalysisData &data)
{
    TranslationPlan plan;
    for (const cobol::Statement &statement : data.statements) {
        if (statement.kind != cobol::StatementKind::Exec)
            continue;
        plan.blocks.emplace(Place{statement.place.include,
                                  statement.place.line,
                                  statement.place.column},
                            Block{statement.detail, isProcedureNode(data, statement.paragraph)});
        for (const cobol::Operand &op : statement.operands) {
            const Place place{op.place.include, op.place.line, op.place.column};
            switch (op.kind) {
            case cobol::OperandKind::Item: {
                const cobol::DataItem *item = data.item(op.item);
                if (!item || item->level == 88 || op.role == cobol::OperandRole::Column)
                    break;
                plan.arguments.emplace(place, item->level == 78 ? Pass::Content : Pass::Reference);
                break;
            }
            case cobol::OperandKind::Literal:
                if (op.role == cobol::OperandRole::Procedure
                    || op.role == cobol::OperandRole::Column || op.option == "INCLUDE")
                    break;
                // A name written as a bare word (a DL/I segment) is quoted; literals, numbers and
                // DFHRESP(...) stand as written.
                plan.arguments.emplace(place,
                                       !op.text.empty()
                                               && std::isalpha(
                                                   static_cast<unsigned char>(op.text.front()))
                                               && op.text.find_first_of("'\"(") == std::string::npos
                                           ? Pass::Quoted
                                           : Pass::Content);
                break;
            case cobol::OperandKind::Figurative:
                plan.arguments.emplace(place, Pass::Content);
                break;
            case cobol::OperandKind::Function:
                plan.arguments.emplace(place,
                                       op.text.rfind("ADDRESS OF", 0) == 0 ? Pass::Reference
                                                                           : Pass::Content);
                break;
            }
        }
    }
    for (const cobol::Include &include : data.includes)
        if (include.implicit)
            plan.implicitMembers.push_back(include.copybook);
    if (!plan.implicitMembers.empty())
        plan.includesToTranslate.insert(0);
    auto is = [](const std::string &text, std::string_view word) {
        return text.size() == word.size()
               && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
                      return std::toupper(static_cast<unsigned char>(a)) == b;
                  });
    };
    for (const cobol::Token &token : data.tokens)
        if (token.kind == cobol::TokenKind::Word
            && (is(token.text, "EXEC") || is(token.text, "DFHRESP") || is(token.text, "DFHVALUE")))
            plan.includesToTranslate.insert(token.place.include);
    return plan;
}
