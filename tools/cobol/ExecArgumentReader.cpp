#include "ExecArgumentReader.h"

#include "TokenCursor.h"

namespace cobol {

const LexToken &ExecArgumentReader::token(std::size_t index) const
{
    return index >= m_block.bodyBegin && index < m_block.bodyEnd ? m_tokens[index]
                                                                 : TokenCursor::endToken();
}

bool ExecArgumentReader::isPunct(std::size_t index, std::string_view text) const
{
    const LexToken &t = token(index);
    return t.kind == TokenKind::Punctuation && t.text() == text;
}

bool ExecArgumentReader::isWord(std::size_t index, std::string_view word) const
{
    return token(index).kind == TokenKind::Word && token(index).upper() == word;
}

std::size_t ExecArgumentReader::closing(std::size_t open) const
{
    int depth = 0;
    for (std::size_t i = open; i < m_block.bodyEnd; ++i) {
        if (isPunct(i, "("))
            ++depth;
        else if (isPunct(i, ")") && --depth == 0)
            return i;
    }
    diagnose(Diagnostic::Severity::Error,
             token(open).place,
             "Expected ')' to close this parenthesis in " + blockName() + ", found "
                 + (m_block.terminated ? "END-EXEC" : "the end of the block") + ".");
    return m_block.bodyEnd;
}

std::vector<Operand> ExecArgumentReader::operands(std::size_t first,
                                                  std::size_t last,
                                                  OperandRole role,
                                                  const std::string &option) const
{
    std::vector<Operand> result;
    TokenCursor cursor(m_tokens, first, std::min(last, m_block.bodyEnd));
    while (!cursor.atEnd()) {
        const std::size_t before = cursor.position();
        const std::size_t diagnostics = m_data.diagnostics.size();
        Operand op;
        if (!m_reader(cursor, op)) {
            cursor.setPosition(before + 1);
            continue;
        }
        if (cursor.position() == before)
            cursor.next();
        if (op.kind == OperandKind::Item && op.item == 0
            && m_data.diagnostics.size() > diagnostics) {
            // The reader's message speaks of data names; here the name is a host variable.
            Diagnostic &d = m_data.diagnostics.back();
            if (d.message.rfind("The data name ", 0) == 0) {
                // The precompiler would stop here; the analysis goes on without it.
                d.severity = Diagnostic::Severity::Error;
                d.message = "The host variable " + op.text + " in " + blockName()
                            + " is not declared.";
            }
        }
        op.role = op.kind == OperandKind::Item ? role : OperandRole::Source;
        op.option = option;
        result.push_back(std::move(op));
    }
    return result;
}

void ExecArgumentReader::diagnose(Diagnostic::Severity severity,
                                  const SourcePlace &place,
                                  std::string message) const
{
    m_data.diagnostics.push_back({severity, place, std::move(message)});
}

} // namespace cobol
